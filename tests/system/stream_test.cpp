#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "system/stream.h"

namespace fs = std::filesystem;

namespace {

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("brim_stream_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::vector<uint8_t> Bytes(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void Put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(Path(name), std::ios::binary);
        out << bytes;
    }

    fs::path dir_;
};

} // namespace

TEST_F(StreamTest, TypedValuesRoundTripWithExactBytes)
{
    {
        auto s = OpenWriteStream(Path("typed.dat"));
        ASSERT_NE(s, nullptr);
        s->WriteByte(0x1FF);
        s->WriteShort(0xFFFE);
        s->WriteInt(-2);
        s->WriteLong(0x0102030405060708LL);
        s->WriteFloat(1.5f);
        s->WriteDouble(-0.25);
        s->WriteString("abc");
        s->WriteString("");
        EXPECT_EQ(s->Pos(), 1 + 2 + 4 + 8 + 4 + 8 + 3);
        s->Close();
    }
    const std::vector<uint8_t> expected = {
        0xFF,                                           // low 8 bits of 0x1FF
        0xFE, 0xFF,                                     // short
        0xFE, 0xFF, 0xFF, 0xFF,                         // int -2
        0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, // long
        0x00, 0x00, 0xC0, 0x3F,                         // float 1.5
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xBF, // double -0.25
        'a', 'b', 'c'};
    EXPECT_EQ(Bytes("typed.dat"), expected);

    auto r = OpenReadStream(Path("typed.dat"));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Size(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(r->ReadByte(), 255);
    EXPECT_EQ(r->ReadShort(), 65534);
    EXPECT_EQ(r->ReadInt(), -2);
    EXPECT_EQ(r->ReadLong(), 0x0102030405060708LL);
    EXPECT_EQ(r->ReadFloat(), 1.5f);
    EXPECT_EQ(r->ReadDouble(), -0.25);
    EXPECT_EQ(r->ReadString(0), "");
    EXPECT_EQ(r->ReadString(3), "abc");
    EXPECT_EQ(r->Eof(), 1);
}

TEST_F(StreamTest, BothSeparatorsNameTheSameFile)
{
    fs::create_directories(dir_ / "data");
    {
        auto w = OpenWriteStream(dir_.string() + "\\data\\scores.dat");
        ASSERT_NE(w, nullptr);
        w->WriteInt(1234);
    }
    EXPECT_EQ(PathKind(dir_.string() + "\\data\\scores.dat"), PathFile);
    EXPECT_EQ(PathKind(dir_.string() + "/data"), PathFolder);
    auto r = OpenReadStream(dir_.string() + "/data/scores.dat");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->ReadInt(), 1234);
}

TEST_F(StreamTest, MissingFileAndMissingFolder)
{
    EXPECT_EQ(OpenReadStream(Path("absent.dat")), nullptr);
    EXPECT_EQ(OpenWriteStream(Path("no/such/dir/file.dat")), nullptr);
    EXPECT_EQ(OpenReadStream(dir_.string()), nullptr) << "a directory is not a readable file";
    EXPECT_EQ(PathKind(Path("absent.dat")), PathNone);
}

// A FIFO with no writer would block the open for ever; only regular files are read.
TEST_F(StreamTest, OnlyRegularFilesOpenForReading)
{
    ASSERT_EQ(mkfifo(Path("pipe.png").c_str(), 0644), 0);
    EXPECT_EQ(OpenReadStream(Path("pipe.png")), nullptr);
    EXPECT_EQ(OpenReadStream("/dev/zero"), nullptr) << "a device is no file either";
    Put("plain.dat", "abc");
    fs::create_symlink(Path("plain.dat"), Path("link.dat"));
    auto linked = OpenReadStream(Path("link.dat"));
    ASSERT_NE(linked, nullptr) << "a link to a regular file is read through";
    EXPECT_EQ(linked->ReadString(3), "abc");
}

