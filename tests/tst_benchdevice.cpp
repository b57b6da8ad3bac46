// The helper programs run as they are used: the bench device's stream read from its pseudo-terminal
// and cut into lines by the recorder's own assembly, the set-points it hears, its pace and its
// hang-up; and cfgtool's file read back through the configuration record.
#include "acquisition/RxLine.h"
#include "config/ConfigData.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 10000;

// The port as the recorder opens it: read and write, raw, 8 bits.
int openPort(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    if (fd >= 0 && ::tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// What arrives within timeoutMs; stops early when the device hangs up (read gives 0 or EIO).
QByteArray readPort(int fd, int timeoutMs, bool *hungUp = nullptr)
{
    QByteArray got;
    char buffer[4096];
    QDeadlineTimer deadline(timeoutMs);
    if (hungUp)
        *hungUp = false;
    while (!deadline.hasExpired()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, n);
        } else if (n == 0 || errno == EIO) {
            if (hungUp)
                *hungUp = true;
            break;
        }
    }
    return got;
}

// Cuts bytes into lines exactly as the recorder does; empty lines (CR then ETX) are left out.
class LineCutter
{
public:
    LineCutter()
    {
        RxLine[0] = '\0';
        RxCount = 0;
    }
    void feed(const QByteArray &bytes)
    {
        RxAssemble(bytes.constData(), int32_t(bytes.size()), [this] {
            char copy[kRxLineSize];
            const int32_t n = RxTakeLine(copy, kRxLineSize);
            if (n > 0)
                lines.append(QByteArray(copy, n));
        });
    }
    QList<QByteArray> lines;
};

// The value of the first field with this tag, or -1.
int field(const QByteArray &line, char tag)
{
    const qsizetype at = line.indexOf(tag);
    return at < 0 ? -1 : line.mid(at + 1, 5).toInt();
}

int runTool(const QString &program, const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(kStartMs))
        return -1;
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// One bench-device with its link COM1 in a folder of its own.
class BenchDevice
{
public:
    bool start(const QStringList &args)
    {
        m_clock.start();
        m_process.start(QStringLiteral(BENCH_DEVICE), args + QStringList{"--link", link()});
        while (!m_process.canReadLine() && m_process.waitForReadyRead(kStartMs)) {
        }
        slavePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return !slavePath.isEmpty();
    }
    ~BenchDevice()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(kStartMs);
        }
    }

    QString link() const { return m_dir.filePath("COM1"); }
    int port()
    {
        if (m_fd < 0)
            m_fd = openPort(link());
        return m_fd;
    }
    void closePort()
    {
        ::close(m_fd);
        m_fd = -1;
    }
    // Stops it as Ctrl+C would; true when it ended cleanly.
    bool stop()
    {
        m_process.terminate();
        return finished();
    }
    bool finished()
    {
        return m_process.waitForFinished(kStartMs) && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0;
    }
    // The lines it printed after the path, waiting until there are at least n.
    QStringList reports(int n)
    {
        QDeadlineTimer deadline(kStartMs);
        for (;;) {
            m_reports += m_process.readAllStandardOutput();
            if (m_reports.count('\n') >= n || deadline.hasExpired())
                break;
            m_process.waitForReadyRead(50);
        }
        return QString::fromLatin1(m_reports).split('\n', Qt::SkipEmptyParts);
    }
    QByteArray summary() { return m_process.readAllStandardError(); }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

    QString slavePath;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QElapsedTimer m_clock;
    QByteArray m_reports;
    int m_fd = -1;
};

// The whole stream of a device that ends by itself: read until it hangs up.
QByteArray wholeStream(const QStringList &args)
{
    BenchDevice device;
    if (!device.start(args) || device.port() < 0)
        return {};
    bool hungUp = false;
    const QByteArray bytes = readPort(device.port(), 20000, &hungUp);
    return hungUp && device.finished() ? bytes : QByteArray();
}

// A good image of the record with every byte set, so that a byte the tool should keep but
// changes shows.
QByteArray patternImage()
{
    QByteArray image(TConfigData::kSize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7 + 3);
    std::memcpy(image.data(), "12\0stale", 8);
    return image;
}

} // namespace

class TestBenchDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void streams_data();
    void streams();
    void faultsShow_data();
    void faultsShow();
    void seedGivesSameStream();
    void pacing_data();
    void pacing();
    void setPointsReported();
    void rpmFollowsSetPoint();
    void portOpensAndClosesAtWill();
    void hangsUp();
    void wrongOptions_data();
    void wrongOptions();

    void cfgtoolWritesRecord();
    void cfgtoolKeepsOtherBytes();
    void cfgtoolRejects_data();
    void cfgtoolRejects();

private:
    QByteArray m_plain;     // 200 lines without faults, the baseline of faultsShow
};

void TestBenchDevice::initTestCase()
{
    m_plain = wholeStream({"--fast", "--count", "200", "--linger", "10"});
    QVERIFY(!m_plain.isEmpty());
}

void TestBenchDevice::streams_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("single");

    // Faults the recorder's assembly absorbs: the lines must come out whole.
    QTest::newRow("multi") << QStringList{} << false;
    QTest::newRow("single") << QStringList{"--framing", "single"} << true;
    QTest::newRow("multi, split, CR LF") << QStringList{"--split=1", "--crlf"} << false;
    QTest::newRow("single, CR ETX or ETX, line feeds inside")
        << QStringList{"--framing=single", "--cr-etx=0.5", "--etx=0.5", "--lf-inside=0.5"} << true;
    QTest::newRow("multi, NUL inside") << QStringList{"--nul=0.5"} << false;
}

void TestBenchDevice::streams()
{
    QFETCH(QStringList, args);
    QFETCH(bool, single);

    LineCutter cutter;
    cutter.feed(wholeStream(args + QStringList{"--fast", "--count", "200", "--linger", "10"}));
    QCOMPARE(cutter.lines.size(), 200);

    static const QString value = QStringLiteral("(\\d{5}|-\\d{4})");
    const QRegularExpression packet("^P\\d{5}$");
    const QRegularExpression reading(single ? QString("^[VARC]%1$").arg(value)
                                            : QString("^V%1A%1R%1C%1$").arg(value));
    // idle engine, no set-point, a few seconds of simulated time
    const QMap<char, QPair<int, int>> plausible{
        {'V', {110, 130}}, {'A', {120, 160}}, {'R', {560, 640}}, {'C', {210, 240}}};
    const char order[] = "VARC";
    int next = 0;
    int packets = 0;
    for (const QByteArray &line : std::as_const(cutter.lines)) {
        const QString text = QString::fromLatin1(line);
        if (packet.match(text).hasMatch()) {
            ++packets;
            continue;
        }
        QVERIFY2(reading.match(text).hasMatch(), line.constData());
        for (auto it = plausible.begin(); it != plausible.end(); ++it) {
            const int v = field(line, it.key());
            QVERIFY2(v == -1 || (v >= it.value().first && v <= it.value().second), line.constData());
        }
        if (single) {
            QCOMPARE(line[0], order[next]);
            next = (next + 1) % 4;
        }
    }
    QVERIFY(packets >= 1 && packets <= 12);   // about one line in 50
}

void TestBenchDevice::faultsShow_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("pattern");   // found in the raw stream with the fault, not without

    const QString line = "[VARCP0-9-]";
    QTest::newRow("lower-case tag") << QStringList{"--lower=1"} << "[varcp](\\d{5}|-\\d{4})";
    QTest::newRow("NUL inside") << QStringList{"--nul=1"} << line + "\\x00" + line;
    QTest::newRow("line feeds inside") << QStringList{"--lf-inside=1"} << line + "\\n+" + line;
    QTest::newRow("CR LF") << QStringList{"--crlf"} << "\\d\\r\\n[VP]";
    QTest::newRow("CR ETX") << QStringList{"--cr-etx"} << "\\d\\r\\x03[VP]";
    QTest::newRow("ETX alone") << QStringList{"--etx"} << "\\d\\x03[VP]";
    QTest::newRow("overlong") << QStringList{"--overlong", "1500,0.1"} << "[^\\r\\x03]{1500}";
    QTest::newRow("garbage") << QStringList{"--garbage=1"} << "\\r[^VP]";
    QTest::newRow("garbage only") << QStringList{"--garbage-only"} << "[^VARCP0-9\\r-]";
}

