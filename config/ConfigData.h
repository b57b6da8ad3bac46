// The configuration record: a 128-byte little-endian image that is byte for byte the file "Cfg".
// The image is the storage, so bytes the program does not use (and those after Port's NUL)
// keep whatever the last loaded file held and are written back as they stand.
#pragma once

#include <cstdint>

class TConfigData
{
public:
    static constexpr int kSize = 128;
    static constexpr int kPortSize = 16;             // Port text: at most 15 characters and a NUL
    static constexpr int kPortMaxLength = kPortSize - 1;

    // Byte offsets of the fields in the image.
    enum Offset : int {
        oPort = 0,
        oSpeed = 16,
        oParity = 20,
        oStopBits = 24,
        oDataBits = 28,
        oPolling = 32,
        oSimulation = 36,
        oVMin = 40, oVMax = 44, oVDec = 48,
        oAMin = 52, oAMax = 56, oADec = 60,
        oRMin = 64, oRMax = 68, oRDec = 72,
        oCMin = 76, oCMax = 80, oCDec = 84,
        oVMult = 88, oAMult = 96, oRMult = 104, oCMult = 112,
        oSinglePackets = 120,
    };

    // Copies the Port text into dest (kPortSize bytes), always NUL-terminated: a field without a
    // NUL in its 16 bytes reads as its first 15 characters. Returns the text's length.
    int32_t Port(char *dest) const;
    int32_t Speed() const { return int32At(oSpeed); }
    int32_t Parity() const { return int32At(oParity); }
    int32_t StopBits() const { return int32At(oStopBits); }
    int32_t DataBits() const { return int32At(oDataBits); }
    int32_t Polling() const { return int32At(oPolling); }
    uint8_t Simulation() const { return m_image[oSimulation]; }
    uint8_t SinglePackets() const { return m_image[oSinglePackets]; }
    int32_t VMin() const { return int32At(oVMin); }
    int32_t VMax() const { return int32At(oVMax); }
    int32_t VDec() const { return int32At(oVDec); }
    int32_t AMin() const { return int32At(oAMin); }
    int32_t AMax() const { return int32At(oAMax); }
    int32_t ADec() const { return int32At(oADec); }
    int32_t RMin() const { return int32At(oRMin); }
    int32_t RMax() const { return int32At(oRMax); }
    int32_t RDec() const { return int32At(oRDec); }
    int32_t CMin() const { return int32At(oCMin); }
    int32_t CMax() const { return int32At(oCMax); }
    int32_t CDec() const { return int32At(oCDec); }
    double VMult() const { return doubleAt(oVMult); }
    double AMult() const { return doubleAt(oAMult); }
    double RMult() const { return doubleAt(oRMult); }
    double CMult() const { return doubleAt(oCMult); }

    // Writes the text's characters and its NUL, nothing more; a text longer than 15 characters
    // is cut to 15 so that it never runs into Speed.
    void SetPort(const char *text);
    void SetLine(int32_t speed, int32_t parity, int32_t dataBits, int32_t stopBits);
    void SetPolling(int32_t polling);
    void SetSimulation(uint8_t on);
    void SetSinglePackets(uint8_t on);
    // One call per channel group, as the dialog stores them.
    void SetV(int32_t min, int32_t max, double mult, int32_t dec);
    void SetA(int32_t min, int32_t max, double mult, int32_t dec);
    void SetR(int32_t min, int32_t max, double mult, int32_t dec);
    void SetC(int32_t min, int32_t max, double mult, int32_t dec);

    // Reads the first 128 bytes of the file. A file that cannot be opened, or holds fewer than
    // 128 bytes, leaves the record as it was. Silent.
    void Load(const char *fileName);
    // Replaces the file with the 128 bytes through a temporary file, so that a failed write
    // leaves the old file whole. Silent.
    void Save(const char *fileName) const;

    const uint8_t *Image() const { return m_image; }

private:
    int32_t int32At(int offset) const;
    double doubleAt(int offset) const;
    void setInt32(int offset, int32_t value);
    void setDouble(int offset, double value);
    void setGroup(int minOffset, int multOffset, int32_t min, int32_t max, double mult, int32_t dec);

    uint8_t m_image[kSize] = {};
};

extern TConfigData ConfigData;
