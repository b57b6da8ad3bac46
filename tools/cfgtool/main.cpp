// cfgtool: shows and edits the recorder's 128-byte configuration file "Cfg" through the record
// the recorder itself uses, so the file is always what the configuration dialog would write.
#include "config/ConfigData.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
constexpr int kFileError = 1;
constexpr int kNameWidth = 14;

const char *const kSpeeds[] = {"19200 baud", "9600 baud", "4800 baud", "2400 baud", "1200 baud"};
const char *const kParities[] = {"none", "even", "odd"};
const char *const kStopBits[] = {"one", "two"};
const char *const kDataBits[] = {"seven", "eight"};
const char *const kPollings[] = {"sample every 1 s", "sample every 2 s", "sample every 5 s",
                                 "sample every 10 s", "sample every 30 s", "sample every 60 s"};

struct ChannelFields
{
    char key;               // first letter of the keys: vmin, vmax, vmult, vdec
    const char *name;       // V, A, R, C as in the record's accessors
    const char *what;
    int32_t (TConfigData::*min)() const;
    int32_t (TConfigData::*max)() const;
    double (TConfigData::*mult)() const;
    int32_t (TConfigData::*dec)() const;
    void (TConfigData::*set)(int32_t, int32_t, double, int32_t);
};

const ChannelFields kChannels[] = {
    {'v', "V", "voltage", &TConfigData::VMin, &TConfigData::VMax, &TConfigData::VMult, &TConfigData::VDec, &TConfigData::SetV},
    {'a', "A", "current", &TConfigData::AMin, &TConfigData::AMax, &TConfigData::AMult, &TConfigData::ADec, &TConfigData::SetA},
    {'r', "R", "rpm", &TConfigData::RMin, &TConfigData::RMax, &TConfigData::RMult, &TConfigData::RDec, &TConfigData::SetR},
    {'c', "C", "temperature", &TConfigData::CMin, &TConfigData::CMax, &TConfigData::CMult, &TConfigData::CDec, &TConfigData::SetC},
};

// Bytes of the record that no field uses; shown so that a stray value there is seen.
struct UnusedRange { int from; int count; };
constexpr UnusedRange kUnused[] = {{37, 3}, {121, 7}};

void usage(std::FILE *to)
{
    std::fputs(R"(Usage: cfgtool FILE                 show every field of the configuration file
       cfgtool FILE KEY=VALUE...       set fields and save
       cfgtool --help | --version

FILE is the recorder's 128-byte configuration file, normally "Cfg" in its working folder.
When setting, an existing FILE is loaded first (bytes no field uses are kept as they are);
otherwise the record starts all zero. Every value is checked before anything is written: one
wrong value writes nothing and exits with status 2.

Keys (choices are stored as the index of the item chosen in the configuration dialog):
  port=TEXT        the text after "COM", at most 15 characters ("1" opens COM1; a text
                   beginning with 0 opens no port)
  speed=0..4       19200, 9600, 4800, 2400, 1200 baud
  parity=0..2      none, even, odd
  databits=0..1    seven, eight (a pseudo-terminal needs eight and no parity)
  stopbits=0..1    one, two
  polling=0..5     sample time 1, 2, 5, 10, 30, 60 s
  simulation=0|1   1: readings are made up, no device
  singlepackets=0|1  0: several tagged readings per line, 1: one reading per line
  Per channel, X one of v (voltage), a (current), r (rpm), c (temperature):
  Xmin=N Xmax=N    the meter's scale, whole numbers
  Xmult=R          multiplier applied to every reading (e.g. 0.1)
  Xdec=N           decimals shown (0 to 3 are formatted)

Example, for the bench device on a pseudo-terminal linked as COM1:
  cfgtool Cfg port=1 speed=0 parity=0 databits=1 stopbits=0 polling=0 \
      vmin=0 vmax=15 vmult=0.1 vdec=1 amin=0 amax=10 amult=0.01 adec=2 \
      rmin=0 rmax=3000 rmult=1 rdec=0 cmin=0 cmax=100 cmult=0.1 cdec=1
)",
               to);
}