void TestBenchDevice::faultsShow()
{
    QFETCH(QStringList, args);
    QFETCH(QString, pattern);

    const QRegularExpression re(pattern);
    QVERIFY(re.isValid());
    QVERIFY(!re.match(QString::fromLatin1(m_plain)).hasMatch());
    const QByteArray faulty = wholeStream(args + QStringList{"--fast", "--count", "200", "--linger", "10"});
    QVERIFY(!faulty.isEmpty());
    QVERIFY(re.match(QString::fromLatin1(faulty)).hasMatch());
}

void TestBenchDevice::seedGivesSameStream()
{
    const QStringList args{"--fast", "--count", "100", "--linger", "10", "--split", "--garbage"};
    const QByteArray first = wholeStream(args);
    QVERIFY(!first.isEmpty());
    QCOMPARE(wholeStream(args), first);
    const QByteArray seeded = wholeStream(args + QStringList{"--seed", "12345"});
    QVERIFY(!seeded.isEmpty() && seeded != first);
    QCOMPARE(wholeStream(args + QStringList{"--seed=12345"}), seeded);
}

void TestBenchDevice::pacing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("minMs");     // from start to hang-up
    QTest::addColumn<int>("maxMs");

    // 39 lines of 25 bytes after the first at 1920 bytes/s: 0.51 s
    QTest::newRow("19200 baud") << QStringList{"--count", "40"} << 450 << 5000;
    // 9 lines of 7 bytes after the first at 120 bytes/s: 0.53 s
    QTest::newRow("1200 baud") << QStringList{"--framing", "single", "--baud", "1200", "--count", "10"} << 450 << 5000;
    QTest::newRow("10 lines/s") << QStringList{"--rate", "10", "--count", "6"} << 480 << 5000;
    // 26 s of line time at 19200 baud
    QTest::newRow("fast") << QStringList{"--fast", "--count", "2000"} << 0 << 5000;
}

void TestBenchDevice::pacing()
{
    QFETCH(QStringList, args);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    BenchDevice device;
    QVERIFY(device.start(args));
    QVERIFY(device.port() >= 0);
    bool hungUp = false;
    readPort(device.port(), 10000, &hungUp);
    QVERIFY(hungUp);
    const qint64 ms = device.elapsedMs();
    QVERIFY2(ms >= minMs && ms <= maxMs, QByteArray::number(ms).constData());
    QVERIFY(device.finished());
}

void TestBenchDevice::setPointsReported()
{
    BenchDevice device;
    QVERIFY(device.start({"--fast"}));
    QVERIFY(device.port() >= 0);
    const char bytes[] = {0x00, 0x01, 0x32, 0x63, 0x64, char(0xFF)};
    QCOMPARE(::write(device.port(), bytes, sizeof bytes), ssize_t(sizeof bytes));

    const QStringList expected{
        "ignored byte 0x00 (set-points are 1 to 99)",
        "set-point 1",
        "set-point 50",
        "set-point 99",
        "ignored byte 0x64 (set-points are 1 to 99)",
        "ignored byte 0xFF (set-points are 1 to 99)",
    };
    QCOMPARE(device.reports(int(expected.size())), expected);
    QVERIFY(device.stop());
    QVERIFY2(device.summary().contains("3 set-points received, 3 other bytes ignored"), device.summary().constData());
}

void TestBenchDevice::rpmFollowsSetPoint()
{
    BenchDevice device;
    QVERIFY(device.start({"--fast"}));
    const int fd = device.port();
    QVERIFY(fd >= 0);

    LineCutter cutter;
    QDeadlineTimer deadline(kStartMs);
    while (cutter.lines.size() < 300 && !deadline.hasExpired())
        cutter.feed(readPort(fd, 100));
    QVERIFY(cutter.lines.size() >= 300);
    QList<int> before;
    for (const QByteArray &line : std::as_const(cutter.lines))
        if (field(line, 'R') >= 0)
            before.append(field(line, 'R'));
    QVERIFY(*std::min_element(before.begin(), before.end()) > 560);
    QVERIFY(*std::max_element(before.begin(), before.end()) < 640);

    const char setPoint = 50;
    QCOMPARE(::write(fd, &setPoint, 1), ssize_t(1));
    QCOMPARE(device.reports(1), QStringList{"set-point 50"});

    // Read on until the engine has settled well past its lag (2 s of line time is ~150 lines).
    QList<int> after;
    qsizetype reached = -1;
    deadline.setRemainingTime(20000);
    while ((reached < 0 || after.size() - reached < 600) && !deadline.hasExpired()) {
        cutter.lines.clear();
        cutter.feed(readPort(fd, 50));
        for (const QByteArray &line : std::as_const(cutter.lines)) {
            if (field(line, 'R') < 0)
                continue;
            after.append(field(line, 'R'));
            if (reached < 0 && after.last() >= 1450)
                reached = after.size();
        }
    }
    QVERIFY(reached >= 0 && after.size() - reached >= 600);
    for (qsizetype k = after.size() - 200; k < after.size(); ++k)
        QVERIFY2(after[k] > 1465 && after[k] < 1535, QByteArray::number(after[k]).constData());
    const auto between = std::count_if(after.begin(), after.end(), [](int rpm) { return rpm > 700 && rpm < 1400; });
    // about 4 s of line time from 700 to 1400 rpm: no jump
    QVERIFY2(between > 100, QByteArray::number(between).constData());
}

