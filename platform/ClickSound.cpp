// The click is made in memory and played through ALSA, which is looked up at run time: the
// program neither builds against nor needs the sound library, and runs silent without it.
#include "platform/ClickSound.h"

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// ALSA's handle is opaque to us; its enumerations are passed as ints.
using PcmHandle = void *;                   // snd_pcm_t *
constexpr int kStreamPlayback = 0;          // SND_PCM_STREAM_PLAYBACK
constexpr int kFormatS16Le = 2;             // SND_PCM_FORMAT_S16_LE
constexpr int kAccessRwInterleaved = 3;     // SND_PCM_ACCESS_RW_INTERLEAVED
constexpr int kOpenNonblock = 1;            // SND_PCM_NONBLOCK

constexpr unsigned kRate = 48000;           // frames per second, one channel
constexpr unsigned kLatencyUs = 30000;
constexpr int kClickMs = 10;
constexpr double kClickHz = 2200.0;         // ring of the tick
constexpr double kDecayMs = 1.5;            // time constant of the fade
constexpr double kAmplitude = 0.35;         // of full scale

using OpenFn = int (*)(PcmHandle *, const char *, int, int);
using SetParamsFn = int (*)(PcmHandle, int, int, unsigned, unsigned, int, unsigned);
using NonblockFn = int (*)(PcmHandle, int);
using WriteiFn = long (*)(PcmHandle, const void *, unsigned long);
using DrainFn = int (*)(PcmHandle);
using CloseFn = int (*)(PcmHandle);
using ErrorHandler = void (*)(const char *, int, const char *, int, const char *, ...);
using SetErrorHandlerFn = int (*)(ErrorHandler);

struct Alsa
{
    OpenFn open = nullptr;
    SetParamsFn setParams = nullptr;
    NonblockFn nonblock = nullptr;
    WriteiFn writei = nullptr;
    DrainFn drain = nullptr;
    CloseFn close = nullptr;
    bool ok = false;
};

void silentAlsaError(const char *, int, const char *, int, const char *, ...) {}

template <typename Fn>
Fn symbol(void *library, const char *name)
{
    return reinterpret_cast<Fn>(dlsym(library, name));
}

// Loaded once, on a worker, and never unloaded.
const Alsa &alsa()
{
    static Alsa a;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        void *library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        // ALSA reports a missing card or server on stderr unless told otherwise
        if (auto setHandler = symbol<SetErrorHandlerFn>(library, "snd_lib_error_set_handler"))
            setHandler(&silentAlsaError);
        a.open = symbol<OpenFn>(library, "snd_pcm_open");
        a.setParams = symbol<SetParamsFn>(library, "snd_pcm_set_params");
        a.nonblock = symbol<NonblockFn>(library, "snd_pcm_nonblock");
        a.writei = symbol<WriteiFn>(library, "snd_pcm_writei");
        a.drain = symbol<DrainFn>(library, "snd_pcm_drain");
        a.close = symbol<CloseFn>(library, "snd_pcm_close");
        a.ok = a.open && a.setParams && a.nonblock && a.writei && a.drain && a.close;
    });
    return a;
}

std::vector<int16_t> makeClick()
{
    constexpr int kFrames = int(kRate) * kClickMs / 1000;
    constexpr double kPi = 3.14159265358979323846;
    std::vector<int16_t> samples(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        const double t = double(i) / kRate;
        const double v = kAmplitude * std::exp(-t * 1000.0 / kDecayMs) * std::sin(2.0 * kPi * kClickHz * t);
        samples[size_t(i)] = int16_t(std::lround(v * 32767.0));
    }
    return samples;
}

void playOnWorker()
{
    const Alsa &a = alsa();
    if (!a.ok)
        return;
    PcmHandle pcm = nullptr;
    // opened without waiting, so a busy device fails at once instead of holding the worker
    if (a.open(&pcm, "default", kStreamPlayback, kOpenNonblock) < 0 || !pcm)
        return;
    // a closed non-blocking stream drops what it has not played yet; this thread may wait
    if (a.nonblock(pcm, 0) >= 0
        && a.setParams(pcm, kFormatS16Le, kAccessRwInterleaved, 1, kRate, 1, kLatencyUs) >= 0) {
        const std::vector<int16_t> click = makeClick();
        if (a.writei(pcm, click.data(), click.size()) > 0)
            a.drain(pcm);
    }
    a.close(pcm);
}

std::atomic<bool> g_enabled{true};
std::atomic<bool> g_playing{false};
std::atomic<int> g_requests{0};

} // namespace

void PlayClick()
{
    g_requests.fetch_add(1, std::memory_order_relaxed);
    if (!g_enabled.load())
        return;
    if (g_playing.exchange(true))
        return;
    try {
        std::thread([] {
            playOnWorker();
            g_playing.store(false);
        }).detach();
    } catch (const std::system_error &) {
        g_playing.store(false);
    }
}

void SetClickSoundEnabled(bool enabled)
{
    g_enabled.store(enabled);
}

bool ClickSoundEnabled()
{
    return g_enabled.load();
}

int ClickCount()
{
    return g_requests.load(std::memory_order_relaxed);
}

bool ClickPlaying()
{
    return g_playing.load();
}
