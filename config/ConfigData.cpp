// The configuration record and its file "Cfg".
#include "config/ConfigData.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

TConfigData ConfigData;

int32_t TConfigData::Port(char *dest) const
{
    int32_t n = 0;
    while (n < kPortMaxLength && m_image[oPort + n] != 0) {
        dest[n] = static_cast<char>(m_image[oPort + n]);
        ++n;
    }
    dest[n] = '\0';
    return n;
}

void TConfigData::SetPort(const char *text)
{
    int32_t n = 0;
    while (n < kPortMaxLength && text[n] != '\0') {
        m_image[oPort + n] = static_cast<uint8_t>(text[n]);
        ++n;
    }
    m_image[oPort + n] = 0;
}

void TConfigData::SetLine(int32_t speed, int32_t parity, int32_t dataBits, int32_t stopBits)
{
    setInt32(oSpeed, speed);
    setInt32(oParity, parity);
    setInt32(oDataBits, dataBits);
    setInt32(oStopBits, stopBits);
}

void TConfigData::SetPolling(int32_t polling) { setInt32(oPolling, polling); }
void TConfigData::SetSimulation(uint8_t on) { m_image[oSimulation] = on; }
void TConfigData::SetSinglePackets(uint8_t on) { m_image[oSinglePackets] = on; }

void TConfigData::SetV(int32_t min, int32_t max, double mult, int32_t dec) { setGroup(oVMin, oVMult, min, max, mult, dec); }
void TConfigData::SetA(int32_t min, int32_t max, double mult, int32_t dec) { setGroup(oAMin, oAMult, min, max, mult, dec); }
void TConfigData::SetR(int32_t min, int32_t max, double mult, int32_t dec) { setGroup(oRMin, oRMult, min, max, mult, dec); }
void TConfigData::SetC(int32_t min, int32_t max, double mult, int32_t dec) { setGroup(oCMin, oCMult, min, max, mult, dec); }

// A channel group is minimum, maximum and decimals at consecutive int32 offsets.
void TConfigData::setGroup(int minOffset, int multOffset, int32_t min, int32_t max, double mult, int32_t dec)
{
    setInt32(minOffset, min);
    setInt32(minOffset + 4, max);
    setInt32(minOffset + 8, dec);
    setDouble(multOffset, mult);
}

// The image is little-endian whatever the host: assemble the bytes explicitly.
int32_t TConfigData::int32At(int offset) const
{
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | m_image[offset + i];
    return static_cast<int32_t>(u);
}

void TConfigData::setInt32(int offset, int32_t value)
{
    auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i, u >>= 8)
        m_image[offset + i] = static_cast<uint8_t>(u & 0xFFu);
}

double TConfigData::doubleAt(int offset) const
{
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | m_image[offset + i];
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

void TConfigData::setDouble(int offset, double value)
{
    uint64_t u;
    std::memcpy(&u, &value, sizeof u);
    for (int i = 0; i < 8; ++i, u >>= 8)
        m_image[offset + i] = static_cast<uint8_t>(u & 0xFFu);
}

void TConfigData::Load(const char *fileName)
{
    QFile file(QString::fromLocal8Bit(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return;
    uint8_t buffer[kSize];
    if (file.read(reinterpret_cast<char *>(buffer), kSize) != kSize)
        return; // a short or unreadable file is no record: keep the one we have
    std::memcpy(m_image, buffer, kSize);
}

void TConfigData::Save(const char *fileName) const
{
    // Unbuffered, so that a short write shows here: a buffered QSaveFile flushes at commit and
    // renames the temporary file over the old one even when that flush fell short.
    QSaveFile file(QString::fromLocal8Bit(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    if (file.write(reinterpret_cast<const char *>(m_image), kSize) != kSize) {
        file.cancelWriting();
        return;
    }
#ifdef Q_OS_UNIX
    // on disk before the rename, so that a power cut leaves the old record or the new one
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return;
    }
#endif
    file.commit();
}
