#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "audio/sound.h"
#include "system/clock.h"
#include "tests/audio/audio_test_util.h"

namespace {

struct Wave {
    int rate = 0;
    std::vector<float> frames;      // both channels mixed
    std::vector<float> left, right; // a mono file has the same in both
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return v;
}

// Reads a RIFF WAVE file of 16-bit integer or 32-bit float samples, plain or extensible.
Wave ReadWave(const std::string& path)
{
    const std::vector<uint8_t> b = ReadTestFile(path);
    Wave wave;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return wave;
    int tag = 0, channels = 0, bits = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const size_t size = Le(b, at + 4, 4);
        const size_t body = at + 8;
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0) {
            tag = static_cast<int>(Le(b, body, 2));
            channels = static_cast<int>(Le(b, body + 2, 2));
            wave.rate = static_cast<int>(Le(b, body + 4, 4));
            bits = static_cast<int>(Le(b, body + 14, 2));
            if (tag == 0xFFFE)
                tag = static_cast<int>(Le(b, body + 24, 2)); // the sub-format's first two bytes
        } else if (std::memcmp(b.data() + at, "data", 4) == 0 && channels > 0) {
            const size_t frameBytes = static_cast<size_t>(channels) * bits / 8;
            const size_t end = std::min(b.size(), body + size);
            for (size_t f = body; f + frameBytes <= end; f += frameBytes) {
                float v[2] = {0, 0};
                for (int c = 0; c < std::min(channels, 2); ++c) {
                    const size_t s = f + static_cast<size_t>(c) * bits / 8;
                    if (tag == 3 && bits == 32) {
                        const uint32_t raw = Le(b, s, 4);
                        std::memcpy(&v[c], &raw, 4);
                    } else if (tag == 1 && bits == 16) {
                        v[c] = static_cast<int16_t>(Le(b, s, 2)) / 32768.0f;
                    }
                }
                if (channels == 1)
                    v[1] = v[0];
                wave.left.push_back(v[0]);
                wave.right.push_back(v[1]);
                wave.frames.push_back((v[0] + v[1]) / 2);
            }
        }
        at = body + size + (size & 1);
    }
    return wave;
}

// Power of one frequency in a stretch of samples.
double Goertzel(const std::vector<float>& x, size_t begin, size_t end, double hertz, int rate)
{
    const double k = 2 * std::cos(2 * std::numbers::pi * hertz / rate);
    double s1 = 0, s2 = 0;
    for (size_t i = begin; i < end; ++i) {
        const double s0 = x[i] + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

// Plays the Ogg file once at the given volume and pan through openal-soft's wave writer into
// wav. Runs in a fresh process: openal-soft reads its configuration when it is first used.
void PlayIntoWave(const std::string& ogg, const std::string& wav, float volume, float pan)
{
    const std::string conf = std::filesystem::absolute("audio_files/wave.conf").string();
    std::ofstream(conf) << "[general]\ndrivers = wave\n[wave]\nfile = " << std::filesystem::absolute(wav).string()
                        << "\n";
    std::filesystem::remove(wav);
    InFreshProcess([&] {
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");
        ASSERT_EQ(SelectAudioDriver("OpenAL"), 1);
        auto sound = LoadSound(ogg);
        ASSERT_NE(sound, nullptr);
        auto channel = CueSound(sound);
        SetChannelVolume(channel, volume);
        SetChannelPan(channel, pan);
        ResumeChannel(channel);
        ASSERT_EQ(ChannelPlaying(channel), 1);
        ASSERT_TRUE(WaitUntilStopped(channel));
        SleepMillis(100); // a few more mixer updates reach the file
        SelectAudioDriver("Null"); // closing the device completes the file
    });
}

constexpr int kToneFrames = 11025; // half a second at 22050 Hz
constexpr double kToneHertz = 1000;

std::string ToneFile()
{
    return WriteTestFile("wave-tone.ogg", OggTone(kToneHertz, kToneFrames, 22050, 1));
}

} // namespace

TEST(OpenALOutput, ToneReachesTheDevice)
{
    const std::string wav = "audio_files/tone.wav";
    PlayIntoWave(ToneFile(), wav, 1.0f, 0.0f);
    const Wave wave = ReadWave(wav);
    ASSERT_GT(wave.rate, 0);
    const std::vector<float>& x = wave.frames;
    size_t first = x.size(), last = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        if (std::abs(x[i]) > 0.05f) {
            first = std::min(first, i);
            last = i;
        }
    }
    ASSERT_LT(first, last) << "no sound in " << x.size() << " frames";
    const double seconds = static_cast<double>(last - first + 1) / wave.rate;
    EXPECT_NEAR(seconds, 0.5, 0.05);

    double energy = 0;
    int crossings = 0;
    for (size_t i = first; i <= last; ++i) {
        energy += x[i] * x[i];
        crossings += i > first && (x[i - 1] < 0) != (x[i] < 0);
    }
    EXPECT_GT(std::sqrt(energy / (last - first + 1)), 0.1);
    EXPECT_NEAR(crossings / (2 * seconds), kToneHertz, kToneHertz * 0.03);
    const double at = Goertzel(x, first, last, kToneHertz, wave.rate);
    EXPECT_GT(at, 100 * Goertzel(x, first, last, kToneHertz * 1.5, wave.rate));
    EXPECT_GT(at, 100 * Goertzel(x, first, last, kToneHertz / 2, wave.rate));
}

TEST(OpenALOutput, VolumeZeroIsSilent)
{
    const std::string wav = "audio_files/silent.wav";
    PlayIntoWave(ToneFile(), wav, 0.0f, 0.0f);
    const Wave wave = ReadWave(wav);
    ASSERT_GT(wave.rate, 0);
    EXPECT_GT(wave.frames.size(), static_cast<size_t>(wave.rate / 2)); // the device ran as long as the tone
    float loudest = 0;
    for (float v : wave.frames)
        loudest = std::max(loudest, std::abs(v));
    EXPECT_LT(loudest, 1e-4f);
}

TEST(OpenALOutput, PanLeftLeavesTheRightSilent)
{
    const std::string wav = "audio_files/left.wav";
    PlayIntoWave(ToneFile(), wav, 1.0f, -1.0f);
    const Wave wave = ReadWave(wav);
    ASSERT_GT(wave.rate, 0);
    double left = 0, right = 0;
    for (size_t i = 0; i < wave.left.size(); ++i) {
        left += wave.left[i] * wave.left[i];
        right += wave.right[i] * wave.right[i];
    }
    EXPECT_GT(left, 0.01 * wave.rate); // about the tone's energy over half a second
    EXPECT_LT(right, left * 1e-3);
}
