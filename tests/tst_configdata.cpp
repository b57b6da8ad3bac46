// The configuration record against "Cfg" files built byte by byte here, in a temporary working
// directory: field offsets and byte order, the round trip of unused bytes, and the files that
// are not a whole record.
#include "config/ConfigData.h"

#include "Fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

using Int32Field = int32_t (TConfigData::*)() const;
using DoubleField = double (TConfigData::*)() const;
Q_DECLARE_METATYPE(Int32Field)
Q_DECLARE_METATYPE(DoubleField)

namespace {

void putInt32(QByteArray &image, int offset, int32_t value)
{
    const auto u = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char((u >> (8 * i)) & 0xFF);
}

void putDouble(QByteArray &image, int offset, double value)
{
    uint64_t u;
    std::memcpy(&u, &value, sizeof u);
    for (int i = 0; i < 8; ++i)
        image[offset + i] = char((u >> (8 * i)) & 0xFF);
}

// A record as another tool might have written it: every field set, the unused bytes and the
// bytes after Port's NUL not zero.
QByteArray handBuiltImage()
{
    QByteArray image(128, '\0');
    image.replace(0, 4, QByteArray("1\0" "2Z", 4)); // Port "1", stale "2Z" after its NUL
    for (int i = 4; i < 16; ++i)
        image[i] = char(0xA0 + i);
    putInt32(image, 16, 3);          // Speed
    putInt32(image, 20, 2);          // Parity
    putInt32(image, 24, 1);          // StopBits
    putInt32(image, 28, -7);         // DataBits
    putInt32(image, 32, 5);          // Polling
    image[36] = char(0x01);          // Simulation
    image[37] = char(0xDE);          // unused
    image[38] = char(0xAD);
    image[39] = char(0xBE);
    const int32_t ints[12] = {-20, 120, 1, 0, 30, 2, 100, 3000, 0, -2147483647 - 1, 2147483647, 3};
    for (int i = 0; i < 12; ++i)
        putInt32(image, 40 + 4 * i, ints[i]);
    putDouble(image, 88, 0.1);
    putDouble(image, 96, -2.5);
    putDouble(image, 104, 1e300);
    putDouble(image, 112, 1.23456);
    image[120] = char(0x02);         // SinglePackets, out of range
    for (int i = 121; i < 128; ++i)
        image[i] = char(0xF0 + i - 121);
    return image;
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray imageOf(const TConfigData &record)
{
    return QByteArray(reinterpret_cast<const char *>(record.Image()), TConfigData::kSize);
}

} // namespace

class TestConfigData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void int32Fields_data();
    void int32Fields();
    void doubleFields_data();
    void doubleFields();
    void switchesAndPort();
    void missingFileLeavesRecord();
    void roundTripKeepsEveryByte();
    void writersTouchOnlyTheirFields();
    void shorterPortLeavesStaleBytes();
    void portWithoutNul();
    void longPortTextIsCut();
    void notAWholeRecord_data();
    void notAWholeRecord();
    void longerFileReadsFirst128Bytes();
    void directoryNamedCfg();
    void failedSaveKeepsOldFile();

private:
    std::unique_ptr<WorkingFolder> m_folder;
};

void TestConfigData::initTestCase()
{
    // the global record is all zero before anything loads it
    QCOMPARE(imageOf(ConfigData), QByteArray(128, '\0'));
}

void TestConfigData::init()
{
    m_folder = std::make_unique<WorkingFolder>();
    QVERIFY(m_folder->isValid());
}

void TestConfigData::cleanup()
{
    m_folder.reset();
}

