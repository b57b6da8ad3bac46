// The main window: its controls as laid out, and received lines through the receive handler and
// the decoder into the registers, meters, chart, status bar and statistics panel.
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "platform/ComboBox.h"
#include "platform/ComPort.h"
#include "platform/FreeButton.h"
#include "platform/iPlot.h"
#include "platform/iSlider.h"
#include "platform/PCheck.h"
#include "platform/StatusBar.h"
#include "platform/VrMatrix.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"
#include "Fixtures.h"
#include "PtyFixture.h"

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestFormMain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void geometry_data();
    void geometry();
    void controlSettings();
    void statusBar();
    void tabOrder();
    void scrollsWhenSmaller();

    void singlePacket_data();
    void singlePacket();
    void multiField_data();
    void multiField();
    void enableBoxesGateChartPoints();
    void needlePinnedAtRangeEnd();
    void damagedFramingSwitch();
    void longLineDecodesFirst255();
    void multipliersAndFramingFollowTheRecord();

    void display_data();
    void display();
    void chooserShowsAtNextRefresh();
    void chooserWithoutItemKeepsPanel();

    void byteStreamsThroughPort_data();
    void byteStreamsThroughPort();

private:
    // Bytes as the port would hand them to the receive assembly, ended by a carriage return.
    void receive(const QByteArray &line);
    int chartPoints(int channel) const { return m_form->P1->GetChannel(channel)->Count(); }

    std::unique_ptr<TFormMain> m_form;
};

void TestFormMain::init()
{
    ResetRecords();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
}

void TestFormMain::cleanup()
{
    FormMain = nullptr;
    m_form.reset();
}

void TestFormMain::receive(const QByteArray &line)
{
    const QByteArray bytes = line + '\r';
    RxAssemble(bytes.constData(), int32_t(bytes.size()), [this] { m_form->Parse(); });
}

void TestFormMain::window()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Rotavolt recorder"));
    QCOMPARE(m_form->size(), QSize(792, 573));
    QVERIFY(m_form->menuWidget() == nullptr);
    QVERIFY(!m_form->TimerPolling->isActive());
    QCOMPARE(m_form->TimerPolling->interval(), 500);
    QVERIFY(!m_form->TimerSleep->isActive());
    QVERIFY(!m_form->CP1->Connected());
    QCOMPARE(m_form->CP1->Port(), QStringLiteral("COM1"));
    QCOMPARE(m_form->CP1->BaudRate(), br1200);
    QCOMPARE(m_form->CP1->DataBits(), dbSeven);
    QCOMPARE(m_form->CP1->StopBits(), sbTwoStopBits);
    QCOMPARE(m_form->CP1->ParityBits(), prNone);
}

void TestFormMain::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    const struct { const char *name; int x, y, w, h; } rows[] = {
        {"P1", 4, 4, 785, 373},
        {"VMA", 148, 380, 160, 97}, {"VMV", 308, 380, 160, 97},
        {"VMR", 468, 380, 160, 97}, {"VMC", 628, 380, 160, 97},
        {"PChA", 148, 480, 97, 19}, {"PChV", 308, 480, 97, 19},
        {"PChR", 468, 480, 97, 19}, {"PChC", 628, 480, 97, 19},
        {"VMUnits", 4, 388, 114, 30}, {"VMMax", 4, 420, 114, 30}, {"VMMin", 4, 452, 114, 30},
        {"VMCurrent", 4, 484, 114, 30}, {"VMAve", 4, 516, 114, 30},
        {"FBClearD", 152, 506, 99, 45}, {"FBClearG", 252, 506, 99, 45},
        {"CB1", 360, 516, 57, 21}, {"S1", 452, 508, 200, 41}, {"FreeButton1", 688, 506, 99, 45},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QRect(r.x, r.y, r.w, r.h);
    const struct { const char *name; int x, y; } labels[] = {
        {"Label4", 120, 396}, {"Label3", 120, 428}, {"Label1", 120, 460}, {"Label2", 120, 492}, {"Label5", 120, 524},
    };
    for (const auto &l : labels)
        QTest::newRow(l.name) << QString::fromLatin1(l.name) << QRect(QPoint(l.x, l.y), QSize());
}

