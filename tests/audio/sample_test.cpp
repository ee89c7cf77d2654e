#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "audio/sample.h"
#include "tests/audio/audio_test_util.h"

namespace {

std::vector<uint8_t> Bytes(const std::shared_ptr<TAudioSample>& sample)
{
    return {sample->samples, sample->samples + sample->length * BytesPerSample[sample->format]};
}

std::vector<uint8_t> Convert(std::vector<uint8_t> in, int32_t from, int32_t to)
{
    const int32_t frames = static_cast<int32_t>(in.size()) / BytesPerSample[from];
    auto sample = TAudioSample::CreateStatic(in.data(), frames, 8000, from);
    return Bytes(sample->Convert(to));
}

void ExpectUnimplemented(const std::function<void()>& conversion)
{
    ExpectRuntimeError(conversion, "Unimplemented sample format conversion");
}

} // namespace

TEST(AudioSample, OwnedAndStaticMemory)
{
    for (int32_t format = SF_MONO8; format <= SF_STEREO16BE; ++format) {
        auto sample = TAudioSample::Create(100, 22050, format);
        EXPECT_EQ(sample->capacity, 100 * BytesPerSample[format]);
        EXPECT_EQ(sample->length, 100);
        EXPECT_EQ(sample->hertz, 22050);
        EXPECT_EQ(sample->format, format);
        ASSERT_NE(sample->samples, nullptr);
        std::memset(sample->samples, 0x5A, static_cast<size_t>(sample->capacity)); // all of it is writable
    }
    // A static sample never frees the caller's memory (the sanitizer build would catch it).
    std::vector<uint8_t> mine = {1, 2, 3, 4};
    {
        auto view = TAudioSample::CreateStatic(mine.data(), 2, 11025, SF_STEREO8);
        EXPECT_EQ(view->capacity, -1);
        EXPECT_EQ(view->samples, mine.data());
    }
    EXPECT_EQ(mine[3], 4);
}

TEST(AudioSample, SamplesAbove2GiBAreRefusedNotTruncated)
{
    // 2^30 stereo 16-bit frames are 4 GiB, whose low 32 bits are 0.
    constexpr int32_t Huge = 1 << 30;
    EXPECT_EQ(TAudioSample::Create(Huge, 22050, SF_STEREO16LE), nullptr);
    EXPECT_EQ(TAudioSample::Create(Huge, 22050, SF_MONO16LE), nullptr); // 2 GiB: one byte too many
    EXPECT_EQ(TAudioSample::Create(INT32_MAX, 22050, SF_STEREO8), nullptr);

    // Copies and conversions of a view on memory the caller owns refuse before touching it.
    uint8_t none[4] = {};
    auto view = TAudioSample::CreateStatic(none, Huge, 22050, SF_MONO8);
    EXPECT_EQ(view->Convert(SF_STEREO16BE), nullptr);
    auto wide = TAudioSample::CreateStatic(none, Huge, 22050, SF_STEREO16LE);
    EXPECT_EQ(wide->Copy(), nullptr);
}