void TestConfigData::int32Fields_data()
{
    QTest::addColumn<Int32Field>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("Speed @16") << Int32Field(&TConfigData::Speed) << 3;
    QTest::newRow("Parity @20") << Int32Field(&TConfigData::Parity) << 2;
    QTest::newRow("StopBits @24") << Int32Field(&TConfigData::StopBits) << 1;
    QTest::newRow("DataBits @28") << Int32Field(&TConfigData::DataBits) << -7;
    QTest::newRow("Polling @32") << Int32Field(&TConfigData::Polling) << 5;
    QTest::newRow("VMin @40") << Int32Field(&TConfigData::VMin) << -20;
    QTest::newRow("VMax @44") << Int32Field(&TConfigData::VMax) << 120;
    QTest::newRow("VDec @48") << Int32Field(&TConfigData::VDec) << 1;
    QTest::newRow("AMin @52") << Int32Field(&TConfigData::AMin) << 0;
    QTest::newRow("AMax @56") << Int32Field(&TConfigData::AMax) << 30;
    QTest::newRow("ADec @60") << Int32Field(&TConfigData::ADec) << 2;
    QTest::newRow("RMin @64") << Int32Field(&TConfigData::RMin) << 100;
    QTest::newRow("RMax @68") << Int32Field(&TConfigData::RMax) << 3000;
    QTest::newRow("RDec @72") << Int32Field(&TConfigData::RDec) << 0;
    QTest::newRow("CMin @76") << Int32Field(&TConfigData::CMin) << int(-2147483647 - 1);
    QTest::newRow("CMax @80") << Int32Field(&TConfigData::CMax) << 2147483647;
    QTest::newRow("CDec @84") << Int32Field(&TConfigData::CDec) << 3;
}

void TestConfigData::int32Fields()
{
    QFETCH(Int32Field, field);
    QFETCH(int, expected);
    writeFile("Cfg", handBuiltImage());
    TConfigData record;
    record.Load("Cfg");
    QCOMPARE((record.*field)(), expected);
}

void TestConfigData::doubleFields_data()
{
    QTest::addColumn<DoubleField>("field");
    QTest::addColumn<double>("expected");
    QTest::newRow("VMult @88") << DoubleField(&TConfigData::VMult) << 0.1;
    QTest::newRow("AMult @96") << DoubleField(&TConfigData::AMult) << -2.5;
    QTest::newRow("RMult @104") << DoubleField(&TConfigData::RMult) << 1e300;
    QTest::newRow("CMult @112") << DoubleField(&TConfigData::CMult) << 1.23456;
}

void TestConfigData::doubleFields()
{
    QFETCH(DoubleField, field);
    QFETCH(double, expected);
    writeFile("Cfg", handBuiltImage());
    TConfigData record;
    record.Load("Cfg");
    QCOMPARE((record.*field)(), expected);
}

void TestConfigData::switchesAndPort()
{
    writeFile("Cfg", handBuiltImage());
    TConfigData record;
    record.Load("Cfg");
    QCOMPARE(record.Simulation(), uint8_t(1));
    QCOMPARE(record.SinglePackets(), uint8_t(2));
    char port[TConfigData::kPortSize];
    QCOMPARE(record.Port(port), 1);
    QCOMPARE(QByteArray(port), QByteArray("1"));
}

void TestConfigData::missingFileLeavesRecord()
{
    TConfigData fresh;
    fresh.Load("Cfg");
    QCOMPARE(imageOf(fresh), QByteArray(128, '\0'));
    QCOMPARE(fresh.Speed(), 0);
    QCOMPARE(fresh.VMult(), 0.0);

    TConfigData used;
    used.SetPolling(4);
    used.Load("Cfg");
    QCOMPARE(used.Polling(), 4);
}

void TestConfigData::roundTripKeepsEveryByte()
{
    const QByteArray image = handBuiltImage();
    writeFile("Cfg", image);
    TConfigData record;
    record.Load("Cfg");
    QCOMPARE(imageOf(record), image);
    record.Save("Cfg");
    QCOMPARE(readFile("Cfg"), image);
    record.Save("Other");
    QCOMPARE(readFile("Other"), image);
}