void TestBenchDevice::portOpensAndClosesAtWill()
{
    QTemporaryDir dir;
    BenchDevice device;
    // a link left by an earlier run is replaced
    QVERIFY(QFile::link("/nonexistent/pts", device.link()));
    QVERIFY(device.start({"--rate", "50"}));
    QCOMPARE(QFileInfo(device.link()).symLinkTarget(), device.slavePath);

    for (int round = 0; round < 3; ++round) {
        QVERIFY(device.port() >= 0);
        bool hungUp = true;
        QVERIFY(readPort(device.port(), 200, &hungUp).contains('\r'));
        QVERIFY(!hungUp);
        device.closePort();
    }
    QVERIFY(device.stop());
    QVERIFY(!QFileInfo::exists(device.link()) && !QFileInfo(device.link()).isSymLink());
    QVERIFY(device.summary().startsWith("bench-device: "));

    // a file that is not a link is never replaced
    const QString taken = dir.filePath("COM2");
    QFile file(taken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    QByteArray err;
    QCOMPARE(runTool(QStringLiteral(BENCH_DEVICE), {"--link", taken, "--count", "1"}, nullptr, &err), 1);
    QVERIFY(err.contains("not a symbolic link"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
}

void TestBenchDevice::hangsUp()
{
    BenchDevice device;
    QVERIFY(device.start({"--rate", "20", "--hangup-after", "1"}));
    QVERIFY(device.port() >= 0);
    bool hungUp = false;
    const QByteArray got = readPort(device.port(), 5000, &hungUp);
    QVERIFY(hungUp);
    QVERIFY(got.contains('\r'));
    QVERIFY2(device.elapsedMs() >= 950 && device.elapsedMs() < 4000, QByteArray::number(device.elapsedMs()).constData());
    QVERIFY(device.finished());
    QVERIFY(device.summary().contains("hung up"));
    QVERIFY(!QFileInfo(device.link()).isSymLink());
}

void TestBenchDevice::wrongOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown") << QStringList{"--bogus"} << "unknown option";
    QTest::newRow("framing") << QStringList{"--framing=triple"} << "--framing";
    QTest::newRow("baud zero") << QStringList{"--baud", "0"} << "--baud";
    QTest::newRow("count not a number") << QStringList{"--count", "12x"} << "--count";
    QTest::newRow("chance above 1") << QStringList{"--split=1.5"} << "--split";
    QTest::newRow("value missing") << QStringList{"--overlong"} << "needs a value";
    QTest::newRow("overlong chance") << QStringList{"--overlong", "100,0"} << "--overlong";
    QTest::newRow("switch with value") << QStringList{"--fast=1"} << "takes no value";
}

void TestBenchDevice::wrongOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);

    QByteArray out;
    QByteArray err;
    QCOMPARE(runTool(QStringLiteral(BENCH_DEVICE), args, &out, &err), 2);
    QVERIFY(out.isEmpty());     // no device was made
    QVERIFY2(err.contains(message.toLatin1()), err.constData());
}

