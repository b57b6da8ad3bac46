// The configuration dialog against real "Cfg" files in a temporary working directory: its layout
// and keyboard, what it shows for a record, what Ok writes back byte by byte, and that Cancel and
// the close box store nothing. Runs in a German locale, so numbers must keep their point.
#include "config/ConfigData.h"
#include "config/FormConfig.h"
#include "platform/FormFont.h"
#include "platform/FreeButton.h"
#include "platform/LimitEdit.h"
#include "platform/RadioGroup.h"
#include "LocaleFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <cstring>
#include <memory>

namespace {

constexpr const char *kHugeText =   // "%.3f" of 1e99
    "999999999999999967336168804116691273849533185806555472917961779471295845921727862608739868455469056.000";
constexpr const char *kLargestText =   // "%.3f" of -DBL_MAX
    "-179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878"
    "171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075"
    "868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026"
    "184124858368.000";

QByteArray cfgBytes()
{
    QFile file(QStringLiteral("Cfg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeCfg(const QByteArray &bytes)
{
    QFile file(QStringLiteral("Cfg"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray image()
{
    return QByteArray(reinterpret_cast<const char *>(ConfigData.Image()), TConfigData::kSize);
}

void putInt32(QByteArray &bytes, int offset, int32_t value)
{
    const auto u = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((u >> (8 * i)) & 0xFF);
}

void putDouble(QByteArray &bytes, int offset, double value)
{
    uint64_t u;
    std::memcpy(&u, &value, sizeof u);
    for (int i = 0; i < 8; ++i)
        bytes[offset + i] = char((u >> (8 * i)) & 0xFF);
}

int32_t int32In(const QByteArray &bytes, int offset)
{
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | uint8_t(bytes[offset + i]);
    return int32_t(u);
}

double doubleIn(const QByteArray &bytes, int offset)
{
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | uint8_t(bytes[offset + i]);
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// A file with something in every field, out-of-range choices and switch bytes among them, and
// bytes the program never writes that are not zero: Port "12" with stale bytes after its NUL,
// and the unused bytes 37-39 and 121-127.
QByteArray sampleFile()
{
    TConfigData c;
    c.SetPort("12");
    c.SetLine(9, -7, 1, 1);
    c.SetPolling(2);
    c.SetSimulation(7);
    c.SetSinglePackets(5);
    c.SetV(-5, 20, 1.23456, 2);
    c.SetA(0, 30, 0.25, 1);
    c.SetR(100, 3000, 2.0, 0);
    c.SetC(-20, 120, -1.5, 3);
    c.Save("Cfg");
    QByteArray bytes = cfgBytes();
    bytes[3] = 'Z';
    bytes[15] = 'Q';
    for (int i = 37; i <= 39; ++i)
        bytes[i] = char(0xA0 + i);
    for (int i = 121; i <= 127; ++i)
        bytes[i] = char(0x80 + i);
    writeCfg(bytes);
    return bytes;
}

int checkedButtons(const TRadioGroup *group)
{
    int n = 0;
    for (int i = 0; i < group->Count(); ++i)
        n += group->Button(i)->isChecked() ? 1 : 0;
    return n;
}

QTestEventList keys(const QString &text)
{
    QTestEventList events;
    events.addKeyClicks(text);
    return events;
}

QTestEventList keys(std::initializer_list<QKeyCombination> combinations)
{
    QTestEventList events;
    for (QKeyCombination c : combinations)
        events.addKeyClick(c.key(), c.keyboardModifiers());
    return events;
}

} // namespace

class TestFormConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void geometry_data();
    void geometry();
    void captions_data();
    void captions();
    void labels_data();
    void labels();
    void buttons();
    void radioItemsSpreadEvenly();
    void typingLimits_data();
    void typingLimits();
    void keysDoNotClose_data();
    void keysDoNotClose();
    void keyboardOrder();
    void radioGroupKeysAndSignals();

    void firstOpening();
    void okWithoutChanges();
    void choices_data();
    void choices();
    void port_data();
    void port();
    void integers_data();
    void integers();
    void multipliers_data();
    void multipliers();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void cancelKeepsWhatWasShown();

    void typing_data();
    void typing();

private:
    bool showForm();
    TLimitEdit *edit(const QString &name) const { return m_form->findChild<TLimitEdit *>(name); }

    GermanLocale m_locale;
    QString m_startDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFormConfig> m_form;
};

void TestFormConfig::initTestCase()
{
    QVERIFY2(m_locale.enter(), "cannot compile the de_DE locale (Debian package: locales)");
    m_startDir = QDir::currentPath();
}

void TestFormConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    ConfigData = TConfigData();
    m_form = std::make_unique<TFormConfig>();
    FormConfig = m_form.get();
}

void TestFormConfig::cleanup()
{
    FormConfig = nullptr;
    m_form.reset();
    QDir::setCurrent(m_startDir);
    m_dir.reset();
}

bool TestFormConfig::showForm()
{
    m_form->show();
    return QTest::qWaitForWindowActive(m_form.get());
}

void TestFormConfig::window()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Config"));
    QCOMPARE(m_form->objectName(), QStringLiteral("FormConfig"));
    QCOMPARE(m_form->windowType(), Qt::Dialog);
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint)));
    QVERIFY(!m_form->isSizeGripEnabled());
    QCOMPARE(m_form->font().pixelSize(), 11);
    QCOMPARE(m_form->font().families(), FormFontFamilies());
    QVERIFY(m_form->autoFillBackground());
    QCOMPARE(m_form->palette().color(QPalette::Window), m_form->palette().color(QPalette::Button));

    QVERIFY(showForm());
    QCOMPARE(m_form->size(), QSize(506, 209));
    QCOMPARE(m_form->minimumSize(), QSize(506, 209));
    QCOMPARE(m_form->maximumSize(), QSize(506, 209));
    m_form->resize(700, 400);
    QCOMPARE(m_form->size(), QSize(506, 209));
}

void TestFormConfig::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    const struct { const char *name, *parent; int x, y, w, h; } rows[] = {
        {"GroupBox1", "FormConfig", 0, 0, 177, 97},
        {"EditC1", "GroupBox1", 64, 20, 41, 21},
        {"CBSim", "GroupBox1", 12, 44, 93, 17},
        {"CBSingle", "GroupBox1", 12, 68, 93, 17},
        {"RGVelocita", "FormConfig", 0, 100, 73, 105},
        {"RGData", "FormConfig", 76, 100, 49, 53},
        {"RGstop", "FormConfig", 76, 156, 49, 49},
        {"RGParita", "FormConfig", 128, 100, 49, 105},
        {"RGPolling", "FormConfig", 180, 0, 89, 205},
        {"GroupBox2", "FormConfig", 272, 0, 233, 157},
        {"FBAnnulla", "FormConfig", 274, 160, 99, 45},
        {"FBOk", "FormConfig", 404, 160, 99, 45},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.parent) << QRect(r.x, r.y, r.w, r.h);
    // the channel grid
    const char tags[] = {'V', 'A', 'R', 'C'};
    const struct { const char *column; int left, width; } columns[] = {
        {"Min", 32, 37}, {"Max", 76, 37}, {"Mult", 120, 37}, {"Dec", 160, 17}};
    for (int row = 0; row < 4; ++row) {
        for (const auto &c : columns) {
            const QString name = QStringLiteral("Edit") + QLatin1Char(tags[row]) + QLatin1String(c.column);
            QTest::newRow(qPrintable(name)) << name << QStringLiteral("GroupBox2")
                                            << QRect(c.left, 44 + 24 * row, c.width, 21);
        }
    }
}

