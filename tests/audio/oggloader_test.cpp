#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ogg/ogg.h>
#include <random>
#include <vorbis/vorbisfile.h>

#include "audio/oggencoder.h"
#include "audio/sample.h"
#include "system/stream.h"
#include "tests/audio/audio_test_util.h"
#include "tests/common/files.h"
#include "tests/common/shell.h"

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

namespace {

// What libvorbisfile itself gives of a file's first link, read after a seek to its first sample:
// the reference the loader is held to.
struct TFirstLink {
    int channels = 0;
    long rate = 0;
    std::vector<uint8_t> pcm; // 16-bit little-endian, interleaved
};

TFirstLink FirstLinkAsLibvorbisfileDecodesIt(const std::string& path)
{
    TFirstLink link;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) {
        ADD_FAILURE() << "libvorbisfile cannot open " << path;
        return link;
    }
    EXPECT_EQ(ov_pcm_seek(&file, 0), 0) << path;
    const vorbis_info* info = ov_info(&file, 0);
    link.channels = info->channels;
    link.rate = info->rate;
    char buffer[4096];
    for (int current = 0;;) {
        const long n = ov_read(&file, buffer, sizeof buffer, 0 /* little-endian */, 2 /* 16-bit */, 1 /* signed */,
                               &current);
        if (n <= 0 || current != 0)
            break;
        link.pcm.insert(link.pcm.end(), buffer, buffer + n);
    }
    EXPECT_EQ(static_cast<int64_t>(link.pcm.size()), ov_pcm_total(&file, 0) * 2 * link.channels) << path;
    ov_clear(&file);
    return link;
}

// Expects the sample to hold exactly the reference: its format, its rate and every sample.
void ExpectSampleIs(const std::shared_ptr<TAudioSample>& sample, const TFirstLink& link)
{
    ASSERT_NE(sample, nullptr);
    ASSERT_FALSE(link.pcm.empty());
    EXPECT_EQ(sample->format, link.channels == 1 ? SF_MONO16LE : SF_STEREO16LE);
    EXPECT_EQ(sample->hertz, link.rate);
    ASSERT_EQ(static_cast<size_t>(sample->length) * 2 * link.channels, link.pcm.size());
    EXPECT_EQ(std::vector<uint8_t>(sample->samples, sample->samples + link.pcm.size()), link.pcm);
}

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Bytes that stand before the Ogg data in a stream; no Ogg page starts in them.
std::vector<uint8_t> Filler(size_t count)
{
    return std::vector<uint8_t>(count, 0xA5);
}

// Files made by oggenc, vorbis-tools' encoder, in a folder of their own.
class OggencFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveCommand("oggenc"))
            GTEST_SKIP() << "needs oggenc (scripts/deps.sh installs vorbis-tools)";
        ASSERT_FALSE(folder_.Path().empty());
    }

    // An Ogg Vorbis file of a tone; serial tells the links of a chain apart.
    std::vector<uint8_t> Encode(double hertz, int frames, int rate, int channels, int serial)
    {
        std::vector<uint8_t> raw;
        for (int16_t v : Tone(hertz, frames, rate, channels)) {
            raw.push_back(static_cast<uint8_t>(v));
            raw.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
        }
        const std::string in = Path("tone.raw"), out = Path("tone.ogg");
        WriteBytes(in, raw);
        const std::string command = "oggenc --quiet --raw --raw-bits=16 --raw-endianness=0 --raw-chan=" +
                                    std::to_string(channels) + " --raw-rate=" + std::to_string(rate) +
                                    " --serial=" + std::to_string(serial) + " -o '" + out + "' '" + in + "'";
        EXPECT_EQ(ShellStatus(command), 0) << command;
        return FileBytes(out);
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }

    std::string Path(const std::string& name) const { return (folder_.Path() / name).string(); }

    TTempFolder folder_;
};

} // namespace

TEST_F(OggencFiles, ChainedLinksOfOneFormatGiveTheFirstFromItsFirstSample)
{
    const std::vector<uint8_t> first = Encode(440, 22050, 22050, 1, 1);
    const std::vector<uint8_t> second = Encode(660, 11025, 22050, 1, 2);
    const std::string chain = Write("chain.ogg", Joined(first, second));
    auto sample = LoadAudioSampleFrom(chain);
    ASSERT_NE(sample, nullptr);
    ExpectSampleIs(sample, FirstLinkAsLibvorbisfileDecodesIt(chain));
    ExpectSampleIs(sample, FirstLinkAsLibvorbisfileDecodesIt(Write("first.ogg", first)));
    EXPECT_EQ(sample->length, 22050);
}

TEST_F(OggencFiles, ChainedMonoThenStereoGivesTheMonoLink)
{
    const std::vector<uint8_t> mono = Encode(440, 11025, 22050, 1, 1);
    const std::vector<uint8_t> stereo = Encode(880, 44100, 44100, 2, 2);
    const std::string chain = Write("chain.ogg", Joined(mono, stereo));
    auto sample = LoadAudioSampleFrom(chain);
    ASSERT_NE(sample, nullptr);
    ExpectSampleIs(sample, FirstLinkAsLibvorbisfileDecodesIt(chain));
    ExpectSampleIs(sample, FirstLinkAsLibvorbisfileDecodesIt(Write("mono.ogg", mono)));
    EXPECT_EQ(sample->length, 11025);
    EXPECT_GT(Correlation(*sample, 0, 440), 0.95);
}