void TestFormMain::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    auto *w = m_form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    if (rect.isEmpty())
        QCOMPARE(w->pos(), rect.topLeft());
    else
        QCOMPARE(w->geometry(), rect);
}

void TestFormMain::controlSettings()
{
    const struct { TVrMeter *meter; const char *caption; int min, max, labels; } meters[] = {
        {m_form->VMA, "A", 0, 30, 6}, {m_form->VMV, "V", 0, 20, 5},
        {m_form->VMR, "RPM", 0, 3000, 5}, {m_form->VMC, "C\u00B0", -20, 120, 7},
    };
    for (const auto &m : meters) {
        QCOMPARE(m.meter->Caption(), QString::fromUtf8(m.caption));
        QCOMPARE(m.meter->MinValue(), m.min);
        QCOMPARE(m.meter->MaxValue(), m.max);
        QCOMPARE(m.meter->Labels(), m.labels);
        QCOMPARE(m.meter->Position(), std::max(0, m.min));
    }
    for (TPCheck *box : {m_form->PChA, m_form->PChV, m_form->PChR, m_form->PChC}) {
        QCOMPARE(box->text(), QStringLiteral("Enable"));
        QVERIFY(box->Checked());
    }
    const struct { TVrMatrix *matrix; const char *text; QRgb off, on; } matrices[] = {
        {m_form->VMUnits, "-", 0x000080, 0x00FFFF}, {m_form->VMMax, "0", 0x800000, 0xFF0000},
        {m_form->VMMin, "0", 0x008000, 0x00FF00}, {m_form->VMCurrent, "0", 0x808000, 0xFFFF00},
        {m_form->VMAve, "0", 0x000000, 0xC0C0C0},
    };
    for (const auto &m : matrices) {
        QCOMPARE(m.matrix->Text(), QLatin1String(m.text));
        QCOMPARE(m.matrix->ColorOff().rgb() & 0xFFFFFF, m.off);
        QCOMPARE(m.matrix->ColorOn().rgb() & 0xFFFFFF, m.on);
    }
    QCOMPARE(m_form->Label4->text(), QStringLiteral("Units"));
    QCOMPARE(m_form->Label3->text(), QStringLiteral("Max"));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("Min"));
    QCOMPARE(m_form->Label2->text(), QStringLiteral("Curr"));
    QCOMPARE(m_form->Label5->text(), QStringLiteral("Ave"));

    const struct { TFreeButton *button; const char *caption, *caption2; } buttons[] = {
        {m_form->FBClearD, "Clear", "Data"}, {m_form->FBClearG, "Clear", "Graph"}, {m_form->FreeButton1, "Config", ""},
    };
    for (const auto &b : buttons) {
        QCOMPARE(b.button->Caption(), QLatin1String(b.caption));
        QCOMPARE(b.button->Caption2(), QLatin1String(b.caption2));
        QCOMPARE(b.button->DrawColor(), QColor(0, 128, 128));
        QCOMPARE(b.button->BackColor(), QColor(212, 208, 200));
        QCOMPARE(b.button->focusPolicy(), Qt::NoFocus);
    }

    QCOMPARE(m_form->CB1->count(), 4);
    const QStringList items = {"V", "A", "RPM", "C\u00B0"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_form->CB1->itemText(i), items[i]);
    QVERIFY(m_form->CB1->isEditable());
    QCOMPARE(m_form->CB1->ItemIndex(), 0);
    QCOMPARE(m_form->S1->Position(), 0.0);

    QCOMPARE(m_form->P1->ChannelCount(), 4);
    const struct { const char *name, *title; QColor color; } channels[] = {
        {"V", "V", QColor(255, 255, 0)}, {"A", "A", QColor(128, 255, 255)},
        {"R", "RPM", QColor(255, 0, 0)}, {"C", "C", QColor(0, 255, 0)},
    };
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m_form->P1->GetChannel(i)->Name(), QLatin1String(channels[i].name));
        QCOMPARE(m_form->P1->GetChannel(i)->TitleText(), QLatin1String(channels[i].title));
        QCOMPARE(m_form->P1->GetChannel(i)->Color(), channels[i].color);
        QCOMPARE(chartPoints(i), 0);
    }
    // each channel's controls are bound by the channel table
    QCOMPARE(m_form->Meter(chV), m_form->VMV);
    QCOMPARE(m_form->Meter(chC), m_form->VMC);
    QCOMPARE(m_form->EnableBox(chA), m_form->PChA);
    QCOMPARE(m_form->EnableBox(chR), m_form->PChR);
}