void TestFormConfig::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    QVERIFY(showForm());
    auto *w = m_form->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), rect);
    QVERIFY(w->isVisible());
}

void TestFormConfig::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("GroupBox1") << "GroupBox1" << "Communications" << QStringList();
    QTest::newRow("Label3") << "Label3" << "COM" << QStringList();
    QTest::newRow("CBSim") << "CBSim" << "Simulation" << QStringList();
    QTest::newRow("CBSingle") << "CBSingle" << "Single packets" << QStringList();
    QTest::newRow("RGVelocita") << "RGVelocita" << "Speed" << QStringList{"19200", "9600", "4800", "2400", "1200"};
    QTest::newRow("RGData") << "RGData" << "Bit" << QStringList{"7", "8"};
    QTest::newRow("RGstop") << "RGstop" << "Stop" << QStringList{"1", "2"};
    QTest::newRow("RGParita") << "RGParita" << "Parity" << QStringList{"N", "E", "O"};
    QTest::newRow("RGPolling") << "RGPolling" << "Sample time (s)" << QStringList{"1", "2", "5", "10", "30", "60"};
    QTest::newRow("GroupBox2") << "GroupBox2" << "Instruments" << QStringList();
    QTest::newRow("FBAnnulla") << "FBAnnulla" << "Cancel" << QStringList();
    QTest::newRow("FBOk") << "FBOk" << "Ok" << QStringList();
}