TEST_F(OggencFiles, AShortFirstLinkComesOutWhole)
{
    const std::vector<uint8_t> rest = Encode(330, 2 * 8000, 8000, 1, 2);
    for (int frames : {1, 100}) {
        const std::vector<uint8_t> shortLink = Encode(440, frames, 44100, 2, 1);
        const std::string chain = Write("chain.ogg", Joined(shortLink, rest));
        auto sample = LoadAudioSampleFrom(chain);
        ASSERT_NE(sample, nullptr) << frames;
        ExpectSampleIs(sample, FirstLinkAsLibvorbisfileDecodesIt(chain));
        EXPECT_EQ(sample->length, frames);
    }
}

TEST_F(OggencFiles, DataAtAnOffsetInAStreamDecodesFromWhereItBegins)
{
    const std::vector<uint8_t> single = Encode(440, 22050, 22050, 2, 1);
    const std::vector<uint8_t> chained = Joined(Encode(550, 11025, 22050, 1, 3), Encode(880, 4410, 44100, 2, 4));
    for (const std::vector<uint8_t>& ogg : {single, chained}) {
        const TFirstLink reference = FirstLinkAsLibvorbisfileDecodesIt(Write("alone.ogg", ogg));
        for (size_t before : {size_t{1}, size_t{1001}}) {
            const std::vector<uint8_t> bytes = Joined(Filler(before), ogg);
            auto ram = std::make_shared<TRamStream>(bytes, 1, 0);
            ram->Seek(static_cast<int64_t>(before));
            ExpectSampleIs(LoadAudioSampleFrom(ram), reference);
            auto file = OpenReadStream(Write("inside.dat", bytes));
            ASSERT_NE(file, nullptr);
            file->Seek(static_cast<int64_t>(before));
            ExpectSampleIs(LoadAudioSampleFrom(file), reference);
        }
    }
}

namespace {

// An Ogg stream whose one packet is another codec's identification header.
std::vector<uint8_t> OggOfOnePacket(std::vector<uint8_t> packet)
{
    ogg_stream_state stream;
    ogg_stream_init(&stream, 7);
    ogg_packet op{};
    op.packet = packet.data();
    op.bytes = static_cast<long>(packet.size());
    op.b_o_s = 1;
    op.e_o_s = 1;
    ogg_stream_packetin(&stream, &op);
    std::vector<uint8_t> ogg;
    for (ogg_page page; ogg_stream_flush(&stream, &page);) {
        ogg.insert(ogg.end(), page.header, page.header + page.header_len);
        ogg.insert(ogg.end(), page.body, page.body + page.body_len);
    }
    ogg_stream_clear(&stream);
    return ogg;
}

// Opus: version 1, stereo, 312 samples of pre-skip, 48 kHz, no gain, the plain channel mapping.
std::vector<uint8_t> OpusIdentification()
{
    return {'O', 'p', 'u', 's', 'H', 'e', 'a', 'd', 1, 2, 0x38, 0x01, 0x80, 0xBB, 0, 0, 0, 0, 0};
}

// FLAC in Ogg: mapping 1.0, one header packet to follow, then the native signature and a
// stream-information block whose contents a Vorbis decoder never reaches.
std::vector<uint8_t> FlacIdentification()
{
    std::vector<uint8_t> packet = {0x7F, 'F', 'L', 'A', 'C', 1, 0, 0, 1, 'f', 'L', 'a', 'C', 0, 0, 0, 34};
    packet.resize(packet.size() + 34);
    return packet;
}

} // namespace

TEST_F(OggencFiles, MoreThanTwoChannelsOtherCodecsAndCutHeadersAreRefused)
{
    const std::vector<uint8_t> three = Encode(440, 4410, 44100, 3, 1);
    const std::vector<uint8_t> stereo = Encode(440, 4410, 44100, 2, 2);
    EXPECT_EQ(LoadAudioSampleFrom(Write("three.ogg", three)), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom(Write("three_then_stereo.ogg", Joined(three, stereo))), nullptr)
        << "the first link's format is the sample's";
    EXPECT_EQ(LoadAudioSampleFrom(Write("opus.ogg", OggOfOnePacket(OpusIdentification()))), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom(Write("flac.ogg", OggOfOnePacket(FlacIdentification()))), nullptr);
    // The identification header has a page of its own; the comments and the codebooks follow.
    const std::vector<size_t> bounds = PageBounds(stereo);
    ASSERT_GE(bounds.size(), 4u);
    for (size_t cut : {bounds[1] - 1, bounds[1], bounds[1] + 27, bounds[2] - 1}) {
        const std::vector<uint8_t> cutHeaders(stereo.begin(), stereo.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(LoadAudioSampleFrom(Write("cut.ogg", cutHeaders)), nullptr) << cut;
    }
}

TEST_F(OggencFiles, AStreamOfAnotherCodecBeforeTheVorbisOneIsPassedOver)
{
    const std::vector<uint8_t> vorbis = Encode(440, 11025, 22050, 1, 1);
    const TFirstLink reference = FirstLinkAsLibvorbisfileDecodesIt(Write("vorbis.ogg", vorbis));
    for (const std::vector<uint8_t>& other :
         {OggOfOnePacket(OpusIdentification()), OggOfOnePacket(FlacIdentification())})
        ExpectSampleIs(LoadAudioSampleFrom(Write("other_then_vorbis.ogg", Joined(other, vorbis))), reference);
}