void TestFormMain::statusBar()
{
    TStatusBar *sb = m_form->SB1;
    QCOMPARE(sb->PanelCount(), 7);
    const QStringList texts = {"...", "0", "1", "2", "3", "4", ""};
    const int widths[] = {200, 60, 60, 60, 60, 60};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(sb->PanelText(i), texts[i]);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(sb->PanelRect(i, 792).width(), widths[i]);
    QCOMPARE(sb->height(), 19);

    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(sb->width(), m_form->width());
    QCOMPARE(sb->geometry().bottom(), m_form->centralWidget()->height() - 1);
    const int last = sb->PanelRect(6, sb->width()).width();
    m_form->resize(m_form->width() + 100, m_form->height());
    QTRY_COMPARE(sb->PanelRect(6, sb->width()).width(), last + 100);
}

void TestFormMain::tabOrder()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    const QList<QWidget *> order = {m_form->P1, m_form->CB1, m_form->S1, m_form->PChA,
                                    m_form->PChV, m_form->PChR, m_form->PChC};
    m_form->P1->setFocus(Qt::TabFocusReason);
    for (QWidget *expected : order) {
        QWidget *focus = QApplication::focusWidget();
        // the editable combo box takes focus in its line edit
        if (focus && focus->parentWidget() == m_form->CB1)
            focus = m_form->CB1;
        QCOMPARE(focus, expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void TestFormMain::scrollsWhenSmaller()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto *scroll = m_form->findChild<QScrollArea *>();
    QVERIFY(scroll);
    QTRY_VERIFY(!scroll->horizontalScrollBar()->isVisible());
    m_form->resize(400, 300);
    QTRY_VERIFY(scroll->horizontalScrollBar()->isVisible());
    QVERIFY(scroll->verticalScrollBar()->isVisible());
    // the controls keep their places
    QCOMPARE(m_form->S1->geometry(), QRect(452, 508, 200, 41));
}

void TestFormMain::singlePacket_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("channel");     // -1: no reading
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("panel");       // panel that shows the line, -1: none
    QTest::newRow("V scaled by 0.1") << QByteArray("V00123") << int(chV) << 123 * 0.1 << 12 << 1;
    QTest::newRow("A") << QByteArray("A-01.5") << int(chA) << -1.5 << 0 << 2;
    QTest::newRow("R") << QByteArray("R01800") << int(chR) << 1800.0 << 1800 << 3;
    QTest::newRow("C below range") << QByteArray("C-0030") << int(chC) << -30.0 << -20 << 4;
    QTest::newRow("V with rest of line") << QByteArray("V123456") << int(chV) << 12345 * 0.1 << 20 << 1;
    QTest::newRow("tag alone") << QByteArray("R") << int(chR) << 0.0 << 0 << 3;
    QTest::newRow("lower case") << QByteArray("v00123") << -1 << 0.0 << 0 << -1;
    QTest::newRow("P packet") << QByteArray("P12345") << -1 << 0.0 << 0 << 5;
}

