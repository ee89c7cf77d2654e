#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "audio/sample.h"
#include "system/stream.h"
#include "tests/audio/audio_test_util.h"

namespace {

// Notes where the stream stood when it was asked, reads a little, then does what it is told.
class RecordingLoader : public TAudioSampleLoader {
public:
    explicit RecordingLoader(std::function<std::shared_ptr<TAudioSample>()> outcome)
        : _outcome(std::move(outcome))
    {
    }
    std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) override
    {
        positions.push_back(stream->Pos());
        uint8_t scratch[2];
        stream->Read(scratch, 2);
        return _outcome();
    }
    std::vector<int64_t> positions;

private:
    std::function<std::shared_ptr<TAudioSample>()> _outcome;
};

std::shared_ptr<TStream> BytesAt(int64_t pos)
{
    auto stream = std::make_shared<TRamStream>(std::vector<uint8_t>(16, 0x42), 1, 0);
    stream->Seek(pos);
    return stream;
}

// Reports a position once, then none: stands for a stream that cannot tell where it is.
class NoPositionStream : public TRamStream {
public:
    NoPositionStream() : TRamStream(std::vector<uint8_t>(8), 1, 0) {}
    int64_t Pos() override { return -1; }
};

} // namespace

TEST(AudioSampleLoader, LatestLoaderFirstEachFromTheSamePosition)
{
    auto wanted = TAudioSample::Create(1, 8000, SF_MONO8);
    RecordingLoader older([&] { return wanted; });
    RecordingLoader newer([] { return nullptr; });
    EXPECT_EQ(LoadAudioSampleFrom(BytesAt(3)), wanted);
    EXPECT_EQ(newer.positions, std::vector<int64_t>{3});
    EXPECT_EQ(older.positions, std::vector<int64_t>{3});

    // The first loader that gives a sample ends the search.
    RecordingLoader newest([&] { return wanted; });
    EXPECT_EQ(LoadAudioSampleFrom(BytesAt(0)), wanted);
    EXPECT_EQ(newer.positions.size(), 1u);
    EXPECT_EQ(older.positions.size(), 1u);
}

TEST(AudioSampleLoader, StreamErrorsCountAsNoSample)
{
    auto wanted = TAudioSample::Create(1, 8000, SF_MONO8);
    RecordingLoader fallback([&] { return wanted; });
    RecordingLoader failing([]() -> std::shared_ptr<TAudioSample> { throw TStreamReadException(); });
    EXPECT_EQ(LoadAudioSampleFrom(BytesAt(0)), wanted);
    EXPECT_EQ(failing.positions.size(), 1u);
}

TEST(AudioSampleLoader, OtherErrorsPropagate)
{
    RecordingLoader failing([]() -> std::shared_ptr<TAudioSample> { throw TRuntimeError("broken loader"); });
    ExpectRuntimeError([] { LoadAudioSampleFrom(BytesAt(0)); }, "broken loader");
}

TEST(AudioSampleLoader, NothingToLoad)
{
    EXPECT_EQ(LoadAudioSampleFrom("audio_files/no such file.ogg"), nullptr);
    EXPECT_EQ(LoadAudioSampleFrom("."), nullptr); // a directory
    EXPECT_EQ(LoadAudioSampleFrom(std::shared_ptr<TStream>()), nullptr);
    RecordingLoader declining([] { return nullptr; });
    EXPECT_EQ(LoadAudioSampleFrom(BytesAt(0)), nullptr);
}

TEST(AudioSampleLoader, StreamWithoutPosition)
{
    ExpectRuntimeError([] { LoadAudioSampleFrom(std::make_shared<NoPositionStream>()); }, "Stream is not seekable");
}
