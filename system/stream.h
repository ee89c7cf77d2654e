#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "system/error.h"

class TStreamException : public TRuntimeError {
public:
    using TRuntimeError::TRuntimeError;
};
class TStreamReadException : public TStreamException {
public:
    TStreamReadException() : TStreamException("Error reading from stream") {}
};
class TStreamWriteException : public TStreamException {
public:
    TStreamWriteException() : TStreamException("Error writing to stream") {}
};

// Raw byte I/O with a position and a size. The base can neither seek, read nor write.
class TIO {
public:
    virtual ~TIO() = default;
    virtual int Eof();
    virtual int64_t Pos();
    virtual int64_t Size();
    virtual int64_t Seek(int64_t pos);
    virtual int Flush();
    virtual int Close();
    virtual int64_t Read(void* buffer, int64_t count);
    virtual int64_t Write(const void* buffer, int64_t count);
};

// Typed reads and writes on top of Read/Write: fixed widths, little-endian, no framing.
class TStream : public TIO {
public:
    int64_t ReadBytes(void* buffer, int64_t count);
    int64_t WriteBytes(const void* buffer, int64_t count);
    int64_t SkipBytes(int64_t count);
    int ReadByte();
    void WriteByte(int n);
    int ReadShort();
    void WriteShort(int n);
    int32_t ReadInt();
    void WriteInt(int32_t n);
    int64_t ReadLong();
    void WriteLong(int64_t n);
    float ReadFloat();
    void WriteFloat(float n);
    double ReadDouble();
    void WriteDouble(double n);
    std::string ReadLine();
    int WriteLine(const std::string& text);
    std::string ReadString(int64_t length);
    void WriteString(const std::string& text);
    [[noreturn]] void ReadObject();
    [[noreturn]] void WriteObject();
};

// Forwards every primitive to an inner stream.
class TStreamWrapper : public TStream {
public:
    explicit TStreamWrapper(std::shared_ptr<TStream> inner) : _stream(std::move(inner)) {}
    int Eof() override { return _stream->Eof(); }
    int64_t Pos() override { return _stream->Pos(); }
    int64_t Size() override { return _stream->Size(); }
    int64_t Seek(int64_t pos) override { return _stream->Seek(pos); }
    int Flush() override { return _stream->Flush(); }
    int Close() override { return _stream->Close(); }
    int64_t Read(void* buffer, int64_t count) override { return _stream->Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override { return _stream->Write(buffer, count); }

protected:
    std::shared_ptr<TStream> _stream;
};

// A new handle on an existing stream object.
class TStreamStream : public TStreamWrapper {
public:
    using TStreamWrapper::TStreamWrapper;
};

// The inner stream from a start position on: positions and the size count from there, so data
// found part-way through a stream reads like a stream of its own. Nothing before the start can
// be reached through it.
class TOffsetStream : public TStreamWrapper {
public:
    TOffsetStream(std::shared_ptr<TStream> inner, int64_t start) : TStreamWrapper(std::move(inner)), start_(start) {}
    int64_t Pos() override;
    int64_t Size() override;
    int64_t Seek(int64_t pos) override;

private:
    int64_t start_;
};

// A file of the C library's buffered file layer, opened in binary modes.
class TCStream : public TStream {
public:
    enum { MODE_READ = 1, MODE_WRITE = 2 };
    ~TCStream() override;
    int64_t Pos() override { return _pos; }
    int64_t Size() override { return _size; }
    int64_t Seek(int64_t pos) override;
    int Flush() override;
    int Close() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;

    static std::shared_ptr<TCStream> OpenFile(const std::string& path, int readable, int writeable);
    static std::shared_ptr<TCStream> CreateWithCStream(FILE* file, int mode);

    int64_t _pos = 0;
    int64_t _size = 0;
    FILE* _cstream = nullptr;
    int _mode = 0;
};

// A stream over bytes held in memory; stands in for streams that cannot seek.
class TRamStream : public TStream {
public:
    explicit TRamStream(std::vector<uint8_t> data, int readable = 1, int writeable = 1);
    int64_t Pos() override { return _pos; }
    int64_t Size() override { return static_cast<int64_t>(_data.size()); }
    int64_t Seek(int64_t pos) override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    const std::vector<uint8_t>& Data() const { return _data; }

private:
    std::vector<uint8_t> _data;
    int64_t _pos = 0;
    int _readable, _writeable;
};

// Opens "protocol::path" URLs. Constructed factories link themselves at the head of the registry.
class TStreamFactory {
public:
    TStreamFactory();
    virtual ~TStreamFactory();
    virtual std::shared_ptr<TStream> CreateStream(const std::string& url, const std::string& protocol,
                                                  const std::string& path, int readable, int writeable) = 0;
    TStreamFactory* _succ = nullptr;
};

std::shared_ptr<TStream> OpenStreamUrl(const std::string& url, int readable, int writeable);
std::shared_ptr<TStream> OpenStreamUrl(const std::shared_ptr<TStream>& stream, int readable, int writeable);
std::shared_ptr<TStream> OpenReadStream(const std::string& url);
std::shared_ptr<TStream> OpenWriteStream(const std::string& url);

// Replaces every "\" with "/", so both separators name the same file.
std::string NativePath(const std::string& path);

// What PathKind finds; the numbers are those the game prints.
enum : int { PathNone = 0, PathFile = 1, PathFolder = 2 };
// PathNone when nothing exists at path (or something other than a file or folder).
int PathKind(const std::string& path);
// Why path is no regular file to read, in a few words ("no such file", "a folder", "a loop of
// symbolic links", ...); empty when it is one.
std::string WhyNotAFile(const std::string& path);
