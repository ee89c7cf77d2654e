// Decoding speed of the Ogg Vorbis loader, and how many OpenAL sources a stream of effects uses.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <random>
#include <vector>

#include "audio/oggencoder.h"
#include "audio/openal_driver.h"
#include "system/clock.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

// A minute of stereo music stand-in: changing chords over a little noise, so the encoder
// spends a realistic number of bits on it.
const std::string& MinuteOfMusic()
{
    static const std::string path = [] {
        const int frames = kSeconds * kRate;
        std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
        std::mt19937 random(1);
        std::uniform_real_distribution<double> noise(-0.05, 0.05);
        const double roots[] = {220.0, 246.9, 196.0, 261.6};
        for (int i = 0; i < frames; ++i) {
            const double root = roots[(i / (kRate / 2)) % 4];
            const double t = static_cast<double>(i) / kRate;
            double left = 0, right = 0;
            for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
                left += 0.15 * std::sin(2 * std::numbers::pi * root * ratio * t);
                right += 0.15 * std::sin(2 * std::numbers::pi * root * ratio * 1.003 * t + ratio);
            }
            pcm[2 * static_cast<size_t>(i)] = static_cast<int16_t>((left + noise(random)) * 32767);
            pcm[2 * static_cast<size_t>(i) + 1] = static_cast<int16_t>((right + noise(random)) * 32767);
        }
        const std::vector<uint8_t> ogg = EncodeOggVorbis(pcm.data(), frames, 2, kRate);
        const std::string file = "bench_audio_minute.ogg";
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(ogg.data()),
                                                    static_cast<std::streamsize>(ogg.size()));
        return file;
    }();
    return path;
}

void DecodeMinuteOfMusic(benchmark::State& state)
{
    const std::string& path = MinuteOfMusic();
    for (auto _ : state) {
        auto sample = LoadAudioSampleFrom(path);
        if (!sample || sample->length != kSeconds * kRate || sample->format != SF_STEREO16LE) {
            state.SkipWithError("the file did not decode whole");
            return;
        }
        benchmark::DoNotOptimize(sample->samples);
    }
    // Seconds of audio decoded per second of work: how many times faster than real time.
    state.counters["x_realtime"] = benchmark::Counter(double{kSeconds} * state.iterations(),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeMinuteOfMusic)->Unit(benchmark::kMillisecond);

int g_sourcesGenerated = 0;
decltype(openal::alGenSources) g_realGenSources = nullptr;
void CountingGenSources(openal::ALsizei n, openal::ALuint* ids)
{
    g_sourcesGenerated += n;
    g_realGenSources(n, ids);
}

// Starts 100 effects of 50 ms, one every `range(0)` milliseconds (0: all at once, 16: one a
// frame), on a fresh device. Measures the time spent starting them, the sources generated
// and the most effects playing at once.
void Start100Effects(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    if (!HasAudioDriver("OpenAL")) {
        state.SkipWithError("no OpenAL");
        return;
    }
    g_realGenSources = openal::alGenSources;
    openal::alGenSources = CountingGenSources;
    const int spacing = static_cast<int>(state.range(0));
    int sources = 0, peak = 0;
    for (auto _ : state) {
        if (!SelectAudioDriver("OpenAL")) {
            state.SkipWithError("no OpenAL device");
            break;
        }
        auto sample = TAudioSample::Create(kRate / 20, kRate, SF_MONO16LE);
        for (int i = 0; i < sample->length; ++i)
            reinterpret_cast<int16_t*>(sample->samples)[i] = static_cast<int16_t>(8000 * std::sin(i * 0.1));
        auto effect = LoadSound(sample);
        g_sourcesGenerated = 0;
        std::vector<std::shared_ptr<TChannel>> channels;
        double seconds = 0;
        for (int i = 0; i < 100; ++i) {
            const auto start = std::chrono::steady_clock::now();
            channels.push_back(PlaySound(effect));
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            int playing = 0;
            for (const auto& channel : channels)
                playing += ChannelPlaying(channel);
            peak = std::max(peak, playing);
            SleepMillis(spacing);
        }
        state.SetIterationTime(seconds);
        sources = std::max(sources, g_sourcesGenerated);
    }
    openal::alGenSources = g_realGenSources;
    SelectAudioDriver("Null");
    state.counters["sources_generated"] = sources;
    state.counters["peak_playing"] = peak;
}
BENCHMARK(Start100Effects)->Arg(0)->Arg(16)->Iterations(3)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
