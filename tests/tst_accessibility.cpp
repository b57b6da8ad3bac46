// What a screen reader finds in the main window and the dialog: roles, names, texts and values of
// every control, before and after a decoded line, the change events, and that acting through
// accessibility does what the mouse and keys do.
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "config/FormConfig.h"
#include "platform/Accessibility.h"
#include "platform/FreeButton.h"
#include "platform/iPlot.h"
#include "platform/iSlider.h"
#include "platform/PCheck.h"
#include "platform/StatusBar.h"
#include "platform/VrMatrix.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(QAccessible::Role)

namespace {

// One line of every channel, each reading inside its meter's range.
const QByteArray kLine = "V00012A00015R01800C00025";

// What the update handler saw.
struct SentEvent
{
    QAccessible::Event type;
    QAccessibleInterface *iface;
    QVariant value;     // ValueChanged
    QString inserted;   // TextUpdated
};

QList<SentEvent> g_sent;

void RecordEvent(QAccessibleEvent *event)
{
    SentEvent sent{event->type(), event->accessibleInterface(), QVariant(), QString()};
    if (event->type() == QAccessible::ValueChanged)
        sent.value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
    if (event->type() == QAccessible::TextUpdated)
        sent.inserted = static_cast<QAccessibleTextUpdateEvent *>(event)->textInserted();
    g_sent.append(sent);
}

QList<SentEvent> SentFor(QAccessibleInterface *iface, QAccessible::Event type)
{
    QList<SentEvent> found;
    for (const SentEvent &e : std::as_const(g_sent)) {
        if (e.iface == iface && e.type == type)
            found.append(e);
    }
    return found;
}

// Qt reports accessibility on only while a screen reader listens, which the offscreen platform
// never has; only the platform layer can switch it, as the desktop bridge does.
void SetAccessibilityActive(bool active)
{
    if (QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(active);
}

QString WholeText(QAccessibleInterface *iface)
{
    QAccessibleTextInterface *text = iface->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("<no text interface>");
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void roles_data();
    void roles();
    void readOuts_data();
    void readOuts();
    void meters_data();
    void meters();
    void statusPanels_data();
    void statusPanels();
    void statusPanelGeometry();
    void chart();

    void lineSendsChangeEvents();
    void readOutCharacterCells();
    void meterIsReadOnly();
    void meterNameFollowsCaption();
    void sliderValue_data();
    void sliderValue();
    void sliderStepMatchesArrowKey();
    void pressClearDataZeroesStatistics();
    void pressClearGraphEmptiesChart();
    void toggleEnableBox();

private:
    QAccessibleInterface *Interface(const QString &name) const;
    void ReceiveLine();

    std::unique_ptr<TFormMain> m_form;
    QAccessible::UpdateHandler m_previousHandler = nullptr;
};

void TestAccessibility::initTestCase()
{
    InstallAccessibility();
    InstallAccessibility();   // a second call must not install a second factory
}

void TestAccessibility::init()
{
    ClearStats();
    ConfigData = TConfigData();
    ConfigData.SetV(0, 0, 1.0, 0);
    ConfigData.SetA(0, 0, 1.0, 0);
    ConfigData.SetR(0, 0, 1.0, 0);
    ConfigData.SetC(0, 0, 1.0, 0);
    RxLine[0] = '\0';
    RxCount = 0;
    g_sent.clear();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
    // events reach a handler only while accessibility is on, as with a screen reader running
    m_previousHandler = QAccessible::installUpdateHandler(RecordEvent);
    SetAccessibilityActive(true);
    QVERIFY(QAccessible::isActive());
}

void TestAccessibility::cleanup()
{
    SetAccessibilityActive(false);
    QAccessible::installUpdateHandler(m_previousHandler);
    FormMain = nullptr;
    m_form.reset();
    g_sent.clear();
}

QAccessibleInterface *TestAccessibility::Interface(const QString &name) const
{
    auto *widget = m_form->findChild<QWidget *>(name);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

void TestAccessibility::ReceiveLine()
{
    const QByteArray bytes = kLine + '\r';
    RxAssemble(bytes.constData(), int32_t(bytes.size()), [this] { m_form->Parse(); });
}

void TestAccessibility::roles_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    const struct { bool dialog; const char *object; QAccessible::Role role; const char *name; } rows[] = {
        {false, "VMUnits", QAccessible::StaticText, "Units"},
        {false, "VMMax", QAccessible::StaticText, "Max"},
        {false, "VMMin", QAccessible::StaticText, "Min"},
        {false, "VMCurrent", QAccessible::StaticText, "Curr"},
        {false, "VMAve", QAccessible::StaticText, "Ave"},
        {false, "VMA", QAccessible::ProgressBar, "A"},
        {false, "VMV", QAccessible::ProgressBar, "V"},
        {false, "VMR", QAccessible::ProgressBar, "RPM"},
        {false, "VMC", QAccessible::ProgressBar, "C\u00B0"},
        {false, "S1", QAccessible::Slider, "Set-point"},
        {false, "PChA", QAccessible::CheckBox, "Enable A"},
        {false, "PChV", QAccessible::CheckBox, "Enable V"},
        {false, "PChR", QAccessible::CheckBox, "Enable RPM"},
        {false, "PChC", QAccessible::CheckBox, "Enable C"},
        {false, "FBClearD", QAccessible::Button, "Clear Data"},
        {false, "FBClearG", QAccessible::Button, "Clear Graph"},
        {false, "FreeButton1", QAccessible::Button, "Config"},
        {false, "SB1", QAccessible::StatusBar, ""},
        {false, "P1", QAccessible::Chart, "Chart"},
        {true, "FBOk", QAccessible::Button, "Ok"},
        {true, "FBAnnulla", QAccessible::Button, "Cancel"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.object) << r.dialog << QString::fromLatin1(r.object) << r.role << QString::fromUtf8(r.name);
}

void TestAccessibility::roles()
{
    QFETCH(bool, dialog);
    QFETCH(QString, object);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);

    std::unique_ptr<TFormConfig> config;
    QWidget *window = m_form.get();
    if (dialog) {
        config = std::make_unique<TFormConfig>();
        window = config.get();
    }
    auto *widget = window->findChild<QWidget *>(object);
    QVERIFY2(widget, qPrintable(object));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface && iface->isValid());
    QCOMPARE(iface->role(), role);
    QCOMPARE(iface->text(QAccessible::Name), name);
    // reachable from the window, as a screen reader walks the tree
    QAccessibleInterface *up = iface;
    while (up && up->object() != window)
        up = up->parent();
    QVERIFY(up);
}

void TestAccessibility::readOuts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    // the chooser is on V: the read-outs show its statistics; the minimum includes 0
    QTest::newRow("VMUnits") << "VMUnits" << "-" << "V";
    QTest::newRow("VMMax") << "VMMax" << "0" << "12";
    QTest::newRow("VMMin") << "VMMin" << "0" << "0";
    QTest::newRow("VMCurrent") << "VMCurrent" << "0" << "12";
    QTest::newRow("VMAve") << "VMAve" << "0" << "12";
}