void TestFormMain::singlePacket()
{
    QFETCH(QByteArray, line);
    QFETCH(int, channel);
    QFETCH(double, current);
    QFETCH(int, position);
    QFETCH(int, panel);

    ConfigData.SetSinglePackets(1);
    ConfigData.SetV(0, 0, 0.1, 1);
    ConfigData.SetA(0, 0, 1.0, 1);
    ConfigData.SetR(0, 0, 1.0, 1);
    ConfigData.SetC(0, 0, 1.0, 1);
    receive(line);

    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], ch == channel ? 1 : 0);
        QCOMPARE(chartPoints(ch), 0);   // no chart point in this framing
    }
    if (channel >= 0) {
        QCOMPARE(Stats.Current[channel], current);
        QCOMPARE(m_form->Meter(TChannel(channel))->Position(), position);
    }
    for (int p = 1; p <= 6; ++p) {
        const QString start = p == 6 ? QString() : QString::number(p - 1);
        QCOMPARE(m_form->SB1->PanelText(p), p == panel ? QString::fromLatin1(line) : start);
    }
    // the panel is refreshed after every line, whatever it held
    QCOMPARE(m_form->VMUnits->Text(), QStringLiteral("V"));
    QCOMPARE(RxCount, 0);
    QCOMPARE(RxLine[0], '\0');
}

void TestFormMain::multiField_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<double>>("currents");  // V, A, R, C
    QTest::addColumn<QList<int>>("points");       // chart points per chart channel
    QTest::addColumn<bool>("packet");
    using D = QList<double>;
    using I = QList<int>;
    QTest::newRow("four fields") << QByteArray("V00123A00045R01800C00025") << D{12.3, 45, 1800, 25} << I{1, 1, 1, 1} << false;
    QTest::newRow("any order") << QByteArray("A00045V00123") << D{12.3, 45, 0, 0} << I{1, 1, 0, 0} << false;
    QTest::newRow("first V only") << QByteArray("V00010V00020") << D{1, 0, 0, 0} << I{1, 0, 0, 0} << false;
    QTest::newRow("value runs into tag") << QByteArray("V12A34") << D{1.2, 34, 0, 0} << I{1, 1, 0, 0} << false;
    QTest::newRow("P packet") << QByteArray("P12345") << D{0, 0, 0, 0} << I{0, 0, 0, 0} << true;
    QTest::newRow("empty line") << QByteArray() << D{0, 0, 0, 0} << I{0, 0, 0, 0} << false;
}

void TestFormMain::multiField()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<double>, currents);
    QFETCH(QList<int>, points);
    QFETCH(bool, packet);

    ConfigData.SetV(0, 0, 0.1, 0);
    ConfigData.SetA(0, 0, 1.0, 0);
    ConfigData.SetR(0, 0, 1.0, 0);
    ConfigData.SetC(0, 0, 1.0, 0);
    m_form->SB1->SetPanelText(6, QStringLiteral("previous"));
    receive(line);

    for (int ch = 0; ch < kChannelCount; ++ch) {
        QVERIFY(qFuzzyCompare(1.0 + Stats.Current[ch], 1.0 + currents[ch]));
        QCOMPARE(chartPoints(ch), points[ch]);
        if (points[ch])
            QCOMPARE(m_form->P1->GetChannel(ch)->Y(0), Stats.Current[ch]);
    }
    QCOMPARE(m_form->SB1->PanelText(6), QString::fromLatin1(line));
    QCOMPARE(m_form->SB1->PanelText(5), packet ? QString::fromLatin1(line) : QStringLiteral("4"));
    QCOMPARE(m_form->SB1->PanelText(1), QStringLiteral("0"));
}

void TestFormMain::enableBoxesGateChartPoints()
{
    ConfigData.SetA(0, 0, 1.0, 0);
    ConfigData.SetV(0, 0, 1.0, 0);
    m_form->PChA->SetChecked(false);
    receive("V00001A00002");
    receive("V00003A00004");
    QCOMPARE(chartPoints(0), 2);
    QCOMPARE(chartPoints(1), 0);
    // the registers and the meter go on without the chart
    QCOMPARE(Stats.Count[chA], 2);
    QCOMPARE(m_form->VMA->Position(), 4);
    m_form->PChA->SetChecked(true);
    receive("A00005");
    QCOMPARE(chartPoints(1), 1);
    QCOMPARE(m_form->P1->GetChannel(1)->Y(0), 5.0);
}