void TestFormConfig::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    auto *w = m_form->findChild<QWidget *>(name);
    QVERIFY(w);
    QString shown;
    if (auto *b = qobject_cast<TFreeButton *>(w))
        shown = b->Caption();
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        shown = g->title();
    else if (auto *c = qobject_cast<QCheckBox *>(w))
        shown = c->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
        shown = l->text();
    QCOMPARE(shown, caption);
    auto *group = qobject_cast<TRadioGroup *>(w);
    QCOMPARE(group ? group->Items() : QStringList(), items);
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(group->Button(i)->text(), items.at(i));
}

void TestFormConfig::labels_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("pos");
    QTest::newRow("COM") << "GroupBox1" << "COM" << QPoint(12, 24);
    QTest::newRow("Min") << "GroupBox2" << "Min" << QPoint(32, 28);
    QTest::newRow("Max") << "GroupBox2" << "Max" << QPoint(76, 28);
    QTest::newRow("Mult") << "GroupBox2" << "Mult" << QPoint(120, 28);
    QTest::newRow("Dec") << "GroupBox2" << "Dec" << QPoint(160, 28);
    QTest::newRow("ID") << "GroupBox2" << "ID" << QPoint(200, 32);
    QTest::newRow("V") << "GroupBox2" << "V" << QPoint(4, 48);
    QTest::newRow("A") << "GroupBox2" << "A" << QPoint(4, 72);
    QTest::newRow("R") << "GroupBox2" << "R" << QPoint(4, 96);
    QTest::newRow("C") << "GroupBox2" << "C" << QPoint(4, 120);
}

void TestFormConfig::labels()
{
    QFETCH(QString, parent);
    QFETCH(QString, text);
    QFETCH(QPoint, pos);
    auto *box = m_form->findChild<QGroupBox *>(parent);
    QVERIFY(box);
    QList<QLabel *> found;
    for (QLabel *l : box->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (l->text() == text)
            found << l;
    }
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->pos(), pos);
    QVERIFY(found.first()->width() >= found.first()->fontMetrics().horizontalAdvance(text));
}

