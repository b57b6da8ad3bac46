// Command-line options of the bench device. Numbers are read strictly: the whole text must be the
// number, so a typo stops the program instead of running a different stream.
#include "Options.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace {

template <typename T>
bool readNumber(const std::string &text, T &value)
{
    if (text.empty())
        return false;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return false;
    if constexpr (std::is_floating_point_v<T>)
        return std::isfinite(value);
    return true;
}

bool readSeconds(const std::string &text, double &seconds)
{
    return readNumber(text, seconds) && seconds > 0;
}

bool readChance(const std::string &text, double &chance)
{
    return readNumber(text, chance) && chance > 0 && chance <= 1;
}

struct Fault
{
    const char *name;
    double BenchOptions::*chance;
    double byDefault;
};

// Faults that take an optional "=P"; the default is what makes a useful demonstration.
constexpr Fault kFaults[] = {
    {"--split", &BenchOptions::split, 0.3},
    {"--crlf", &BenchOptions::crlf, 1},
    {"--cr-etx", &BenchOptions::crEtx, 1},
    {"--etx", &BenchOptions::etx, 1},
    {"--lf-inside", &BenchOptions::lfInside, 0.1},
    {"--nul", &BenchOptions::nul, 0.05},
    {"--lower", &BenchOptions::lower, 0.05},
    {"--garbage", &BenchOptions::garbage, 0.05},
};

constexpr double kOverlongRate = 0.02;
constexpr int kOverlongMax = 1000000;
constexpr int kBaudMax = 4000000;

} // namespace

ParseResult parseOptions(int argc, char **argv, BenchOptions &options, std::string &error)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        const auto eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }

        if (name == "--help" || name == "-h")
            return ParseResult::Help;
        if (name == "--version")
            return ParseResult::Version;

        bool isFault = false;
        for (const Fault &fault : kFaults) {
            if (name != fault.name)
                continue;
            isFault = true;
            double chance = fault.byDefault;
            if (hasValue && !readChance(value, chance)) {
                error = name + ": the chance per line must be a number above 0 and at most 1, not \"" + value + "\"";
                return ParseResult::Error;
            }
            options.*fault.chance = chance;
        }
        if (isFault)
            continue;

        if (name == "--fast" || name == "--garbage-only") {
            if (hasValue) {
                error = name + " takes no value";
                return ParseResult::Error;
            }
            (name == "--fast" ? options.fast : options.garbageOnly) = true;
            continue;
        }

        static const char *const kValued[] = {"--framing", "--baud", "--rate", "--duration", "--count", "--link",
                                              "--seed", "--linger", "--wait", "--overlong", "--hangup-after"};
        bool valued = false;
        for (const char *known : kValued)
            valued = valued || name == known;
        if (!valued) {
            error = "unknown option \"" + arg + "\" (see --help)";
            return ParseResult::Error;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return ParseResult::Error;
            }
            value = argv[++i];
        }

        bool ok = true;
        const char *wanted = "";
        if (name == "--framing") {
            ok = value == "multi" || value == "single";
            options.framing = value == "single" ? Framing::Single : Framing::Multi;
            wanted = "multi or single";
        } else if (name == "--baud") {
            ok = readNumber(value, options.baud) && options.baud > 0 && options.baud <= kBaudMax;
            wanted = "a whole number of bits per second from 1 to 4000000";
        } else if (name == "--rate") {
            ok = readNumber(value, options.rate) && options.rate > 0;
            wanted = "lines per second above 0";
        } else if (name == "--duration") {
            ok = readSeconds(value, options.duration);
            wanted = "seconds above 0";
        } else if (name == "--count") {
            ok = readNumber(value, options.count) && options.count > 0;
            wanted = "a whole number of lines of 1 or more";
        } else if (name == "--link") {
            ok = !value.empty();
            options.link = value;
            wanted = "a path";
        } else if (name == "--seed") {
            ok = readNumber(value, options.seed);
            wanted = "a whole number from 0 to 4294967295";
        } else if (name == "--wait") {
            ok = readNumber(value, options.wait) && options.wait >= 0;
            wanted = "seconds, 0 or more";
        } else if (name == "--linger") {
            ok = readNumber(value, options.linger) && options.linger >= 0;
            wanted = "seconds, 0 or more";
        } else if (name == "--hangup-after") {
            ok = readSeconds(value, options.hangupAfter);
            wanted = "seconds above 0";
        } else if (name == "--overlong") {
            // N or N,P
            const auto comma = value.find(',');
            options.overlongRate = kOverlongRate;
            ok = readNumber(value.substr(0, comma), options.overlong) && options.overlong > 0
                 && options.overlong <= kOverlongMax
                 && (comma == std::string::npos || readChance(value.substr(comma + 1), options.overlongRate));
            wanted = "a length from 1 to 1000000, optionally followed by \",P\" with a chance above 0 and at most 1";
        }
        if (!ok) {
            error = name + ": expected " + wanted + ", not \"" + value + "\"";
            return ParseResult::Error;
        }
    }
    return ParseResult::Run;
}