void TestConfigData::writersTouchOnlyTheirFields()
{
    QByteArray expected = handBuiltImage();
    writeFile("Cfg", expected);
    TConfigData record;
    record.Load("Cfg");

    record.SetLine(4, 1, 0, 1);
    putInt32(expected, 16, 4);
    putInt32(expected, 20, 1);
    putInt32(expected, 28, 0);
    putInt32(expected, 24, 1);
    record.SetPolling(-1);
    putInt32(expected, 32, -1);
    record.SetSimulation(0);
    expected[36] = 0;
    record.SetSinglePackets(1);
    expected[120] = 1;
    record.SetV(-5, 25, 0.5, 2);
    putInt32(expected, 40, -5);
    putInt32(expected, 44, 25);
    putInt32(expected, 48, 2);
    putDouble(expected, 88, 0.5);
    record.SetA(1, 2, 3.0, 4);
    putInt32(expected, 52, 1);
    putInt32(expected, 56, 2);
    putInt32(expected, 60, 4);
    putDouble(expected, 96, 3.0);
    record.SetR(0, 3000, 1.0, 0);
    putInt32(expected, 64, 0);
    putInt32(expected, 68, 3000);
    putInt32(expected, 72, 0);
    putDouble(expected, 104, 1.0);
    record.SetC(-20, 120, 0.25, 1);
    putInt32(expected, 76, -20);
    putInt32(expected, 80, 120);
    putInt32(expected, 84, 1);
    putDouble(expected, 112, 0.25);

    record.Save("Cfg");
    QCOMPARE(readFile("Cfg"), expected);
}

void TestConfigData::shorterPortLeavesStaleBytes()
{
    // only the text and its NUL are written: what stood after them stays, in memory and in the file
    TConfigData record;
    record.SetPort("123");
    record.SetPort("1");
    QCOMPARE(imageOf(record).left(5), QByteArray("1\0" "3\0\0", 5));
    char port[TConfigData::kPortSize];
    record.Port(port);
    QCOMPARE(QByteArray(port), QByteArray("1"));
    record.Save("Cfg");
    QCOMPARE(readFile("Cfg").left(4), QByteArray("1\0" "3\0", 4));
}

void TestConfigData::portWithoutNul()
{
    QByteArray image(128, '\0');
    for (int i = 0; i < 16; ++i)
        image[i] = char('A' + i);
    putInt32(image, 16, 2);
    writeFile("Cfg", image);
    TConfigData record;
    record.Load("Cfg");
    char port[TConfigData::kPortSize];
    QCOMPARE(record.Port(port), 15);
    QCOMPARE(QByteArray(port), QByteArray("ABCDEFGHIJKLMNO"));
    QCOMPARE(record.Speed(), 2);
}

void TestConfigData::longPortTextIsCut()
{
    TConfigData record;
    record.SetLine(1, 1, 1, 1);
    record.SetPort("0123456789abcdefghij");
    char port[TConfigData::kPortSize];
    QCOMPARE(record.Port(port), 15);
    QCOMPARE(QByteArray(port), QByteArray("0123456789abcde"));
    QCOMPARE(record.Image()[15], uint8_t(0));
    QCOMPARE(record.Speed(), 1);
}

void TestConfigData::notAWholeRecord_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("1 byte") << 1;
    QTest::newRow("127 bytes") << 127;
}

void TestConfigData::notAWholeRecord()
{
    QFETCH(int, size);
    writeFile("Cfg", handBuiltImage().left(size));
    TConfigData record;
    record.SetPort("7");
    record.SetPolling(3);
    const QByteArray before = imageOf(record);
    record.Load("Cfg");
    QCOMPARE(imageOf(record), before);
}

void TestConfigData::longerFileReadsFirst128Bytes()
{
    const QByteArray image = handBuiltImage();
    for (int extra : {1, 4096 - 128}) {
        writeFile("Cfg", image + QByteArray(extra, '\x55'));
        TConfigData record;
        record.Load("Cfg");
        QCOMPARE(imageOf(record), image);
    }
}

void TestConfigData::directoryNamedCfg()
{
    QVERIFY(QDir().mkdir("Cfg"));
    TConfigData record;
    record.SetPolling(2);
    record.Load("Cfg");
    QCOMPARE(record.Polling(), 2);
    record.Save("Cfg");
    QVERIFY(QFileInfo("Cfg").isDir());
    QCOMPARE(QDir().entryList(QDir::Files), QStringList());
}

void TestConfigData::failedSaveKeepsOldFile()
{
    const QByteArray old = handBuiltImage();
    writeFile("Cfg", old);
    TConfigData record;
    record.SetPort("3");

    // a file-size limit makes every write past 64 bytes fail, for root as for anyone
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    record.Save("Cfg");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(readFile("Cfg"), old);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{"Cfg"});
}

QTEST_GUILESS_MAIN(TestConfigData)
#include "tst_configdata.moc"