void TestFormConfig::buttons()
{
    const struct { TFreeButton *button; QColor color; TFreeButton::TPicture picture; } rows[] = {
        {m_form->FBAnnulla, QColor(0x80, 0x00, 0x00), TFreeButton::TPicture::Cross},
        {m_form->FBOk, QColor(0x00, 0x80, 0x00), TFreeButton::TPicture::Tick},
    };
    for (const auto &r : rows) {
        QCOMPARE(r.button->DrawColor(), r.color);
        QCOMPARE(r.button->BackColor(), QColor(212, 208, 200));
        QCOMPARE(r.button->Picture(), r.picture);
        QCOMPARE(r.button->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(r.button->font().pixelSize(), 13);
        QCOMPARE(r.button->focusPolicy(), Qt::NoFocus);
    }
}

void TestFormConfig::radioItemsSpreadEvenly()
{
    // caption 13 high: the 105 - 14 - 4 pixels below it shared by five items
    QCOMPARE(TRadioGroup::ItemRect(QSize(73, 105), 13, 5, 0), QRect(8, 14, 63, 17));
    QCOMPARE(TRadioGroup::ItemRect(QSize(73, 105), 13, 5, 4), QRect(8, 82, 63, 17));
    QCOMPARE(TRadioGroup::ItemRect(QSize(73, 105), 13, 5, 5), QRect());
    QCOMPARE(TRadioGroup::ItemRect(QSize(73, 105), 13, 0, 0), QRect());

    for (TRadioGroup *g : {m_form->RGVelocita, m_form->RGData, m_form->RGstop, m_form->RGParita, m_form->RGPolling}) {
        const int captionHeight = g->fontMetrics().height();
        for (int i = 0; i < g->Count(); ++i) {
            const QRect r = g->Button(i)->geometry();
            QCOMPARE(r, TRadioGroup::ItemRect(g->size(), captionHeight, g->Count(), i));
            QVERIFY2(r.top() > captionHeight && r.bottom() < g->height(), qPrintable(g->objectName()));
            QVERIFY(r.height() >= g->Button(i)->fontMetrics().height());
        }
    }
}

void TestFormConfig::typingLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::newRow("EditC1") << "EditC1" << 1;
    for (const char *tag : {"V", "A", "R", "C"}) {
        const QString e = QStringLiteral("Edit") + QLatin1String(tag);
        QTest::newRow(qPrintable(e + "Min")) << e + "Min" << 5;
        QTest::newRow(qPrintable(e + "Max")) << e + "Max" << 5;
        QTest::newRow(qPrintable(e + "Mult")) << e + "Mult" << 7;
        QTest::newRow(qPrintable(e + "Dec")) << e + "Dec" << 1;
    }
}

void TestFormConfig::typingLimits()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    TLimitEdit *e = edit(name);
    QVERIFY(e);
    QCOMPARE(e->TypingLimit(), limit);
    // a cutting maxLength would lose program-set text
    QCOMPARE(e->maxLength(), QLineEdit().maxLength());
}

void TestFormConfig::keysDoNotClose_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("target");   // the dialog itself when empty
    QTest::newRow("Escape in the port edit") << int(Qt::Key_Escape) << 0 << "EditC1";
    QTest::newRow("Escape to the dialog") << int(Qt::Key_Escape) << 0 << "";
    QTest::newRow("Return in the port edit") << int(Qt::Key_Return) << 0 << "EditC1";
    QTest::newRow("Return on a check box") << int(Qt::Key_Return) << 0 << "CBSim";
    QTest::newRow("keypad Enter in a Mult edit") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "EditVMult";
    QTest::newRow("Return to the dialog") << int(Qt::Key_Return) << 0 << "";
}

void TestFormConfig::keysDoNotClose()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, target);
    QVERIFY(showForm());
    QWidget *w = target.isEmpty() ? m_form.get() : m_form->findChild<QWidget *>(target);
    QVERIFY(w);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(m_form->isVisible());
    QVERIFY(!QFile::exists(QStringLiteral("Cfg")));
}

void TestFormConfig::keyboardOrder()
{
    TConfigData c;
    c.SetLine(2, -7, 1, 0);   // Speed 4800, no parity shown
    c.Save("Cfg");
    QVERIFY(showForm());
    TFormConfig &f = *m_form;
    const QList<QWidget *> order = {
        f.EditC1, f.CBSim, f.CBSingle, f.RGVelocita, f.RGParita, f.RGData, f.RGstop, f.RGPolling,
        f.EditVMin, f.EditVMax, f.EditVMult, f.EditAMin, f.EditAMax, f.EditAMult,
        f.EditRMin, f.EditRMax, f.EditRMult, f.EditCMin, f.EditCMax, f.EditCMult,
        f.EditVDec, f.EditADec, f.EditRDec, f.EditCDec};
    QCOMPARE(QApplication::focusWidget(), f.EditC1);
    for (QWidget *expected : order) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        // a radio group is entered at its chosen item, or at its first when none is chosen
        if (auto *group = qobject_cast<TRadioGroup *>(focus->parentWidget())) {
            QCOMPARE(focus, group->Button(std::max(group->ItemIndex(), 0)));
            focus = group;
        }
        QCOMPARE(focus, expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), f.EditC1);   // round again
    QTest::keyClick(f.EditC1, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), f.EditCDec);
    QCOMPARE(f.RGVelocita->ItemIndex(), 2);
    QCOMPARE(f.RGParita->ItemIndex(), -1);
}

