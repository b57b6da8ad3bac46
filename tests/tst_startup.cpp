// Start-up behind the splash with its delays, against a real pseudo-terminal as the device,
// the close of the port at the end, and the guard around program entry.
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "app/FormSplash.h"
#include "app/Program.h"
#include "config/ConfigData.h"
#include "platform/ComPort.h"
#include "platform/iPlot.h"
#include "platform/StatusBar.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"
#include "Fixtures.h"
#include "ModalBox.h"
#include "PtyFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void splashWindow();
    void sleepProcessWaitsAtLeastItsTime();
    void startsWithDeviceSending();
    void firstStartWithoutCfg();
    void closeClosesPortAndLeavesCfg();
    void closeWithPortNeverOpened();
    void entryGuard_data();
    void entryGuard();

private:
    void writeCfg();

    std::unique_ptr<WorkingFolder> m_folder;
    std::unique_ptr<TFormMain> m_form;
    std::unique_ptr<TFormSplash> m_splash;
};

void TestStartup::init()
{
    m_folder = std::make_unique<WorkingFolder>();
    QVERIFY(m_folder->isValid());
    ResetRecords();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
    m_splash = std::make_unique<TFormSplash>();
    FormSplash = m_splash.get();
}

void TestStartup::cleanup()
{
    FormSplash = nullptr;
    FormMain = nullptr;
    m_splash.reset();
    m_form.reset();
    m_folder.reset();
}

// A record for a device linked as COM1: 8 data bits, multi-field lines, V on 0..100.
void TestStartup::writeCfg()
{
    TConfigData record;
    record.SetPort("1");
    record.SetLine(0, 0, 1, 0);
    record.SetPolling(0);
    record.SetV(0, 100, 1.0, 0);
    record.Save("Cfg");
}

void TestStartup::splashWindow()
{
    QCOMPARE(m_splash->windowTitle(), QStringLiteral("Attendere - caricamento programma"));
    QCOMPARE(m_splash->size(), QSize(280, 140));
    QCOMPARE(m_splash->minimumSize(), m_splash->maximumSize());
    const Qt::WindowFlags flags = m_splash->windowFlags();
    QVERIFY(!(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint
                       | Qt::WindowMaximizeButtonHint)));
    const QStringList lines = m_splash->TransparentMemo1->text().split('\n');
    QCOMPARE(lines.mid(0, 3), (QStringList{"Programma di rilevazione", "parametri Rotavolt", ""}));
    QVERIFY(m_splash->TransparentMemo1->font().bold());
    QCOMPARE(m_splash->TransparentMemo1->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void TestStartup::sleepProcessWaitsAtLeastItsTime()
{
    bool handled = false;
    QTimer::singleShot(50, [&] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    m_form->SleepProcess(300);
    QVERIFY2(clock.elapsed() >= 300, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(handled);   // events went on being handled during the delay
    QVERIFY(SleepDone);
    QVERIFY(!m_form->TimerSleep->isActive());
}

void TestStartup::startsWithDeviceSending()
{
    Pty device;
    QVERIFY(QFile::link(device.slavePath(), "COM1"));
    writeCfg();

    struct Seen { bool splash, main, sampling; };
    QList<Seen> during;
    auto look = [&] { during.append({m_splash->isVisible(), m_form->isVisible(), m_form->TimerPolling->isActive()}); };
    QTimer::singleShot(100, look);
    // the device is sending while the start-up waits after opening the port
    QTimer::singleShot(1500, [&] { device.write("V00042\r\n"); look(); });
    QTimer::singleShot(2500, look);

    QElapsedTimer clock;
    clock.start();
    m_form->ShowFirst();
    QVERIFY2(clock.elapsed() >= 3000, qPrintable(QString::number(clock.elapsed())));

    QCOMPARE(during.size(), 3);
    for (const Seen &s : during) {
        QVERIFY(s.splash);
        QVERIFY(!s.main);
        QVERIFY(!s.sampling);
    }
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM1 Ok"));
    QCOMPARE(Stats.Count[chV], 1);
    QCOMPARE(Stats.Current[chV], 42.0);
    QCOMPARE(m_form->VMV->Position(), 42);
    // only the decoder's own point: the sample timer had not started yet
    QCOMPARE(m_form->P1->GetChannel(0)->Count(), 1);
    QVERIFY(!m_splash->isVisible());
    QVERIFY(m_form->isVisible());
    QVERIFY(m_form->TimerPolling->isActive());
    QCOMPARE(m_form->TimerPolling->interval(), 1000);
}

void TestStartup::firstStartWithoutCfg()
{
    ModalBoxAnswerer answerer;
    bool splashWithBox = false;
    bool mainWithBox = true;
    QElapsedTimer sinceBox;
    answerer.whileShown = [&] {
        splashWithBox = m_splash->isVisible();
        mainWithBox = m_form->isVisible();
        sinceBox.start();
    };
    m_form->ShowFirst();

    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].text, QStringLiteral("Cannot open COM port - Check configuration"));
    QVERIFY(splashWithBox);
    QVERIFY(!mainWithBox);
    QVERIFY(sinceBox.elapsed() >= 2500);   // the splash stays for the second delay
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM not opened"));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(ConfigData.Image()), 128), QByteArray(128, '\0'));
    QVERIFY(m_form->isVisible());
    QVERIFY(!m_splash->isVisible());
    QVERIFY(!QFile::exists("Cfg"));
}

void TestStartup::closeClosesPortAndLeavesCfg()
{
    Pty device;
    QVERIFY(QFile::link(device.slavePath(), "COM1"));
    writeCfg();
    QFile cfg("Cfg");
    QVERIFY(cfg.open(QIODevice::ReadOnly));
    const QByteArray before = cfg.readAll();
    const QDateTime modified = QFileInfo(cfg).lastModified();
    cfg.close();
    ConfigData.Load("Cfg");
    ConfigData.SetPolling(3);   // changed in memory only: closing must not save it
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    m_form->show();
    QVERIFY(m_form->close());
    QVERIFY(!m_form->CP1->Connected());
    QVERIFY(cfg.open(QIODevice::ReadOnly));
    QCOMPARE(cfg.readAll(), before);
    QCOMPARE(QFileInfo(cfg).lastModified(), modified);
}

void TestStartup::closeWithPortNeverOpened()
{
    m_form->show();
    QVERIFY(m_form->close());
    QVERIFY(!m_form->CP1->Connected());
    QVERIFY(!QFile::exists("Cfg"));
}

void TestStartup::entryGuard_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("error object") << 0 << "the message";
    QTest::newRow("standard error") << 1 << "out of range";
    QTest::newRow("not an error object") << 2 << "";
}

void TestStartup::entryGuard()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    ModalBoxAnswerer answerer;
    const int result = RunGuarded([kind] {
        if (kind == 0)
            throw Exception("the message");
        if (kind == 1)
            throw std::out_of_range("out of range");
        throw 42;
    });
    QCOMPARE(result, 0);
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes[0].title, QStringLiteral("Rotavolt recorder"));
    QCOMPARE(answerer.boxes[0].text, text);
    QCOMPARE(answerer.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(answerer.boxes[0].buttons, QStringList{"OK"});
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
