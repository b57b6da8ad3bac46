// Any file as "Cfg": loading it never reads past the record, every field reads back, and a
// whole record saves byte for byte as it was loaded.
#include "config/ConfigData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("Cfg"));
    const QString out = dir.filePath(QStringLiteral("Out"));
    {
        QFile f(in);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TConfigData record;
    record.SetPolling(77);
    record.Load(QFile::encodeName(in).constData());

    char port[TConfigData::kPortSize];
    check(record.Port(port) < TConfigData::kPortSize);
    check(std::strlen(port) < size_t(TConfigData::kPortSize));
    volatile double sink = record.VMult() + record.AMult() + record.RMult() + record.CMult();
    volatile int64_t ints = int64_t(record.Speed()) + record.Parity() + record.StopBits() + record.DataBits()
        + record.VMin() + record.CMax() + record.RDec() + record.Simulation() + record.SinglePackets();
    (void)sink;
    (void)ints;

    if (size < size_t(TConfigData::kSize)) {
        check(record.Polling() == 77);   // not a record: nothing was taken from it
        return 0;
    }
    record.Save(QFile::encodeName(out).constData());
    check(readAll(out) == QByteArray(reinterpret_cast<const char *>(data), TConfigData::kSize));
    return 0;
}