void TestAccessibility::readOuts()
{
    QFETCH(QString, object);
    QFETCH(QString, before);
    QFETCH(QString, after);

    QAccessibleInterface *iface = Interface(object);
    QVERIFY(iface);
    auto *matrix = qobject_cast<TVrMatrix *>(iface->object());
    QVERIFY(matrix);
    QCOMPARE(WholeText(iface), before);
    QCOMPARE(iface->text(QAccessible::Value), before);
    QCOMPARE(iface->textInterface()->characterCount(), before.size());

    ReceiveLine();
    QCOMPARE(matrix->ShownText(), after);
    QCOMPARE(WholeText(iface), after);
    QCOMPARE(iface->text(QAccessible::Value), after);
}

void TestAccessibility::meters_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    // a needle rests at the nearer end to 0 of its scale
    QTest::newRow("VMA") << "VMA" << 0 << 30 << 0 << 15;
    QTest::newRow("VMV") << "VMV" << 0 << 20 << 0 << 12;
    QTest::newRow("VMR") << "VMR" << 0 << 3000 << 0 << 1800;
    QTest::newRow("VMC") << "VMC" << -20 << 120 << 0 << 25;
}

void TestAccessibility::meters()
{
    QFETCH(QString, object);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, before);
    QFETCH(int, after);

    QAccessibleInterface *iface = Interface(object);
    QVERIFY(iface);
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toInt(), min);
    QCOMPARE(value->maximumValue().toInt(), max);
    QCOMPARE(value->currentValue().toInt(), before);
    QCOMPARE(iface->text(QAccessible::Value), QString::number(before));

    ReceiveLine();
    QCOMPARE(qobject_cast<TVrMeter *>(iface->object())->Position(), after);
    QCOMPARE(value->currentValue().toInt(), after);
    QCOMPARE(iface->text(QAccessible::Value), QString::number(after));
}