void TestFormConfig::radioGroupKeysAndSignals()
{
    QVERIFY(showForm());
    TRadioGroup *g = m_form->RGParita;
    QSignalSpy spy(g, &TRadioGroup::ItemIndexChanged);
    g->SetItemIndex(-1);
    QCOMPARE(checkedButtons(g), 0);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.takeFirst().value(0).toInt(), -1);
    g->SetItemIndex(-1);
    g->SetItemIndex(7);   // no item 7: the widget selects none, the dialog clamps before it asks
    QCOMPARE(spy.size(), 0);

    // with none chosen, the arrows start from the item that has the focus
    g->Button(0)->setFocus(Qt::TabFocusReason);
    const struct { Qt::Key key; int index; } steps[] = {
        {Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 0}, {Qt::Key_Up, 2}, {Qt::Key_Left, 1}};
    for (const auto &s : steps) {
        QTest::keyClick(QApplication::focusWidget(), s.key);
        QCOMPARE(g->ItemIndex(), s.index);
        QCOMPARE(QApplication::focusWidget(), g->Button(s.index));
        QCOMPARE(checkedButtons(g), 1);
    }
    QCOMPARE(spy.size(), 5);

    QTest::mouseClick(m_form->RGData->Button(1), Qt::LeftButton);
    QCOMPARE(m_form->RGData->ItemIndex(), 1);
    QCOMPARE(g->ItemIndex(), 1);   // the groups are independent
}

void TestFormConfig::firstOpening()
{
    QVERIFY(!QFile::exists(QStringLiteral("Cfg")));
    QVERIFY(showForm());
    TFormConfig &f = *m_form;
    QCOMPARE(f.EditC1->text(), QString());
    for (TRadioGroup *g : {f.RGVelocita, f.RGData, f.RGstop, f.RGParita, f.RGPolling}) {
        QCOMPARE(g->ItemIndex(), 0);
        QCOMPARE(checkedButtons(g), 1);
    }
    QCOMPARE(f.RGVelocita->Button(0)->text(), QStringLiteral("19200"));
    QVERIFY(!f.CBSim->isChecked());
    QVERIFY(!f.CBSingle->isChecked());
    for (TLimitEdit *e : f.GroupBox2->findChildren<TLimitEdit *>()) {
        const QString expected = e->objectName().endsWith(QLatin1String("Mult")) ? QStringLiteral("0.000")
                                                                                 : QStringLiteral("0");
        QCOMPARE(e->text(), expected);
    }
    QCOMPARE(image(), QByteArray(TConfigData::kSize, '\0'));
    QVERIFY(!QFile::exists(QStringLiteral("Cfg")));   // showing writes nothing
}

void TestFormConfig::okWithoutChanges()
{
    const QByteArray file = sampleFile();
    QVERIFY(showForm());
    TFormConfig &f = *m_form;
    QCOMPARE(f.EditC1->text(), QStringLiteral("12"));   // longer than the user may type
    QCOMPARE(f.RGVelocita->ItemIndex(), 4);
    QCOMPARE(f.RGParita->ItemIndex(), -1);
    QCOMPARE(checkedButtons(f.RGParita), 0);
    QCOMPARE(f.RGData->ItemIndex(), 1);
    QCOMPARE(f.RGstop->ItemIndex(), 1);
    QCOMPARE(f.RGPolling->ItemIndex(), 2);
    QVERIFY(f.CBSim->isChecked());
    QVERIFY(f.CBSingle->isChecked());
    const struct { TLimitEdit *edit; const char *text; } shown[] = {
        {f.EditVMin, "-5"}, {f.EditVMax, "20"}, {f.EditVMult, "1.235"}, {f.EditVDec, "2"},
        {f.EditAMin, "0"}, {f.EditAMax, "30"}, {f.EditAMult, "0.250"}, {f.EditADec, "1"},
        {f.EditRMin, "100"}, {f.EditRMax, "3000"}, {f.EditRMult, "2.000"}, {f.EditRDec, "0"},
        {f.EditCMin, "-20"}, {f.EditCMax, "120"}, {f.EditCMult, "-1.500"}, {f.EditCDec, "3"},
    };
    for (const auto &s : shown)
        QCOMPARE(s.edit->text(), QLatin1String(s.text));

    QTest::mouseClick(f.FBOk, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Accepted));

    // the file comes back as it was, but for what the controls could show
    QByteArray expected = file;
    putInt32(expected, TConfigData::oSpeed, 4);
    putInt32(expected, TConfigData::oParity, -1);
    expected[TConfigData::oSimulation] = 1;
    expected[TConfigData::oSinglePackets] = 1;
    putDouble(expected, TConfigData::oVMult, 1.235);
    QCOMPARE(cfgBytes(), expected);
    QCOMPARE(image(), expected);
}

