// The Debian package: built from this build tree with CPack, it holds the program, its desktop
// entry and icon, computed dependencies, and nothing that points back into the build tree.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contents_data();
    void contents();
    void dependencies_data();
    void dependencies();
    void desktopEntry();
    void programNeedsNoBuildTree();

private:
    static QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr);

    QTemporaryDir m_dir;
    QString m_deb;
};

QString TestPackage::run(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    p.waitForFinished(300000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAll());
}

void TestPackage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    int rc = 0;
    const QString log = run(QStringLiteral(CPACK_COMMAND),
                            {"--config", QStringLiteral(CPACK_CONFIG), "-G", "DEB", "-B", m_dir.path()}, &rc);
    QVERIFY2(rc == 0, qPrintable(log));
    const QStringList debs = QDir(m_dir.path()).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = m_dir.filePath(debs.first());
    QVERIFY(QFileInfo(m_deb).fileName().startsWith(QLatin1String("rotavolt-recorder_")));
}

void TestPackage::contents_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << "./usr/bin/rotavolt-recorder";
    QTest::newRow("desktop entry") << "./usr/share/applications/rotavolt-recorder.desktop";
    QTest::newRow("icon") << "./usr/share/icons/hicolor/scalable/apps/rotavolt-recorder.svg";
    QTest::newRow("licence") << "./usr/share/doc/rotavolt-recorder/copyright";
}

void TestPackage::contents()
{
    QFETCH(QString, path);
    const QString listing = run("dpkg-deb", {"-c", m_deb});
    QVERIFY2(listing.contains(QLatin1Char(' ') + path + QLatin1Char('\n')), qPrintable(listing));
    // nothing of the tests, benchmarks or tools goes into it
    QVERIFY(!listing.contains(QLatin1String("tst_")));
    QVERIFY(!listing.contains(QLatin1String("bench")));
    QVERIFY(!listing.contains(QLatin1String("cfgtool")));
}

void TestPackage::dependencies_data()
{
    QTest::addColumn<QString>("package");
    QTest::newRow("widgets") << "libqt6widgets6";
    QTest::newRow("serial port") << "libqt6serialport6";
    QTest::newRow("chart") << "libqcustomplot";
    QTest::newRow("C library") << "libc6";
    QTest::newRow("window-system plugin") << "qt6-qpa-plugins";
}

void TestPackage::dependencies()
{
    QFETCH(QString, package);
    const QString depends = run("dpkg-deb", {"-f", m_deb, "Depends"});
    // computed with their versions, as dpkg-shlibdeps writes them
    QVERIFY2(depends.contains(package), qPrintable(depends));
    QVERIFY2(depends.contains(QRegularExpression(QStringLiteral("libqt6core6[^,]* \\(>= "))), qPrintable(depends));
}

void TestPackage::desktopEntry()
{
    const QString extract = m_dir.filePath("root");
    run("dpkg-deb", {"-x", m_deb, extract});
    QFile entry(extract + "/usr/share/applications/rotavolt-recorder.desktop");
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY(text.contains(QLatin1String("\nName=Rotavolt recorder\n")));
    QVERIFY(text.contains(QLatin1String("\nExec=rotavolt-recorder\n")));
    QVERIFY(text.contains(QLatin1String("\nIcon=rotavolt-recorder\n")));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\nCategories=[^\\n]*Science;"))));
    QFile icon(extract + "/usr/share/icons/hicolor/scalable/apps/rotavolt-recorder.svg");
    QVERIFY(icon.open(QIODevice::ReadOnly));
    QVERIFY(icon.readAll().contains("<svg"));
}

void TestPackage::programNeedsNoBuildTree()
{
    const QString extract = m_dir.filePath("root");
    run("dpkg-deb", {"-x", m_deb, extract});
    const QString dynamic = run("readelf", {"-d", extract + "/usr/bin/rotavolt-recorder"});
    QVERIFY(dynamic.contains(QLatin1String("NEEDED")));
    QVERIFY2(!dynamic.contains(QLatin1String("RPATH")) && !dynamic.contains(QLatin1String("RUNPATH")),
             qPrintable(dynamic));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