void TestAccessibility::statusPanels_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString line = QString::fromLatin1(kLine);
    QTest::newRow("port") << 0 << "Port" << "..." << "...";
    QTest::newRow("V packet") << 1 << "V packet" << "0" << "0";
    QTest::newRow("A packet") << 2 << "A packet" << "1" << "1";
    QTest::newRow("R packet") << 3 << "R packet" << "2" << "2";
    QTest::newRow("C packet") << 4 << "C packet" << "3" << "3";
    QTest::newRow("P packet") << 5 << "P packet" << "4" << "4";
    QTest::newRow("line") << 6 << "Line" << "" << line;
}

void TestAccessibility::statusPanels()
{
    QFETCH(int, panel);
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, after);

    QAccessibleInterface *bar = Interface(QStringLiteral("SB1"));
    QVERIFY(bar);
    QCOMPARE(bar->childCount(), 7);
    QAccessibleInterface *iface = bar->child(panel);
    QVERIFY(iface && iface->isValid());
    QCOMPARE(iface->role(), QAccessible::StaticText);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->parent(), bar);
    QCOMPARE(bar->indexOfChild(iface), panel);
    QCOMPARE(bar->child(panel), iface);   // one interface per panel, kept
    QCOMPARE(iface->text(QAccessible::Value), before);
    QCOMPARE(WholeText(iface), before);

    ReceiveLine();
    QCOMPARE(m_form->SB1->PanelText(panel), after);
    QCOMPARE(iface->text(QAccessible::Value), after);
    QCOMPARE(WholeText(iface), after);
}

void TestAccessibility::statusPanelGeometry()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TStatusBar *sb = m_form->SB1;
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(sb);
    sb->SetPanelToolTip(0, QStringLiteral("COM1 is missing"));
    for (int i = 0; i < sb->PanelCount(); ++i) {
        const QRect local = sb->PanelRect(i, sb->width());
        const QRect screen(sb->mapToGlobal(local.topLeft()), local.size());
        QAccessibleInterface *panel = bar->child(i);
        QCOMPARE(panel->rect(), screen);
        QVERIFY(!panel->state().invisible);
        QCOMPARE(bar->childAt(screen.center().x(), screen.center().y()), panel);
    }
    QCOMPARE(bar->child(0)->text(QAccessible::Description), QStringLiteral("COM1 is missing"));
    QCOMPARE(bar->child(7), nullptr);
    QCOMPARE(bar->child(-1), nullptr);
}

void TestAccessibility::chart()
{
    QAccessibleInterface *iface = Interface(QStringLiteral("P1"));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("V, A, RPM, C"));
    // without a name from the window it still says what it is
    TiPlot bare;
    QCOMPARE(QAccessible::queryAccessibleInterface(&bare)->text(QAccessible::Name), QStringLiteral("Chart"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&bare)->text(QAccessible::Description), QString());
}