void TestFormConfig::choices_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("speed in range") << "RGVelocita" << int(TConfigData::oSpeed) << 2 << 2;
    QTest::newRow("speed 9 as the last, 1200") << "RGVelocita" << int(TConfigData::oSpeed) << 9 << 4;
    QTest::newRow("parity -7 as none") << "RGParita" << int(TConfigData::oParity) << -7 << -1;
    QTest::newRow("parity -1 as none") << "RGParita" << int(TConfigData::oParity) << -1 << -1;
    QTest::newRow("parity just beyond") << "RGParita" << int(TConfigData::oParity) << 3 << 2;
    QTest::newRow("stop bits 2 as two") << "RGstop" << int(TConfigData::oStopBits) << 2 << 1;
    QTest::newRow("data bits largest") << "RGData" << int(TConfigData::oDataBits) << INT32_MAX << 1;
    QTest::newRow("polling last") << "RGPolling" << int(TConfigData::oPolling) << 5 << 5;
    QTest::newRow("polling 6 as 60 s") << "RGPolling" << int(TConfigData::oPolling) << 6 << 5;
    QTest::newRow("polling smallest as none") << "RGPolling" << int(TConfigData::oPolling) << INT32_MIN << -1;
}

void TestFormConfig::choices()
{
    QFETCH(QString, group);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QByteArray file(TConfigData::kSize, '\0');
    putInt32(file, offset, stored);
    writeCfg(file);
    auto *g = m_form->findChild<TRadioGroup *>(group);
    QVERIFY(g);
    g->SetItemIndex(1);   // a choice left from before must not survive the showing
    QCOMPARE(TFormConfig::ShownIndex(stored, g->Count()), shown);

    QVERIFY(showForm());
    QCOMPARE(g->ItemIndex(), shown);
    QCOMPARE(checkedButtons(g), shown < 0 ? 0 : 1);
    m_form->FBOkClick();
    QCOMPARE(int32In(cfgBytes(), offset), shown);   // Ok writes what was shown
}

void TestFormConfig::port_data()
{
    QTest::addColumn<QByteArray>("stored");   // the 16 bytes of the field
    QTest::addColumn<bool>("retype");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("written");
    const auto field = [](const char *bytes, int n) { return QByteArray(bytes, n).leftJustified(16, '\0'); };
    QTest::newRow("kept as shown") << field("12\0Z", 4) << false << "" << "12" << field("12\0Z", 4);
    QTest::newRow("emptied") << field("12\0Z", 4) << true << "" << "12" << field("\0" "2\0Z", 4);
    QTest::newRow("shorter over longer") << field("345", 3) << true << "9" << "345" << field("9\0" "5", 3);
    QTest::newRow("Latin-1 character") << field("", 0) << true << "\u00E9" << "" << field("\xE9", 1);
    QTest::newRow("cut to 15") << field("", 0) << true << "1234567890123456789" << ""
                               << field("123456789012345", 15);
    QTest::newRow("no NUL in the field") << QByteArray("ABCDEFGHIJKLMNOP") << false << "" << "ABCDEFGHIJKLMNO"
                                         << QByteArray("ABCDEFGHIJKLMNO\0", 16);
}

void TestFormConfig::port()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, retype);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QByteArray, written);
    writeCfg(stored + QByteArray(TConfigData::kSize - 16, '\0'));
    QVERIFY(showForm());
    QCOMPARE(m_form->EditC1->text(), shown);
    if (retype)
        m_form->EditC1->setText(typed);
    m_form->FBOkClick();
    QCOMPARE(cfgBytes().left(16), written);
}

