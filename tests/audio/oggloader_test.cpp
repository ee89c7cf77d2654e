#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ogg/ogg.h>
#include <random>

#include "audio/oggencoder.h"
#include "audio/sample.h"
#include "system/stream.h"
#include "tests/audio/audio_test_util.h"

namespace {

// Normalised correlation of channel `channel` of a 16-bit little-endian sample with a pure tone.
double Correlation(const TAudioSample& sample, int channel, double hertz)
{
    const int channels = ChannelsPerSample[sample.format];
    const auto* pcm = reinterpret_cast<const int16_t*>(sample.samples);
    double sxy = 0, sxx = 0, syy = 0;
    for (int i = 0; i < sample.length; ++i) {
        const double x = pcm[i * channels + channel];
        const double y = std::sin(2 * std::numbers::pi * hertz * i / sample.hertz);
        sxy += x * y;
        sxx += x * x;
        syy += y * y;
    }
    return sxx > 0 ? sxy / std::sqrt(sxx * syy) : 0;
}

// Where each Ogg page of the file starts, and the file's end last.
std::vector<size_t> PageBounds(const std::vector<uint8_t>& ogg)
{
    std::vector<size_t> bounds;
    size_t pos = 0;
    while (pos + 27 <= ogg.size()) {
        bounds.push_back(pos);
        const size_t segments = ogg[pos + 26];
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i)
            body += ogg[pos + 27 + i];
        pos += 27 + segments + body;
    }
    bounds.push_back(std::min(pos, ogg.size()));
    return bounds;
}

// Sets the granule position of the last page, which is where the decoder learns the length.
std::vector<uint8_t> AnnounceLength(std::vector<uint8_t> ogg, int64_t frames)
{
    const std::vector<size_t> bounds = PageBounds(ogg);
    const size_t last = bounds[bounds.size() - 2];
    for (int i = 0; i < 8; ++i)
        ogg[last + 6 + i] = static_cast<uint8_t>(frames >> (8 * i));
    ogg_page page;
    page.header = ogg.data() + last;
    page.header_len = 27 + ogg[last + 26];
    page.body = page.header + page.header_len;
    page.body_len = static_cast<long>(ogg.size() - last) - page.header_len;
    ogg_page_checksum_set(&page);
    return ogg;
}

// Reads normally up to a point, then fails with the given error.
class FailingStream : public TRamStream {
public:
    FailingStream(std::vector<uint8_t> data, int64_t limit, std::function<void()> fail)
        : TRamStream(std::move(data), 1, 0), _limit(limit), _fail(std::move(fail))
    {
    }
    int64_t Read(void* buffer, int64_t count) override
    {
        if (Pos() >= _limit)
            _fail();
        return TRamStream::Read(buffer, std::min(count, _limit - Pos()));
    }

private:
    int64_t _limit;
    std::function<void()> _fail;
};

} // namespace

TEST(OggLoader, MonoFile)
{
    const std::string path = WriteTestFile("mono22050.ogg", OggTone(440, 11025, 22050, 1));
    auto sample = LoadAudioSampleFrom(path);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->format, SF_MONO16LE);
    EXPECT_EQ(sample->hertz, 22050);
    EXPECT_EQ(sample->length, 11025);
    EXPECT_EQ(sample->capacity, 2 * sample->length);
    EXPECT_GT(Correlation(*sample, 0, 440), 0.95);
}

TEST(OggLoader, StereoFile)
{
    // Left 440 Hz, right 880 Hz: the channels must come out in order and unmixed.
    const int frames = 44100;
    std::vector<int16_t> pcm(frames * 2);
    const std::vector<int16_t> low = Tone(440, frames, 44100, 1);
    const std::vector<int16_t> high = Tone(880, frames, 44100, 1);
    for (int i = 0; i < frames; ++i) {
        pcm[2 * i] = low[i];
        pcm[2 * i + 1] = high[i];
    }
    const std::string path = WriteTestFile("stereo44100.ogg", EncodeOggVorbis(pcm.data(), frames, 2, 44100));
    auto sample = LoadAudioSampleFrom(path);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->format, SF_STEREO16LE);
    EXPECT_EQ(sample->hertz, 44100);
    EXPECT_EQ(sample->length, frames);
    EXPECT_EQ(sample->capacity, 4 * sample->length);
    EXPECT_GT(Correlation(*sample, 0, 440), 0.95);
    EXPECT_GT(Correlation(*sample, 1, 880), 0.95);
    EXPECT_LT(std::abs(Correlation(*sample, 0, 880)), 0.1);
}