TEST_F(StreamTest, ReadingPastTheEndFails)
{
    Put("short.dat", std::string("\x01\x02\x03", 3));
    auto r = OpenReadStream(Path("short.dat"));
    ASSERT_NE(r, nullptr);
    try {
        r->ReadInt();
        FAIL() << "expected a read error";
    } catch (const TStreamReadException& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    auto again = OpenReadStream(Path("short.dat"));
    EXPECT_THROW(again->SkipBytes(4), TStreamReadException);
}

TEST_F(StreamTest, ReadOnlyAndWriteOnlyStreamsFailLikeAnyFailedTransfer)
{
    Put("one.dat", "x");
    auto r = OpenReadStream(Path("one.dat"));
    try {
        r->WriteByte(1);
        FAIL() << "expected a write error";
    } catch (const TStreamWriteException& e) {
        EXPECT_STREQ(e.what(), "Error writing to stream");
    }
    auto w = OpenWriteStream(Path("two.dat"));
    try {
        w->ReadByte();
        FAIL() << "expected a read error";
    } catch (const TStreamReadException& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    EXPECT_THROW(w->ReadLine(), TStreamReadException);
    w->Close();
    EXPECT_THROW(w->WriteInt(1), TStreamWriteException) << "a closed file takes no more bytes";

    TRamStream readOnly({1, 2}, 1, 0), writeOnly({}, 0, 1);
    EXPECT_THROW(readOnly.WriteByte(3), TStreamWriteException);
    EXPECT_THROW(writeOnly.ReadByte(), TStreamReadException);
}

TEST_F(StreamTest, ReadStringRefusesMoreThanIsLeftBeforeAllocating)
{
    Put("text.dat", "abcdef");
    auto r = OpenReadStream(Path("text.dat"));
    r->Seek(2);
    EXPECT_THROW(r->ReadString(5), TStreamReadException);
    EXPECT_THROW(r->ReadString(INT64_MAX / 2), TStreamReadException);
    EXPECT_EQ(r->Pos(), 2) << "nothing was read";
    EXPECT_EQ(r->ReadString(4), "cdef");
}

TEST_F(StreamTest, ReadAndWriteModeUpdatesInPlace)
{
    Put("rw.dat", std::string("\x01\x01\x00", 3));
    auto s = OpenStreamUrl(Path("rw.dat"), 1, 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ReadByte(), 1);
    s->Seek(2);
    s->WriteByte(7);
    EXPECT_EQ(s->Size(), 3);
    s->Close();
    EXPECT_EQ(Bytes("rw.dat"), (std::vector<uint8_t>{1, 1, 7}));
}

TEST_F(StreamTest, ReadLineOnMixedLineEnds)
{
    Put("lines.txt", std::string("ab\r\ncd\nef\0gh", 12) + "\r\nlast");
    auto r = OpenReadStream(Path("lines.txt"));
    EXPECT_EQ(r->ReadLine(), "ab");
    EXPECT_EQ(r->ReadLine(), "cd");
    EXPECT_EQ(r->ReadLine(), "ef");
    EXPECT_EQ(r->ReadLine(), "gh");
    EXPECT_EQ(r->ReadLine(), "last");
    EXPECT_EQ(r->Eof(), 1);
    EXPECT_EQ(r->ReadLine(), "");

    Put("nofinal.txt", "ab\r\ncd");
    auto n = OpenReadStream(Path("nofinal.txt"));
    EXPECT_EQ(n->ReadLine(), "ab");
    EXPECT_EQ(n->ReadLine(), "cd");
    EXPECT_EQ(n->ReadLine(), "");
    EXPECT_EQ(n->Eof(), 1);
}

TEST_F(StreamTest, WriteLineEndsWithCarriageReturnLineFeed)
{
    auto w = OpenWriteStream(Path("out.txt"));
    EXPECT_EQ(w->WriteLine("Yo. 0"), 1);
    w->Close();
    EXPECT_EQ(Bytes("out.txt"), (std::vector<uint8_t>{'Y', 'o', '.', ' ', '0', 13, 10}));
}

TEST_F(StreamTest, CloseTwiceIsHarmless)
{
    auto w = OpenWriteStream(Path("c.dat"));
    w->WriteByte(5);
    w->Close();
    w->Close();
    EXPECT_EQ(w->Pos(), 0);
    EXPECT_EQ(w->Size(), 0);
    EXPECT_EQ(Bytes("c.dat"), std::vector<uint8_t>{5});
}

namespace {

// Serves "mem::<text>" as a stream that cannot seek, to exercise the factory chain.
class UnseekableStream : public TStream {
public:
    explicit UnseekableStream(std::string text) : text_(std::move(text)) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(text_.size() - at_));
        std::memcpy(buffer, text_.data() + at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        return n;
    }

private:
    std::string text_;
    size_t at_ = 0;
};

class MemFactory : public TStreamFactory {
public:
    std::string lastProtocol;
    std::shared_ptr<TStream> CreateStream(const std::string&, const std::string& protocol, const std::string& path,
                                          int, int) override
    {
        lastProtocol = protocol;
        if (protocol != "mem")
            return nullptr;
        return std::make_shared<UnseekableStream>(path);
    }
};

} // namespace

TEST_F(StreamTest, FactoryUrlsAndUnseekableStreamsBecomeSeekable)
{
    MemFactory factory;
    auto s = OpenReadStream("MEM::hello");
    EXPECT_EQ(factory.lastProtocol, "mem");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Pos(), 0) << "an unseekable stream is replaced by one in memory";
    EXPECT_EQ(s->Size(), 5);
    EXPECT_EQ(s->ReadString(5), "hello");
    s->Seek(1);
    EXPECT_EQ(s->ReadString(2), "el");

    EXPECT_EQ(OpenReadStream("web::x"), nullptr);
    EXPECT_EQ(factory.lastProtocol, "web");
}