void TestFormConfig::integers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::newRow("letters") << "EditVMin" << "abc" << int(TConfigData::oVMin) << 0;
    QTest::newRow("digits, then letters") << "EditVMin" << "12abc" << int(TConfigData::oVMin) << 12;
    QTest::newRow("leading space") << "EditAMin" << " 7" << int(TConfigData::oAMin) << 7;
    QTest::newRow("sign alone") << "EditRMin" << "-" << int(TConfigData::oRMin) << 0;
    QTest::newRow("five nines") << "EditCMin" << "99999" << int(TConfigData::oCMin) << 99999;
    QTest::newRow("negative Max") << "EditVMax" << "-1234" << int(TConfigData::oVMax) << -1234;
    QTest::newRow("plus sign") << "EditAMax" << "+30" << int(TConfigData::oAMax) << 30;
    QTest::newRow("point stops") << "EditCMax" << "1.5" << int(TConfigData::oCMax) << 1;
    QTest::newRow("wraps") << "EditRMax" << "4294967297" << int(TConfigData::oRMax) << 1;
    QTest::newRow("Dec 5") << "EditRDec" << "5" << int(TConfigData::oRDec) << 5;
    QTest::newRow("Dec empty") << "EditCDec" << "" << int(TConfigData::oCDec) << 0;
}

void TestFormConfig::integers()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, value);
    ConfigData.SetV(1, 1, 1.0, 1);
    ConfigData.SetC(1, 1, 1.0, 1);
    ConfigData.Save("Cfg");
    QVERIFY(showForm());
    edit(name)->setText(text);
    m_form->FBOkClick();
    QCOMPARE(int32In(image(), offset), value);
    QCOMPARE(int32In(cfgBytes(), offset), value);
}

void TestFormConfig::multipliers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");   // at the next showing
    QTest::newRow("comma is no point") << "EditVMult" << "1,5" << int(TConfigData::oVMult) << 1.0 << "1.000";
    QTest::newRow("exponent") << "EditAMult" << "2.5e1" << int(TConfigData::oAMult) << 25.0 << "25.000";
    QTest::newRow("empty") << "EditRMult" << "" << int(TConfigData::oRMult) << 0.0 << "0.000";
    QTest::newRow("letters") << "EditCMult" << "x1" << int(TConfigData::oCMult) << 0.0 << "0.000";
    QTest::newRow("negative") << "EditCMult" << "-0.125" << int(TConfigData::oCMult) << -0.125 << "-0.125";
    QTest::newRow("1e99 shown whole") << "EditVMult" << "1e99" << int(TConfigData::oVMult) << 1e99 << kHugeText;
    QTest::newRow("largest shown whole") << "EditAMult" << "-1.7976931348623157e308" << int(TConfigData::oAMult)
                                         << -DBL_MAX << kLargestText;
}

void TestFormConfig::multipliers()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QVERIFY(showForm());
    TLimitEdit *e = edit(name);
    e->setText(text);
    m_form->FBOkClick();
    QCOMPARE(doubleIn(cfgBytes(), offset), value);

    QVERIFY(showForm());
    QCOMPARE(e->text(), shown);
    QCOMPARE(e->cursorPosition(), 0);   // a long number shows its leading digits
    // a text shown whole reads back to the same number
    m_form->FBOkClick();
    QCOMPARE(doubleIn(cfgBytes(), offset), value);
}

void TestFormConfig::cancelStoresNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestFormConfig::cancelStoresNothing()
{
    QFETCH(bool, closeBox);
    const QByteArray file = sampleFile();
    ConfigData.SetPort("7");   // what the record held before: the showing replaces it
    ConfigData.SetV(1, 2, 3.0, 1);
    QVERIFY(showForm());
    TFormConfig &f = *m_form;
    f.EditC1->setText(QStringLiteral("9"));
    f.RGVelocita->SetItemIndex(3);
    f.RGParita->SetItemIndex(2);
    f.CBSim->setChecked(false);
    f.EditVMin->setText(QStringLiteral("77"));
    f.EditCMult->setText(QStringLiteral("8.5"));
    if (closeBox)
        f.close();
    else
        QTest::mouseClick(f.FBAnnulla, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Rejected));
    QCOMPARE(cfgBytes(), file);
    QCOMPARE(image(), file);
}

