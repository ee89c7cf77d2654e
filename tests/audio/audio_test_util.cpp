#include "tests/audio/audio_test_util.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

#include "audio/oggencoder.h"
#include "system/clock.h"
#include "system/error.h"

std::vector<int16_t> Tone(double hertz, int frames, int rate, int channels, double amplitude)
{
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * 32767 * std::sin(2 * std::numbers::pi * hertz * i / rate);
        for (int c = 0; c < channels; ++c)
            pcm[static_cast<size_t>(i) * channels + c] = static_cast<int16_t>(std::lround(v));
    }
    return pcm;
}

std::shared_ptr<TAudioSample> ToneSample(double hertz, int frames, int rate, int32_t format)
{
    const int channels = ChannelsPerSample[format];
    const std::vector<int16_t> pcm = Tone(hertz, frames, rate, channels);
    std::vector<int16_t> copy = pcm;
    auto little = TAudioSample::CreateStatic(reinterpret_cast<uint8_t*>(copy.data()), frames, rate,
                                             channels == 1 ? SF_MONO16LE : SF_STEREO16LE);
    return little->Convert(format);
}

std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories("audio_files");
    const std::string path = "audio_files/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<uint8_t> ReadTestFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> OggTone(double hertz, int frames, int rate, int channels)
{
    const std::vector<int16_t> pcm = Tone(hertz, frames, rate, channels);
    return EncodeOggVorbis(pcm.data(), frames, channels, rate);
}

bool WaitUntilStopped(const std::shared_ptr<TChannel>& channel, int limitMs)
{
    const int32_t start = ElapsedMillis();
    while (ChannelPlaying(channel)) {
        if (ElapsedMillis() - start > limitMs)
            return false;
        SleepMillis(1);
    }
    return true;
}

void ExpectRuntimeError(const std::function<void()>& call, const std::string& message)
{
    try {
        call();
        ADD_FAILURE() << "no error, expected \"" << message << "\"";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.what(), message);
    }
}

namespace {

// Runs body and exits 0 when it had no failures. Its failures are told on the error output,
// which the starting process shows when the exit code is not 0.
[[noreturn]] void RunAndExit(const std::function<void()>& body)
{
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &failures);
        body();
    }
    for (int i = 0; i < failures.size(); ++i) {
        const ::testing::TestPartResult& failure = failures.GetTestPartResult(i);
        std::fprintf(stderr, "%s:%d: %s\n", failure.file_name() ? failure.file_name() : "?", failure.line_number(),
                     failure.message());
    }
    std::exit(failures.size() ? 1 : 0);
}

} // namespace

void InFreshProcess(const std::function<void()>& body)
{
    // "threadsafe" starts the test program anew instead of forking this process, whose audio
    // modules may have started already.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunAndExit(body), ::testing::ExitedWithCode(0), "");
}