const char *helpText()
{
    return R"(Usage: bench-device [OPTION]...
Plays the measuring device of the test bench on a pseudo-terminal: streams readings as the
device's ASCII lines and reports the set-point bytes it receives.

Standard output: the first line is the path of the slave device (for the recorder to open);
then one line per byte received: "set-point N" for 1..99, a note for any other byte.
Standard error: a one-line summary at exit (lines and bytes sent, set-points received).

Line format: a tag letter followed by a five-character value, a zero-padded whole number
("V00118", a negative one as "-0012"), ended by CR (0x0D).
  multi framing:  V.....A.....R.....C.....  all four readings on one line
  single framing: one reading per line, in the order V, A, R, C
About one line in 50 is a raw packet "P" + 5 digits (a packet counter) instead.

Value scales (the multiplier to set in the recorder's configuration):
  V  supply voltage in tenths of a volt        V00121 = 12.1 V     multiplier 0.1
  A  current in hundredths of an ampere        A00255 = 2.55 A     multiplier 0.01
  R  engine speed in revolutions per minute    R01500 = 1500 rpm   multiplier 1
  C  temperature in tenths of a degree Celsius C00253 = 25.3 C     multiplier 0.1

The readings are modelled: the rpm follows the last set-point byte (target = set-point x 30,
idle 600 rpm before any) with a lag of about 2 s of simulated time and a little noise; the
current rises with the rpm, the voltage falls slightly with the current (about 12 V) and the
temperature climbs slowly from 22 C towards a level that rises with the rpm. Simulated time
advances per line by the line's time on the wire at --baud (10 bits per byte), or by
1/--rate when that is longer, also with --fast.

Stream:
  --framing multi|single  framing of the lines (default multi)
  --baud N                pace the bytes as a line at N baud would (default 19200: 1920 bytes/s);
                          bytes that nobody reads for a second are lost, as on a real line
  --fast                  write as fast as the reader takes the bytes (block while the line is full)
  --rate N                at most N lines per second (e.g. 10 for a calm demonstration)
  --count N               stop after N lines
  --duration S            stop after S seconds (default: run until interrupted)
  --wait S                wait S seconds before the first line, so that a reader which empties
                          the line when it opens the port (as the recorder does) misses nothing
  --linger S              on stopping, wait up to S seconds for the bytes still queued to be
                          read before hanging up (default 2)
  --seed N                seed of the pseudo-random generator (default 20240611): the same seed
                          and the same set-points give the same stream
  --link PATH             make PATH (e.g. run/COM1) a symbolic link to the slave device,
                          replacing an existing link; removed at exit

Faults (combinable; P is the chance per line, above 0 and at most 1):
  --split[=P]             write the line in 2 to 4 pieces with pauses of 1 to 5 ms (default 0.3)
  --crlf[=P]              end the line with CR LF (default 1)
  --cr-etx[=P]            end the line with CR then ETX (default 1)
  --etx[=P]               end the line with ETX alone (default 1)
                          when several endings are due, one of them is picked at random
  --lf-inside[=P]         put line feeds inside the line (default 0.1)
  --nul[=P]               put a NUL byte inside the line (default 0.05)
  --lower[=P]             write a tag in lower case (default 0.05)
  --overlong N[,P]        send N bytes without a terminator before the line (default P 0.02)
  --garbage[=P]           send 1 to 24 random bytes after the line (default 0.05)
  --garbage-only          send nothing but random bytes, in chunks of 16 to 64 (a chunk counts
                          as a line for --count)
  --hangup-after S        hang up after S seconds (close the device side of the line) and exit

  -h, --help              show this text
  --version               show the version

Exit status: 0 when the stream ends, on hang-up or on SIGINT/SIGTERM; 1 when the
pseudo-terminal or the link cannot be made; 2 for a wrong option.
)";
}