bool readInt(const std::string &text, int32_t &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool readDouble(const std::string &text, double &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && std::isfinite(value);
}

std::string doubleText(double value)
{
    char text[64];
    const auto [ptr, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, ptr) : std::string("?");
}

template <size_t N>
std::string choice(int32_t value, const char *const (&items)[N], const char *fallback)
{
    if (value >= 0 && size_t(value) < N)
        return items[value];
    return std::string("not a choice: ") + fallback;
}

void printField(const char *name, const std::string &value, const std::string &meaning)
{
    std::printf("%-*s %s (%s)\n", kNameWidth, name, value.c_str(), meaning.c_str());
}

std::string portText(const char *port)
{
    std::string text = "\"";
    for (const char *p = port; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(c));
            text += escaped;
        } else {
            text += char(c);
        }
    }
    return text + "\"";
}

void print(const TConfigData &record)
{
    char port[TConfigData::kPortSize];
    record.Port(port);
    printField("Port", portText(port),
               port[0] == '\0' ? "empty: no port" : port[0] == '0' ? "no port" : std::string("device COM") + port);
    printField("Speed", std::to_string(record.Speed()), choice(record.Speed(), kSpeeds, "9600 baud"));
    printField("Parity", std::to_string(record.Parity()), choice(record.Parity(), kParities, "none"));
    printField("StopBits", std::to_string(record.StopBits()), choice(record.StopBits(), kStopBits, "one"));
    printField("DataBits", std::to_string(record.DataBits()), choice(record.DataBits(), kDataBits, "seven"));
    printField("Polling", std::to_string(record.Polling()),
               choice(record.Polling(), kPollings, "the sample time stays as it was"));
    printField("Simulation", std::to_string(record.Simulation()),
               record.Simulation() == 0 ? "readings from the device" : "simulated readings");
    printField("SinglePackets", std::to_string(record.SinglePackets()),
               record.SinglePackets() == 0   ? "several tagged readings per line"
               : record.SinglePackets() == 1 ? "one reading per line"
                                             : "neither framing: lines give no readings");
    for (const ChannelFields &ch : kChannels) {
        const std::string name = ch.name;
        const int32_t dec = (record.*ch.dec)();
        printField((name + "Min").c_str(), std::to_string((record.*ch.min)()), std::string(ch.what) + " meter, lower end");
        printField((name + "Max").c_str(), std::to_string((record.*ch.max)()), std::string(ch.what) + " meter, upper end");
        printField((name + "Dec").c_str(), std::to_string(dec),
                   dec >= 0 && dec <= 3 ? "decimals shown"
                                        : "decimals shown: " + std::to_string(dec < 0 ? 0 : 3) + ", the nearer of 0 and 3");
        const std::string mult = doubleText((record.*ch.mult)());
        printField((name + "Mult").c_str(), mult, std::string(ch.what) + " = received value x " + mult);
    }
    for (const UnusedRange &range : kUnused) {
        std::string bytes;
        for (int k = 0; k < range.count; ++k) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%s%02X", k ? " " : "", unsigned(record.Image()[range.from + k]));
            bytes += hex;
        }
        const std::string name = "Unused" + std::to_string(range.from);
        printField(name.c_str(), bytes, "bytes " + std::to_string(range.from) + " to "
                                            + std::to_string(range.from + range.count - 1) + ", kept as they are");
    }
}

using Change = std::function<void(TConfigData &)>;