TEST(AudioSample, CopyIsIndependent)
{
    std::vector<uint8_t> mine = {10, 20, 30, 40, 50, 60};
    auto view = TAudioSample::CreateStatic(mine.data(), 3, 44100, SF_MONO16BE);
    auto copy = view->Copy();
    EXPECT_NE(copy->samples, view->samples);
    EXPECT_EQ(copy->capacity, 6);
    EXPECT_EQ(copy->hertz, 44100);
    EXPECT_EQ(copy->format, SF_MONO16BE);
    mine[0] = 99;
    EXPECT_EQ(Bytes(copy), (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
}

TEST(AudioSample, ConversionsToStereo16BigEndian)
{
    // 8-bit silence 0x80 becomes 0 with the low byte carrying the unsigned value.
    EXPECT_EQ(Convert({0x80}, SF_MONO8, SF_STEREO16BE), (std::vector<uint8_t>{0x00, 0x80, 0x00, 0x80}));
    EXPECT_EQ(Convert({0xFF}, SF_MONO8, SF_STEREO16BE), (std::vector<uint8_t>{0x7F, 0xFF, 0x7F, 0xFF}));
    EXPECT_EQ(Convert({0x34, 0x12}, SF_MONO16LE, SF_STEREO16BE), (std::vector<uint8_t>{0x12, 0x34, 0x12, 0x34}));
    EXPECT_EQ(Convert({0x12, 0x34}, SF_MONO16BE, SF_STEREO16BE), (std::vector<uint8_t>{0x12, 0x34, 0x12, 0x34}));
    EXPECT_EQ(Convert({0xFF, 0x00}, SF_STEREO8, SF_STEREO16BE), (std::vector<uint8_t>{0x7F, 0xFF, 0x80, 0x00}));
    EXPECT_EQ(Convert({0x01, 0x02, 0x03, 0x04}, SF_STEREO16LE, SF_STEREO16BE),
              (std::vector<uint8_t>{0x02, 0x01, 0x04, 0x03}));
}

TEST(AudioSample, ConversionsFromStereo16BigEndian)
{
    // L = 32767, R = -32768: the mean -0.5 truncates to 0, and 32768 / 257 = 127.
    const std::vector<uint8_t> extremes = {0x7F, 0xFF, 0x80, 0x00};
    EXPECT_EQ(Convert(extremes, SF_STEREO16BE, SF_MONO8), (std::vector<uint8_t>{127}));
    EXPECT_EQ(Convert(extremes, SF_STEREO16BE, SF_STEREO8), (std::vector<uint8_t>{255, 0}));
    EXPECT_EQ(Convert(extremes, SF_STEREO16BE, SF_STEREO16LE), (std::vector<uint8_t>{0xFF, 0x7F, 0x00, 0x80}));
    // L = -3, R = 0: the mean -1.5 truncates toward zero to -1.
    const std::vector<uint8_t> small = {0xFF, 0xFD, 0x00, 0x00};
    EXPECT_EQ(Convert(small, SF_STEREO16BE, SF_MONO16LE), (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(Convert(small, SF_STEREO16BE, SF_MONO16BE), (std::vector<uint8_t>{0xFF, 0xFF}));
    // L = 1000, R = 3000: the mean 2000 = 0x07D0.
    EXPECT_EQ(Convert({0x03, 0xE8, 0x0B, 0xB8}, SF_STEREO16BE, SF_MONO16LE), (std::vector<uint8_t>{0xD0, 0x07}));
}

TEST(AudioSample, RoundTripsBetweenAllFormats)
{
    // Content every format holds exactly: 8-bit values, the same on both channels.
    std::vector<uint8_t> base(256);
    for (int i = 0; i < 256; ++i)
        base[i] = static_cast<uint8_t>(i * 37 + 11);
    for (int32_t a = SF_MONO8; a <= SF_STEREO16BE; ++a) {
        const std::vector<uint8_t> original = Convert(base, SF_MONO8, a);
        for (int32_t b = SF_MONO8; b <= SF_STEREO16BE; ++b) {
            const std::vector<uint8_t> there = Convert(original, a, b);
            ASSERT_EQ(there.size(), 256u * BytesPerSample[b]);
            EXPECT_EQ(Convert(there, b, a), original) << "format " << a << " through " << b;
        }
    }
}

TEST(AudioSample, ConvertKeepsLengthAndRate)
{
    auto sample = TAudioSample::Create(10, 12345, SF_MONO8);
    std::memset(sample->samples, 0x80, 10);
    auto converted = sample->Convert(SF_STEREO16LE);
    EXPECT_EQ(converted->length, 10);
    EXPECT_EQ(converted->hertz, 12345);
    EXPECT_EQ(converted->format, SF_STEREO16LE);
    EXPECT_EQ(converted->capacity, 40);
    for (int i = 0; i < 40; i += 2) {
        EXPECT_EQ(converted->samples[i], 0x80) << i; // little-endian low byte first
        EXPECT_EQ(converted->samples[i + 1], 0x00) << i;
    }
}

TEST(AudioSample, UnknownFormatsFail)
{
    uint8_t bytes[8] = {};
    uint8_t out[8] = {};
    ExpectUnimplemented([&] { ConvertSamples(bytes, 7, out, SF_MONO8, 1); });
    ExpectUnimplemented([&] { ConvertSamples(bytes, SF_MONO8, out, 0, 1); });
    ExpectUnimplemented([&] { ConvertSamples(bytes, 9, out, 9, 1); });
    ExpectUnimplemented([&] { TAudioSample::Create(2, 8000, SF_STEREO16LE)->Convert(-1); });
    EXPECT_EQ(TAudioSample::Create(5, 8000, 0)->capacity, 0);
}