void TestFormMain::needlePinnedAtRangeEnd()
{
    ConfigData.SetV(0, 0, 1.0, 0);
    receive("V00500");
    QCOMPARE(m_form->VMV->Position(), 20);
    QCOMPARE(Stats.Current[chV], 500.0);
    QCOMPARE(Stats.Max[chV], 500.0);
    QCOMPARE(m_form->P1->GetChannel(0)->Y(0), 500.0);
    receive("V9e999");
    QCOMPARE(m_form->VMV->Position(), 20);
}

void TestFormMain::damagedFramingSwitch()
{
    ConfigData.SetSinglePackets(2);
    ConfigData.SetV(0, 0, 1.0, 2);
    receive("V00123P1");
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], 0);
        QCOMPARE(chartPoints(ch), 0);
    }
    QCOMPARE(m_form->VMV->Position(), 0);
    QCOMPARE(m_form->SB1->PanelText(5), QStringLiteral("4"));
    QCOMPARE(m_form->SB1->PanelText(6), QString());
    // Display still ran
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("0.00"));
}

void TestFormMain::longLineDecodesFirst255()
{
    ConfigData.SetR(0, 0, 1.0, 0);
    ConfigData.SetC(0, 0, 1.0, 0);
    QByteArray line(600, 'x');
    line.replace(248, 6, "R00042");  // inside the first 255 characters
    line.replace(400, 6, "C00077");  // beyond them
    receive(line);
    QCOMPARE(Stats.Current[chR], 42.0);
    QCOMPARE(Stats.Count[chC], 0);
    QCOMPARE(m_form->SB1->PanelText(6), QString::fromLatin1(line.left(255)));
    QCOMPARE(RxCount, 0);
}

void TestFormMain::multipliersAndFramingFollowTheRecord()
{
    ConfigData.SetC(0, 0, 2.0, 0);
    receive("C00010");
    QCOMPARE(Stats.Current[chC], 20.0);
    ConfigData.SetC(0, 0, 0.5, 0);
    ConfigData.SetSinglePackets(1);
    receive("C00010");
    QCOMPARE(Stats.Current[chC], 5.0);
    QCOMPARE(m_form->SB1->PanelText(4), QStringLiteral("C00010"));
    QCOMPARE(chartPoints(3), 1);
}

void TestFormMain::display_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QStringList>("texts");  // Units, Curr, Min, Max, Ave
    QTest::addColumn<QString>("shownCurrent");
    QTest::newRow("V, 2 decimals") << 0 << 2 << QStringList{"V", "12.60", "0.00", "12.60", "7.30"} << "12.60";
    QTest::newRow("A, 0 decimals") << 1 << 0 << QStringList{"A", "13", "-3", "13", "5"} << "13";
    QTest::newRow("RPM shows R") << 2 << 1 << QStringList{"R", "1800.0", "0.0", "1800.0", "1800.0"} << "1800.0";
    QTest::newRow("C shows C, long text cut")
        << 3 << 3 << QStringList{"C", "99999.000", "0.000", "99999.000", "99999.000"} << "99999.0";
}

void TestFormMain::display()
{
    QFETCH(int, item);
    QFETCH(int, decimals);
    QFETCH(QStringList, texts);
    QFETCH(QString, shownCurrent);
    ConfigData.SetSinglePackets(1);
    ConfigData.SetV(0, 0, 1.0, decimals);
    ConfigData.SetA(0, 0, 1.0, decimals);
    ConfigData.SetR(0, 0, 1.0, decimals);
    ConfigData.SetC(0, 0, 1.0, decimals);
    m_form->CB1->setCurrentIndex(item);
    for (const char *line : {"V2", "V12.6", "A-3", "A12.6", "R1800", "C99999"})
        receive(line);
    QCOMPARE(m_form->VMUnits->Text(), texts[0]);
    QCOMPARE(m_form->VMCurrent->Text(), texts[1]);
    QCOMPARE(m_form->VMMin->Text(), texts[2]);
    QCOMPARE(m_form->VMMax->Text(), texts[3]);
    QCOMPARE(m_form->VMAve->Text(), texts[4]);
    QCOMPARE(m_form->VMCurrent->ShownText(), shownCurrent);
}