TEST_F(StreamTest, OpeningAStreamObjectGivesANewHandle)
{
    auto ram = std::make_shared<TRamStream>(std::vector<uint8_t>{1, 2, 3, 4});
    auto handle = OpenStreamUrl(std::static_pointer_cast<TStream>(ram), 1, 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(handle.get(), ram.get());
    EXPECT_EQ(handle->ReadInt(), 0x04030201);
}

TEST_F(StreamTest, AnUnseekableStreamObjectIsWrappedAsItIs)
{
    auto source = std::make_shared<UnseekableStream>("hello world");
    auto handle = OpenStreamUrl(std::static_pointer_cast<TStream>(source), 1, 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->Pos(), -1) << "still unseekable: nothing was read into memory";
    EXPECT_EQ(handle->ReadString(5), "hello");
    EXPECT_EQ(source->ReadString(6), " world") << "the handle reads the caller's stream itself";
    // A huge length on a stream of unknown size fails when the bytes run out, not on allocation.
    EXPECT_THROW(handle->ReadString(INT64_MAX / 2), TStreamReadException);
}

TEST_F(StreamTest, AnOffsetStreamCountsFromItsStart)
{
    const std::string text = "junk:payload";
    Put("offset.dat", text);
    auto file = OpenReadStream(Path("offset.dat"));
    auto ram = std::make_shared<TRamStream>(std::vector<uint8_t>(text.begin(), text.end()));
    for (const std::shared_ptr<TStream>& inner : {file, std::static_pointer_cast<TStream>(ram)}) {
        ASSERT_NE(inner, nullptr);
        inner->Seek(5);
        TOffsetStream payload(inner, inner->Pos());
        EXPECT_EQ(payload.Pos(), 0);
        EXPECT_EQ(payload.Size(), 7);
        EXPECT_EQ(payload.ReadString(3), "pay");
        EXPECT_EQ(payload.Pos(), 3);
        EXPECT_EQ(payload.Seek(1), 1);
        EXPECT_EQ(payload.ReadString(2), "ay");
        EXPECT_EQ(payload.Seek(0), 0);
        EXPECT_EQ(payload.ReadString(7), "payload");
        EXPECT_EQ(payload.Eof(), 1);
        // What lies before the start stays out of reach, and the inner position is left alone.
        EXPECT_EQ(payload.Seek(-1), -1);
        EXPECT_EQ(inner->Pos(), 12);
    }
}

TEST_F(StreamTest, BaseIoCannotSeekOrTransfer)
{
    TIO io;
    EXPECT_EQ(io.Pos(), -1);
    EXPECT_EQ(io.Seek(3), -1);
    EXPECT_EQ(io.Size(), 0);
    EXPECT_EQ(io.Eof(), 0);
    char b;
    EXPECT_THROW(io.Read(&b, 1), TStreamException);
    EXPECT_THROW(io.Write(&b, 1), TStreamException);
    TStream s;
    EXPECT_THROW(s.ReadObject(), TStreamException);
    EXPECT_THROW(s.WriteObject(), TStreamException);
}