TEST(OggLoader, NotOggGivesNone)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::mt19937 random(7);
    for (int i = 0; i < 4000; ++i)
        png.push_back(static_cast<uint8_t>(random()));
    EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("picture.png", png)), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("random.ogg", {png.begin() + 8, png.end()})), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("empty.ogg", {})), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("signature.ogg", {'O', 'g', 'g', 'S'})), nullptr);
}

TEST(OggLoader, TruncatedFileGivesNoneOrLess)
{
    const int frames = 4 * 22050; // several pages of audio
    const std::vector<uint8_t> whole = OggTone(440, frames, 22050, 1);
    int shorter = 0;
    for (size_t cut : {size_t{0}, size_t{1}, size_t{30}, size_t{100}, whole.size() / 4, whole.size() / 2,
                       whole.size() * 3 / 4, whole.size() - 1}) {
        auto sample = LoadAudioSampleFrom(WriteTestFile("truncated.ogg", {whole.begin(), whole.begin() + cut}));
        if (sample) {
            EXPECT_EQ(sample->format, SF_MONO16LE);
            EXPECT_LT(sample->length, frames) << cut;
            shorter += sample->length > 0;
        }
    }
    EXPECT_GT(shorter, 0); // cuts after the headers still give what came before them
}

TEST(OggLoader, MoreThanTwoChannelsGivesNone)
{
    for (int channels : {3, 6}) {
        const std::vector<int16_t> pcm = Tone(440, 4410, 44100, channels);
        const std::vector<uint8_t> ogg = EncodeOggVorbis(pcm.data(), 4410, channels, 44100);
        ASSERT_FALSE(ogg.empty());
        EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("surround.ogg", ogg)), nullptr) << channels;
    }
}

TEST(OggLoader, DataEndingBeforeAnnouncedLengthKeepsWhatWasDecoded)
{
    const int frames = 8000;
    const std::vector<uint8_t> ogg = AnnounceLength(OggTone(440, frames, 22050, 1), 10 * frames);
    auto sample = LoadAudioSampleFrom(WriteTestFile("overlong.ogg", ogg));
    ASSERT_NE(sample, nullptr);
    EXPECT_GE(sample->length, frames); // the last block comes out whole when the length is not trusted
    EXPECT_LT(sample->length, 2 * frames);
    sample->length = frames;
    EXPECT_GT(Correlation(*sample, 0, 440), 0.95);
}

TEST(OggLoader, AGapInTheDataFailsTheLoad)
{
    // The decoder reports a page missing from the middle as a hole: damaged data, so no sample
    // rather than one with a piece silently cut out.
    const std::vector<uint8_t> whole = OggTone(440, 16 * 22050, 22050, 1);
    const std::vector<size_t> bounds = PageBounds(whole);
    ASSERT_GE(bounds.size(), 6u); // the headers' two or three pages, then audio
    ASSERT_NE(LoadAudioSampleFrom(WriteTestFile("whole.ogg", whole)), nullptr);
    const size_t page = bounds.size() - 3; // the last audio page but one
    std::vector<uint8_t> gap(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(bounds[page]));
    gap.insert(gap.end(), whole.begin() + static_cast<std::ptrdiff_t>(bounds[page + 1]), whole.end());
    EXPECT_EQ(LoadAudioSampleFrom(WriteTestFile("gap.ogg", gap)), nullptr);
}

TEST(OggLoader, CorruptedBytesNeverCrash)
{
    const std::vector<uint8_t> whole = OggTone(440, 22050, 22050, 2);
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> bad = whole;
        const size_t at = random() % bad.size();
        for (size_t i = at; i < std::min(bad.size(), at + 1 + random() % 64); ++i)
            bad[i] = static_cast<uint8_t>(random());
        auto sample = LoadAudioSampleFrom(std::make_shared<TRamStream>(bad, 1, 0));
        if (sample) {
            EXPECT_EQ(sample->format, SF_STEREO16LE);
            EXPECT_LE(static_cast<int64_t>(sample->length) * 4, sample->capacity);
        }
    }
}

TEST(OggLoader, StreamErrorsInsideTheDecoder)
{
    const std::vector<uint8_t> ogg = OggTone(440, 22050, 22050, 1);
    for (int64_t limit : {int64_t{0}, int64_t{200}, static_cast<int64_t>(ogg.size() / 2)}) {
        auto stream = std::make_shared<FailingStream>(ogg, limit, [] { throw TStreamReadException(); });
        EXPECT_EQ(LoadAudioSampleFrom(stream), nullptr) << limit;
    }
    // Any other error is not the loader's to swallow.
    auto stream = std::make_shared<FailingStream>(ogg, 300, [] { throw TRuntimeError("disk on fire"); });
    ExpectRuntimeError([&] { LoadAudioSampleFrom(stream); }, "disk on fire");
}