void TestAccessibility::lineSendsChangeEvents()
{
    struct Expect { TVrMatrix *matrix; const char *shown; };
    const Expect changed[] = {
        {m_form->VMUnits, "V"}, {m_form->VMMax, "12"}, {m_form->VMCurrent, "12"}, {m_form->VMAve, "12"},
    };
    g_sent.clear();
    ReceiveLine();

    for (const Expect &e : changed) {
        const QList<SentEvent> sent = SentFor(QAccessible::queryAccessibleInterface(e.matrix), QAccessible::TextUpdated);
        QVERIFY2(sent.size() == 1, qPrintable(e.matrix->objectName()));
        QCOMPARE(sent.first().inserted, QLatin1String(e.shown));
    }
    // a read-out whose text stays sends nothing
    QVERIFY(SentFor(QAccessible::queryAccessibleInterface(m_form->VMMin), QAccessible::TextUpdated).isEmpty());

    for (TVrMeter *meter : {m_form->VMA, m_form->VMV, m_form->VMR, m_form->VMC}) {
        const QList<SentEvent> sent = SentFor(QAccessible::queryAccessibleInterface(meter), QAccessible::ValueChanged);
        QVERIFY2(sent.size() == 1, qPrintable(meter->objectName()));
        QCOMPARE(sent.first().value.toInt(), meter->Position());
    }

    QAccessibleInterface *linePanel = QAccessible::queryAccessibleInterface(m_form->SB1)->child(6);
    const QList<SentEvent> sent = SentFor(linePanel, QAccessible::TextUpdated);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().inserted, QString::fromLatin1(kLine));
    QVERIFY(SentFor(QAccessible::queryAccessibleInterface(m_form->SB1)->child(5), QAccessible::TextUpdated).isEmpty());
}

void TestAccessibility::readOutCharacterCells()
{
    m_form->VMCurrent->SetText(QStringLiteral("12.5"));
    QAccessibleTextInterface *text = Interface(QStringLiteral("VMCurrent"))->textInterface();
    QCOMPARE(text->characterCount(), 4);
    QCOMPARE(text->text(1, 3), QStringLiteral("2."));
    QCOMPARE(text->text(2, 99), QStringLiteral(".5"));
    QCOMPARE(text->text(-3, 1), QStringLiteral("1"));
    // right-aligned: the last character is in the last cell
    const QSize size = m_form->VMCurrent->size();
    const QRect lastCell = TVrMatrix::CellRect(TVrMatrix::kCells - 1, size);
    const QRect firstShown = TVrMatrix::CellRect(TVrMatrix::kCells - 4, size);
    QCOMPARE(text->characterRect(3), QRect(m_form->VMCurrent->mapToGlobal(lastCell.topLeft()), lastCell.size()));
    QCOMPARE(text->characterRect(0).size(), firstShown.size());
    QCOMPARE(text->characterRect(4), QRect());
    QCOMPARE(text->offsetAtPoint(m_form->VMCurrent->mapToGlobal(firstShown.center())), 0);
    QCOMPARE(text->offsetAtPoint(m_form->VMCurrent->mapToGlobal(lastCell.center())), 3);
    const QRect blank = TVrMatrix::CellRect(0, size);
    QCOMPARE(text->offsetAtPoint(m_form->VMCurrent->mapToGlobal(blank.center())), -1);
    QCOMPARE(text->selectionCount(), 0);
}

void TestAccessibility::meterIsReadOnly()
{
    QAccessibleInterface *iface = Interface(QStringLiteral("VMR"));
    QVERIFY(iface->state().readOnly);
    QSignalSpy moved(m_form->VMR, &TVrMeter::PositionChanged);
    iface->valueInterface()->setCurrentValue(1500);
    QCOMPARE(m_form->VMR->Position(), 0);
    QCOMPARE(moved.count(), 0);
    // a range change that moves the needle is a value change too
    m_form->VMR->SetPosition(2000);
    g_sent.clear();
    m_form->VMR->SetMaxValue(1000);
    const QList<SentEvent> sent = SentFor(iface, QAccessible::ValueChanged);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().value.toInt(), 1000);
    QCOMPARE(iface->valueInterface()->maximumValue().toInt(), 1000);
}