void TestFormMain::chooserShowsAtNextRefresh()
{
    ConfigData.SetSinglePackets(1);
    ConfigData.SetV(0, 0, 1.0, 0);
    ConfigData.SetR(0, 0, 1.0, 0);
    receive("V00007");
    receive("R01500");
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("7"));
    m_form->CB1->setCurrentIndex(2);
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("7"));
    QCOMPARE(m_form->VMUnits->Text(), QStringLiteral("V"));
    receive("P1");
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("1500"));
    QCOMPARE(m_form->VMUnits->Text(), QStringLiteral("R"));
}

void TestFormMain::chooserWithoutItemKeepsPanel()
{
    ConfigData.SetSinglePackets(1);
    ConfigData.SetV(0, 0, 1.0, 0);
    receive("V00007");
    m_form->CB1->setEditText(QStringLiteral("xyz"));
    QCOMPARE(m_form->CB1->ItemIndex(), -1);
    receive("V00009");
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("7"));
    QCOMPARE(Stats.Current[chV], 9.0);
    m_form->CB1->setEditText(QStringLiteral("v"));
    QCOMPARE(m_form->CB1->ItemIndex(), 0);
    receive("V00011");
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("11"));
}

void TestFormMain::byteStreamsThroughPort_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QList<int>>("counts");   // readings per channel V, A, R, C at the end
    QTest::addColumn<QList<double>>("currents");
    using W = QList<QByteArray>;
    using I = QList<int>;
    using D = QList<double>;
    QTest::newRow("two lines at once") << W{"V00123\r\nA00045\r"} << I{1, 1, 0, 0} << D{123, 45, 0, 0};
    QTest::newRow("split over writes") << W{"V00", "123\r\nA000", "45\r"} << I{1, 1, 0, 0} << D{123, 45, 0, 0};
    QTest::newRow("CR then ETX counts once") << W{"V00123\r\x03"} << I{1, 0, 0, 0} << D{123, 0, 0, 0};
    QTest::newRow("NUL and line feeds") << W{QByteArray("\nV0\0" "01\n23\r", 11)} << I{1, 0, 0, 0} << D{123, 0, 0, 0};
    QTest::newRow("multi-field line in pieces") << W{"V00001A000", "02R00003", "C00004\x03"} << I{1, 1, 1, 1} << D{1, 2, 3, 4};
    QTest::newRow("overlong line, then a good one")
        << W{QByteArray(100000, 'z'), "\rR00099\r"} << I{0, 0, 1, 0} << D{0, 0, 99, 0};
    QTest::newRow("more than the receive chunk at once")
        << W{QByteArray("C00001\r").repeated(500)} << I{0, 0, 0, 500} << D{0, 0, 0, 1};
}

void TestFormMain::byteStreamsThroughPort()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<int>, counts);
    QFETCH(QList<double>, currents);

    ConfigData.SetV(0, 0, 1.0, 0);
    ConfigData.SetA(0, 0, 1.0, 0);
    ConfigData.SetR(0, 0, 1.0, 0);
    ConfigData.SetC(0, 0, 1.0, 0);
    Pty device;
    QVERIFY(device.isOpen());
    m_form->CP1->SetPort(device.slavePath());
    // a pseudo-terminal carries 8 data bits without parity, whatever it is asked for
    m_form->CP1->SetDataBits(dbEight);
    m_form->CP1->Open();
    QVERIFY(m_form->CP1->Connected());

    int expectedBytes = 0;
    QSignalSpy events(m_form->CP1, &TComPort::RxChar);
    for (const QByteArray &w : writes) {
        QVERIFY(device.write(w));
        expectedBytes += int(w.size());
        // each write is taken whole before the next goes out, so lines really arrive split
        QTRY_COMPARE_WITH_TIMEOUT(
            [&] { int n = 0; for (const auto &e : events) n += e.at(0).toInt(); return n; }(),
            expectedBytes, 5000);
    }
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], counts[ch]);
        QCOMPARE(Stats.Current[ch], currents[ch]);
    }
    m_form->CP1->Close();
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
