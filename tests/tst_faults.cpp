// The recorder against what goes wrong: a device that hangs up mid-line or sends garbage at full
// speed, a window closed while bytes arrive, and "Cfg" files that are short, long, random, a
// folder, or in a folder that cannot be written. In every case nothing crashes, nothing stored
// is lost, and the window goes on working.
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "config/FormConfig.h"
#include "platform/ComPort.h"
#include "platform/RadioGroup.h"
#include "platform/StatusBar.h"
#include "ui/FormMain.h"
#include "Fixtures.h"
#include "ModalBox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <sys/fsuid.h>
#include <unistd.h>

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void garbageAtFullSpeed();
    void hangUpMidLine();
    void closeWhileBytesArrive();
    void cfgFiles_data();
    void cfgFiles();
    void cfgIsAFolder();
    void okInReadOnlyFolderKeepsOldFile();

private:
    // The bench device linked as COM1 in the working directory, and the record that opens it.
    void startDevice(const QStringList &arguments);
    void receive(const QByteArray &line);
    static void checkRegistersFinite();

    std::unique_ptr<WorkingFolder> m_folder;
    std::unique_ptr<TFormMain> m_form;
    QProcess m_device;
};

void TestFaults::init()
{
    m_folder = std::make_unique<WorkingFolder>();
    QVERIFY(m_folder->isValid());
    ResetRecords();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
}

void TestFaults::cleanup()
{
    m_device.terminate();
    m_device.waitForFinished(5000);
    FormMain = nullptr;
    m_form.reset();
    m_folder.reset();
}

void TestFaults::startDevice(const QStringList &arguments)
{
    m_device.start(QStringLiteral(BENCH_DEVICE), QStringList{"--link", QDir::current().absoluteFilePath("COM1")} + arguments);
    QVERIFY(m_device.waitForReadyRead(5000));
    QVERIFY(QFileInfo("COM1").isSymLink());
    ConfigData.SetPort("1");
    ConfigData.SetLine(0, 0, 1, 0);
    for (auto set : {&TConfigData::SetV, &TConfigData::SetA, &TConfigData::SetR, &TConfigData::SetC})
        (ConfigData.*set)(0, 100, 1.0, 1);
}

void TestFaults::receive(const QByteArray &line)
{
    const QByteArray bytes = line + '\r';
    RxAssemble(bytes.constData(), int32_t(bytes.size()), [this] { m_form->Parse(); });
}

void TestFaults::checkRegistersFinite()
{
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QVERIFY(!std::isnan(Stats.Current[ch]) && !std::isnan(Stats.Sum[ch]) && !std::isnan(Stats.Average[ch]));
        QVERIFY(Stats.Count[ch] >= 0);
    }
    QVERIFY(RxCount >= 0 && RxCount < kRxLineSize);
}

void TestFaults::garbageAtFullSpeed()
{
    startDevice({"--garbage-only", "--fast", "--wait", "0.5", "--duration", "3"});
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    m_form->show();
    QSignalSpy events(m_form->CP1, &TComPort::RxChar);
    QTRY_VERIFY_WITH_TIMEOUT(m_device.state() == QProcess::NotRunning, 15000);
    QVERIFY(events.size() > 10);
    checkRegistersFinite();
    // and the window goes on decoding
    receive("");   // ends whatever the garbage left unfinished
    const int before = Stats.Count[chR];
    receive("R01234");
    QCOMPARE(Stats.Count[chR], before + 1);
    QCOMPARE(Stats.Current[chR], 1234.0);
}

void TestFaults::hangUpMidLine()
{
    ModalBoxAnswerer answerer;
    startDevice({"--split=1", "--fast", "--rate", "200", "--hangup-after", "1"});
    m_form->ConfigProgram();
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM1 Ok"));
    QTRY_COMPARE_WITH_TIMEOUT(m_form->SB1->PanelText(0), QStringLiteral("COM1 not opened"), 10000);
    QVERIFY(!m_form->CP1->Connected());
    QVERIFY(answerer.boxes.isEmpty());
    QVERIFY(Stats.Count[chV] > 50);
    checkRegistersFinite();
    // the recording goes on without the device
    ConfigData.SetSimulation(1);
    const int before = Stats.Count[chV];
    m_form->TimerPollingTimer();
    QCOMPARE(Stats.Count[chV], before + 1);
}

void TestFaults::closeWhileBytesArrive()
{
    startDevice({"--fast", "--crlf", "--nul", "--lf-inside"});
    m_form->ConfigProgram();
    m_form->show();
    QTRY_VERIFY(Stats.Count[chV] > 1000);
    QVERIFY(m_form->close());
    QVERIFY(!m_form->CP1->Connected());
    const int counted = Stats.Count[chV];
    QTest::qWait(200);
    QCOMPARE(Stats.Count[chV], counted);   // nothing is read once the window has closed
    m_form.reset();
    FormMain = nullptr;
    QTest::qWait(100);
}

void TestFaults::cfgFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("taken");   // a whole record is loaded; anything shorter is not
    TConfigData good;
    good.SetPort("0");
    good.SetPolling(2);
    good.SetSinglePackets(1);
    good.SetV(0, 50, 2.0, 1);
    const QByteArray image(reinterpret_cast<const char *>(good.Image()), TConfigData::kSize);
    QRandomGenerator random(7);
    auto noise = [&random](int n) {
        QByteArray b(n, '\0');
        for (char &c : b)
            c = char(random.bounded(256));
        return b;
    };
    QTest::newRow("0 bytes") << QByteArray() << false;
    QTest::newRow("1 byte") << image.left(1) << false;
    QTest::newRow("127 bytes") << image.left(127) << false;
    QTest::newRow("129 bytes") << image + 'x' << true;
    QTest::newRow("4096 bytes") << image + noise(4096 - 128) << true;
    QTest::newRow("128 random bytes") << noise(128) << true;
    QTest::newRow("4096 random bytes") << noise(4096) << true;
}

void TestFaults::cfgFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, taken);
    {
        QFile f("Cfg");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    ModalBoxAnswerer answerer;   // a random record may name a port that does not open
    ConfigData.Load("Cfg");
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(ConfigData.Image()), 128),
             taken ? bytes.left(128) : QByteArray(128, '\0'));
    m_form->ConfigProgram();
    receive("V00010A00020");
    receive("V00010");
    checkRegistersFinite();
    QVERIFY(Stats.Count[chV] <= 2);

    // the dialog shows it and Cancel leaves the file as it was, byte for byte
    TFormConfig dialog;
    dialog.show();
    dialog.FBAnnullaClick();
    QFile f("Cfg");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TestFaults::cfgIsAFolder()
{
    QVERIFY(QDir().mkdir("Cfg"));
    ConfigData.Load("Cfg");
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(ConfigData.Image()), 128), QByteArray(128, '\0'));
    TFormConfig dialog;
    dialog.show();
    dialog.FBOkClick();   // the save fails, silently
    QVERIFY(QFileInfo("Cfg").isDir());
    QVERIFY(!dialog.isVisible());
}

void TestFaults::okInReadOnlyFolderKeepsOldFile()
{
    TConfigData old;
    old.SetPort("0");
    old.SetPolling(4);
    old.Save("Cfg");
    QFile f("Cfg");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    TFormConfig dialog;
    dialog.show();   // reads the file
    QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                    | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
    // root writes anywhere: check file access as nobody meanwhile (this changes nothing for others)
    const uid_t oldFsuid = setfsuid(65534);
    dialog.RGPolling->SetItemIndex(1);   // a change that a successful save would write
    dialog.FBOkClick();
    setfsuid(oldFsuid);
    QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{"Cfg"});
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