void TestAccessibility::meterNameFollowsCaption()
{
    TVrMeter meter;
    meter.SetCaption(QStringLiteral("Bar"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&meter);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Bar"));
    meter.SetCaption(QStringLiteral("kPa"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("kPa"));
    meter.setAccessibleName(QStringLiteral("Pressure"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Pressure"));
}

void TestAccessibility::sliderValue_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<QVariant>("set");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("changes");
    QTest::newRow("inside") << 41.0 << QVariant(42) << 42.0 << 1;
    QTest::newRow("fraction") << 10.0 << QVariant(12.5) << 12.5 << 1;
    QTest::newRow("above the end") << 50.0 << QVariant(150) << 100.0 << 1;
    QTest::newRow("below the start") << 50.0 << QVariant(-5) << 0.0 << 1;
    QTest::newRow("unchanged") << 42.0 << QVariant(42.0) << 42.0 << 0;
    QTest::newRow("numeric text") << 10.0 << QVariant(QStringLiteral("20")) << 20.0 << 1;
    QTest::newRow("not a number text") << 10.0 << QVariant(QStringLiteral("abc")) << 10.0 << 0;
    QTest::newRow("NaN") << 10.0 << QVariant(std::nan("")) << 10.0 << 0;
}

void TestAccessibility::sliderValue()
{
    QFETCH(double, start);
    QFETCH(QVariant, set);
    QFETCH(double, expected);
    QFETCH(int, changes);

    TiSlider *slider = m_form->S1;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(slider);
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), 100.0);
    QCOMPARE(value->minimumStepSize().toDouble(), 1.0);
    slider->SetPosition(start);
    g_sent.clear();
    QSignalSpy changed(slider, &TiSlider::PositionChange);

    value->setCurrentValue(set);
    QCOMPARE(slider->Position(), expected);
    QCOMPARE(value->currentValue().toDouble(), expected);
    QCOMPARE(changed.count(), changes);
    const QList<SentEvent> sent = SentFor(iface, QAccessible::ValueChanged);
    QCOMPARE(sent.size(), changes);
    if (changes)
        QCOMPARE(sent.first().value.toDouble(), expected);
}

void TestAccessibility::sliderStepMatchesArrowKey()
{
    TiSlider *slider = m_form->S1;
    QAccessibleValueInterface *value = QAccessible::queryAccessibleInterface(slider)->valueInterface();
    QSignalSpy changed(slider, &TiSlider::PositionChange);

    slider->SetPosition(41);
    QTest::keyClick(slider, Qt::Key_Right);
    const double byKey = slider->Position();
    slider->SetPosition(41);
    changed.clear();
    value->setCurrentValue(value->currentValue().toDouble() + value->minimumStepSize().toDouble());
    QCOMPARE(slider->Position(), byKey);
    QCOMPARE(changed.count(), 1);

    // a disabled slider takes no keys, nor a value
    slider->setEnabled(false);
    value->setCurrentValue(60);
    QCOMPARE(slider->Position(), byKey);
}

void TestAccessibility::pressClearDataZeroesStatistics()
{
    ReceiveLine();
    QCOMPARE(Stats.Count[chV], 1);
    QAccessibleInterface *iface = Interface(QStringLiteral("FBClearD"));
    QAccessibleActionInterface *action = iface->actionInterface();
    QVERIFY(action);
    QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicked(m_form->FBClearD, &TFreeButton::clicked);

    action->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicked.count(), 1);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], 0);
        QCOMPARE(Stats.Current[ch], 0.0);
    }
    QCOMPARE(WholeText(Interface(QStringLiteral("VMCurrent"))), QStringLiteral("0"));
    QCOMPARE(WholeText(Interface(QStringLiteral("VMMax"))), QStringLiteral("0"));
    // the button keeps out of the keyboard's way
    QCOMPARE(m_form->FBClearD->focusPolicy(), Qt::NoFocus);
    QVERIFY(!m_form->FBClearD->hasFocus());
}

void TestAccessibility::pressClearGraphEmptiesChart()
{
    ReceiveLine();
    QCOMPARE(m_form->P1->GetChannel(0)->Count(), 1);
    QSignalSpy clicked(m_form->FBClearG, &TFreeButton::clicked);
    Interface(QStringLiteral("FBClearG"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicked.count(), 1);
    for (int ch = 0; ch < m_form->P1->ChannelCount(); ++ch)
        QCOMPARE(m_form->P1->GetChannel(ch)->Count(), 0);
}

void TestAccessibility::toggleEnableBox()
{
    QAccessibleInterface *iface = Interface(QStringLiteral("PChR"));
    QVERIFY(iface->state().checkable);
    QVERIFY(iface->state().checked);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!m_form->PChR->Checked());
    QVERIFY(!iface->state().checked);
    // and the chart takes no more rpm points
    ReceiveLine();
    QCOMPARE(m_form->P1->GetChannel(2)->Count(), 0);
    QCOMPARE(m_form->P1->GetChannel(0)->Count(), 1);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