void TestFormConfig::cancelKeepsWhatWasShown()
{
    const QByteArray first = sampleFile();
    QVERIFY(showForm());
    TConfigData other;   // another program rewrites the file meanwhile
    other.SetPort("5");
    other.SetV(1, 2, 3.0, 1);
    other.Save("Cfg");
    const QByteArray second = cfgBytes();
    QTest::mouseClick(m_form->FBAnnulla, Qt::LeftButton);
    QCOMPARE(image(), first);
    QCOMPARE(cfgBytes(), second);

    QVERIFY(showForm());   // every showing reads the file again
    QCOMPARE(m_form->EditC1->text(), QStringLiteral("5"));
    QCOMPARE(image(), second);
}

void TestFormConfig::typing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("programText");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("expected");
    const QString longText = QStringLiteral("12345678901");   // Mult: limit 7
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier;
    QTest::newRow("port: a second character refused") << "EditC1" << "" << "" << keys("78") << "7";
    QTest::newRow("Min: five characters") << "EditVMin" << "" << "" << keys("123456") << "12345";
    QTest::newRow("Dec: one character") << "EditVDec" << "" << "" << keys("12") << "1";
    QTest::newRow("long program text whole") << "EditVMult" << longText << "" << QTestEventList() << longText;
    QTest::newRow("long text: typing refused") << "EditVMult" << longText << "" << keys({Qt::Key_End, Qt::Key_9})
                                               << longText;
    QTest::newRow("long text: Backspace") << "EditVMult" << longText << "" << keys({Qt::Key_Backspace})
                                          << "1234567890";
    QTest::newRow("long text: Backspace, then typing refused")
        << "EditVMult" << longText << "" << keys({Qt::Key_Backspace, Qt::Key_9}) << "1234567890";
    QTest::newRow("long text: Delete at the start") << "EditVMult" << longText << ""
                                                    << keys({Qt::Key_Home, Qt::Key_Delete}) << "2345678901";
    QTest::newRow("long text: selection replaced") << "EditVMult" << longText << ""
                                                   << keys({ctrl | Qt::Key_A, Qt::Key_5}) << "5";
    QTest::newRow("long text: undo, then typing refused")
        << "EditVMult" << longText << "" << keys({Qt::Key_Backspace, ctrl | Qt::Key_Z, Qt::Key_9}) << longText;
    QTest::newRow("long text: undo of one of two deletions, then typing refused")
        << "EditVMult" << longText << ""
        << keys({Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete, ctrl | Qt::Key_Z, Qt::Key_9}) << "1234567890";
    QTest::newRow("paste within the limit") << "EditVMin" << "1" << "234" << keys({ctrl | Qt::Key_V}) << "1234";
    QTest::newRow("paste past the limit refused") << "EditVMin" << "1" << "23456" << keys({ctrl | Qt::Key_V}) << "1";
    QTest::newRow("paste into a long text refused") << "EditVMult" << longText << "1" << keys({ctrl | Qt::Key_V})
                                                    << longText;
    QTest::newRow("paste over a long text") << "EditVMult" << longText << "42"
                                            << keys({ctrl | Qt::Key_A, ctrl | Qt::Key_V}) << "42";
}

void TestFormConfig::typing()
{
    QFETCH(QString, name);
    QFETCH(QString, programText);
    QFETCH(QString, clipboard);
    QFETCH(QTestEventList, events);
    QFETCH(QString, expected);
    QVERIFY(showForm());
    TLimitEdit *e = edit(name);
    e->setFocus();
    e->setText(programText);
    QGuiApplication::clipboard()->setText(clipboard);
    events.simulate(e);
    QCOMPARE(e->text(), expected);

    // the program may still set any text, and the user still may not lengthen it
    const QString longer(20, QLatin1Char('4'));
    e->setText(longer);
    QCOMPARE(e->text(), longer);
    QTest::keyClick(e, Qt::Key_5);
    QCOMPARE(e->text(), longer);
}

QTEST_MAIN(TestFormConfig)
#include "tst_formconfig.moc"