// Turns one KEY=VALUE into a change of the record, or says what is wrong with it.
bool parseAssignment(const std::string &arg, Change &change, std::string &error)
{
    const auto eq = arg.find('=');
    if (eq == std::string::npos) {
        error = "\"" + arg + "\" is not KEY=VALUE";
        return false;
    }
    const std::string key = arg.substr(0, eq);
    const std::string value = arg.substr(eq + 1);

    if (key == "port") {
        if (value.size() > size_t(TConfigData::kPortMaxLength)) {
            error = "port: at most 15 characters, not \"" + value + "\"";
            return false;
        }
        for (const char c : value) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                error = "port: control characters are not allowed";
                return false;
            }
        }
        change = [value](TConfigData &r) { r.SetPort(value.c_str()); };
        return true;
    }

    int32_t number = 0;
    const auto wholeIn = [&](int32_t low, int32_t high) {
        if (readInt(value, number) && number >= low && number <= high)
            return true;
        error = key + ": expected a whole number from " + std::to_string(low) + " to " + std::to_string(high)
                + ", not \"" + value + "\"";
        return false;
    };

    if (key == "speed" || key == "parity" || key == "databits" || key == "stopbits") {
        const int32_t high = key == "speed" ? int32_t(std::size(kSpeeds)) - 1 : key == "parity" ? 2 : 1;
        if (!wholeIn(0, high))
            return false;
        change = [key, number](TConfigData &r) {
            r.SetLine(key == "speed" ? number : r.Speed(), key == "parity" ? number : r.Parity(),
                      key == "databits" ? number : r.DataBits(), key == "stopbits" ? number : r.StopBits());
        };
        return true;
    }
    if (key == "polling") {
        if (!wholeIn(0, int32_t(std::size(kPollings)) - 1))
            return false;
        change = [number](TConfigData &r) { r.SetPolling(number); };
        return true;
    }
    if (key == "simulation" || key == "singlepackets") {
        if (!wholeIn(0, 1))
            return false;
        const auto on = static_cast<uint8_t>(number);
        if (key == "simulation")
            change = [on](TConfigData &r) { r.SetSimulation(on); };
        else
            change = [on](TConfigData &r) { r.SetSinglePackets(on); };
        return true;
    }

    for (const ChannelFields &ch : kChannels) {
        if (key.size() < 2 || key[0] != ch.key)
            continue;
        const std::string field = key.substr(1);
        if (field == "mult") {
            double mult = 0;
            if (!readDouble(value, mult)) {
                error = key + ": expected a finite number such as 0.1, not \"" + value + "\"";
                return false;
            }
            change = [&ch, mult](TConfigData &r) {
                (r.*ch.set)((r.*ch.min)(), (r.*ch.max)(), mult, (r.*ch.dec)());
            };
            return true;
        }
        if (field == "min" || field == "max" || field == "dec") {
            if (!wholeIn(INT32_MIN, INT32_MAX))
                return false;
            change = [&ch, field, number](TConfigData &r) {
                (r.*ch.set)(field == "min" ? number : (r.*ch.min)(), field == "max" ? number : (r.*ch.max)(),
                            (r.*ch.mult)(), field == "dec" ? number : (r.*ch.dec)());
            };
            return true;
        }
    }
    error = "unknown key \"" + key + "\" (see --help)";
    return false;
}

// The file's first 128 bytes, or fewer when it is shorter; empty when it cannot be read.
std::vector<char> fileHead(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes(TConfigData::kSize);
    in.read(bytes.data(), TConfigData::kSize);
    bytes.resize(size_t(in.gcount()));
    return bytes;
}

bool exists(const char *path)
{
    return std::ifstream(path, std::ios::binary).is_open();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        usage(stderr);
        return kUsageError;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        usage(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("cfgtool %s\n", ROTAVOLT_VERSION);
        return 0;
    }
    if (first.empty() || first[0] == '-') {
        std::fprintf(stderr, "cfgtool: unknown option \"%s\" (see --help)\n", first.c_str());
        return kUsageError;
    }
    const char *path = argv[1];

    if (argc == 2) {
        if (fileHead(path).size() < size_t(TConfigData::kSize)) {
            std::fprintf(stderr, "cfgtool: %s: no configuration (missing, unreadable or shorter than %d bytes)\n",
                         path, TConfigData::kSize);
            return kFileError;
        }
        TConfigData record;
        record.Load(path);
        print(record);
        return 0;
    }

    std::vector<Change> changes;
    for (int i = 2; i < argc; ++i) {
        Change change;
        std::string error;
        if (!parseAssignment(argv[i], change, error)) {
            std::fprintf(stderr, "cfgtool: %s; nothing written\n", error.c_str());
            return kUsageError;
        }
        changes.push_back(change);
    }

    TConfigData record;
    if (exists(path)) {
        if (fileHead(path).size() < size_t(TConfigData::kSize))
            std::fprintf(stderr, "cfgtool: %s is shorter than %d bytes, not a configuration: starting from zero\n",
                         path, TConfigData::kSize);
        record.Load(path);
    }
    for (const Change &change : changes)
        change(record);
    record.Save(path);

    // Save is silent, as the recorder wants it; here a failed write must be said.
    const std::vector<char> written = fileHead(path);
    if (written.size() != size_t(TConfigData::kSize) || std::memcmp(written.data(), record.Image(), written.size()) != 0) {
        std::fprintf(stderr, "cfgtool: cannot write %s\n", path);
        return kFileError;
    }
    return 0;
}