void TestBenchDevice::cfgtoolWritesRecord()
{
    QTemporaryDir dir;
    const QString cfg = dir.filePath("Cfg");
    QCOMPARE(runTool(QStringLiteral(CFGTOOL), {cfg, "port=1", "speed=2", "parity=1", "databits=1", "stopbits=1", "polling=5",
                               "simulation=1", "singlepackets=1", "vmin=-5", "vmax=15", "vmult=0.1", "vdec=1",
                               "amin=0", "amax=10", "amult=0.01", "adec=2", "rmin=100", "rmax=3000", "rmult=1",
                               "rdec=0", "cmin=-20", "cmax=120", "cmult=0.1", "cdec=3"}),
             0);

    TConfigData record;
    record.Load(QFile::encodeName(cfg).constData());
    char port[TConfigData::kPortSize];
    record.Port(port);
    QCOMPARE(QByteArray(port), QByteArray("1"));
    QCOMPARE(QList<int>({record.Speed(), record.Parity(), record.DataBits(), record.StopBits(), record.Polling(),
                         record.Simulation(), record.SinglePackets()}),
             QList<int>({2, 1, 1, 1, 5, 1, 1}));
    QCOMPARE(QList<int>({record.VMin(), record.VMax(), record.VDec(), record.AMin(), record.AMax(), record.ADec(),
                         record.RMin(), record.RMax(), record.RDec(), record.CMin(), record.CMax(), record.CDec()}),
             QList<int>({-5, 15, 1, 0, 10, 2, 100, 3000, 0, -20, 120, 3}));
    QCOMPARE(QList<double>({record.VMult(), record.AMult(), record.RMult(), record.CMult()}),
             QList<double>({0.1, 0.01, 1.0, 0.1}));

    QByteArray out;
    QCOMPARE(runTool(QStringLiteral(CFGTOOL), {cfg}, &out), 0);
    const QString shown = QString::fromLatin1(out);
    for (const char *line : {"^Port +\"1\" \\(device COM1\\)$", "^Speed +2 \\(4800 baud\\)$", "^DataBits +1 \\(eight\\)$",
                             "^AMult +0.01 ", "^CDec +3 \\(decimals shown\\)$"}) {
        const QRegularExpression re(line, QRegularExpression::MultilineOption);
        QVERIFY2(re.match(shown).hasMatch(), line);
    }
}

void TestBenchDevice::cfgtoolKeepsOtherBytes()
{
    QTemporaryDir dir;
    const QString cfg = dir.filePath("Cfg");
    QFile file(cfg);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(patternImage());
    file.close();

    TConfigData expected;
    expected.Load(QFile::encodeName(cfg).constData());
    expected.SetPort("1");
    expected.SetLine(expected.Speed(), expected.Parity(), expected.DataBits(), 1);
    expected.SetV(expected.VMin(), expected.VMax(), 0.25, expected.VDec());

    QCOMPARE(runTool(QStringLiteral(CFGTOOL), {cfg, "port=1", "stopbits=1", "vmult=0.25"}), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(reinterpret_cast<const char *>(expected.Image()), TConfigData::kSize));
}

void TestBenchDevice::cfgtoolRejects_data()
{
    QTest::addColumn<QStringList>("assignments");

    QTest::newRow("not a number") << QStringList{"speed=abc"};
    QTest::newRow("empty value") << QStringList{"speed="};
    QTest::newRow("choice out of list") << QStringList{"speed=5"};
    QTest::newRow("switch not 0 or 1") << QStringList{"simulation=2"};
    QTest::newRow("trailing garbage") << QStringList{"vmult=0.1x"};
    QTest::newRow("not finite") << QStringList{"amult=nan"};
    QTest::newRow("fraction for whole") << QStringList{"vdec=1.5"};
    QTest::newRow("beyond int32") << QStringList{"rmax=99999999999"};
    QTest::newRow("port too long") << QStringList{"port=1234567890123456"};
    QTest::newRow("unknown key") << QStringList{"bogus=1"};
    QTest::newRow("no equals") << QStringList{"speed"};
    QTest::newRow("good before bad") << QStringList{"speed=1", "parity=x"};
}

void TestBenchDevice::cfgtoolRejects()
{
    QFETCH(QStringList, assignments);

    QTemporaryDir dir;
    const QString cfg = dir.filePath("Cfg");
    QFile file(cfg);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(patternImage());
    file.close();

    QByteArray err;
    QCOMPARE(runTool(QStringLiteral(CFGTOOL), QStringList{cfg} + assignments, nullptr, &err), 2);
    QVERIFY(err.contains("nothing written"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), patternImage());
}

QTEST_GUILESS_MAIN(TestBenchDevice)
#include "tst_benchdevice.moc"
