// The bytes the device sends, built from the engine model with the requested faults mixed in.
#include "LineStream.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr char kCr = 0x0D;
constexpr char kLf = 0x0A;
constexpr char kEtx = 0x03;
constexpr int kBitsPerByte = 10;        // start bit, 8 data bits, stop bit
constexpr int kValueMax = 99999;
constexpr int kNegativeMax = 9999;      // the sign takes one of the five characters
constexpr int kPacketModulo = 100000;
constexpr const char kTags[] = "VARC";

} // namespace

std::string valueText(int value)
{
    char text[8];
    if (value < 0)
        std::snprintf(text, sizeof text, "-%04d", std::min(-value, kNegativeMax));
    else
        std::snprintf(text, sizeof text, "%05d", std::min(value, kValueMax));
    return text;
}

LineStream::LineStream(const BenchOptions &options)
    : m_options(options)
    , m_random(options.seed)
{
}

bool LineStream::due(double chance)
{
    return chance > 0 && std::uniform_real_distribution<double>(0, 1)(m_random) < chance;
}

int LineStream::between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

std::string LineStream::readings()
{
    const auto field = [this](int tag) {
        int value = 0;
        switch (tag) {
        case 0: value = m_engine.voltsTenths(m_random); break;
        case 1: value = m_engine.ampsHundredths(m_random); break;
        case 2: value = m_engine.rpm(m_random); break;
        default: value = m_engine.celsiusTenths(m_random); break;
        }
        return kTags[tag] + valueText(value);
    };
    if (m_options.framing == Framing::Single) {
        const int tag = m_nextTag;
        m_nextTag = (m_nextTag + 1) % 4;
        return field(tag);
    }
    return field(0) + field(1) + field(2) + field(3);
}

// Faults inside the line, before its terminator.
void LineStream::applyFaults(std::string &line)
{
    if (due(m_options.lower)) {
        // one tag: the line's own in single framing, any of the four in a multi-field line
        std::vector<size_t> tags;
        for (size_t i = 0; i < line.size(); ++i)
            if (std::isupper(static_cast<unsigned char>(line[i])))
                tags.push_back(i);
        if (!tags.empty()) {
            const size_t at = tags[size_t(between(0, int(tags.size()) - 1))];
            line[at] = char(std::tolower(static_cast<unsigned char>(line[at])));
        }
    }
    if (due(m_options.lfInside)) {
        for (int n = between(1, 2); n > 0; --n)
            line.insert(size_t(between(1, int(line.size()) - 1)), 1, kLf);
    }
    if (due(m_options.nul))
        line.insert(size_t(between(1, int(line.size()) - 1)), 1, '\0');
}

std::string LineStream::terminator()
{
    std::vector<std::string> endings;
    if (due(m_options.crlf))
        endings.push_back({kCr, kLf});
    if (due(m_options.crEtx))
        endings.push_back({kCr, kEtx});
    if (due(m_options.etx))
        endings.push_back({kEtx});
    if (endings.empty())
        return {kCr};
    return endings[size_t(between(0, int(endings.size()) - 1))];
}

std::string LineStream::randomBytes(int n)
{
    std::string bytes(size_t(n), '\0');
    for (char &b : bytes)
        b = static_cast<char>(between(0, 255));
    return bytes;
}

// Printable bytes without a terminator or line feed, for the overlong line.
std::string LineStream::filler(int n)
{
    std::string bytes(size_t(n), '\0');
    for (char &b : bytes)
        b = static_cast<char>(between(' ', '~'));
    return bytes;
}

Step LineStream::next()
{
    Step step;
    std::string bytes;
    if (m_options.garbageOnly) {
        bytes = randomBytes(between(16, 64));
    } else {
        if (m_options.overlong > 0 && due(m_options.overlongRate))
            bytes = filler(m_options.overlong);
        std::string line;
        if (between(1, kPacketEvery) == 1) {
            m_packet = (m_packet + 1) % kPacketModulo;
            line = "P" + valueText(m_packet);
        } else {
            line = readings();
        }
        applyFaults(line);
        bytes += line + terminator();
        if (due(m_options.garbage))
            bytes += randomBytes(between(1, 24));
    }

    if (due(m_options.split) && bytes.size() >= 2) {
        const int pieces = std::min(between(2, 4), int(bytes.size()));
        std::vector<int> cuts;
        while (int(cuts.size()) < pieces - 1) {
            const int cut = between(1, int(bytes.size()) - 1);
            if (std::find(cuts.begin(), cuts.end(), cut) == cuts.end())
                cuts.push_back(cut);
        }
        std::sort(cuts.begin(), cuts.end());
        int from = 0;
        for (size_t k = 0; k <= cuts.size(); ++k) {
            const int to = k < cuts.size() ? cuts[k] : int(bytes.size());
            step.pieces.push_back({bytes.substr(size_t(from), size_t(to - from)), k == 0 ? 0 : between(1, 5)});
            from = to;
        }
    } else {
        step.pieces.push_back({bytes, 0});
    }

    step.seconds = double(bytes.size()) * kBitsPerByte / m_options.baud;
    if (m_options.rate > 0)
        step.seconds = std::max(step.seconds, 1 / m_options.rate);
    m_engine.advance(step.seconds);
    return step;
}
