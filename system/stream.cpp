#include "system/stream.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/registry.h"

// ---- TIO ----

int TIO::Eof() { return Pos() == Size() ? 1 : 0; }
int64_t TIO::Pos() { return -1; }
int64_t TIO::Size() { return 0; }
int64_t TIO::Seek(int64_t) { return -1; }
int TIO::Flush() { return 0; }
int TIO::Close() { return 0; }
int64_t TIO::Read(void*, int64_t) { throw TStreamException("Stream is not readable"); }
int64_t TIO::Write(const void*, int64_t) { throw TStreamException("Stream is not writeable"); }

// ---- TStream ----

int64_t TStream::ReadBytes(void* buffer, int64_t count)
{
    auto* p = static_cast<uint8_t*>(buffer);
    int64_t left = count;
    while (left > 0) {
        const int64_t n = Read(p, left);
        if (n <= 0)
            throw TStreamReadException();
        p += n;
        left -= n;
    }
    return count;
}

int64_t TStream::WriteBytes(const void* buffer, int64_t count)
{
    const auto* p = static_cast<const uint8_t*>(buffer);
    int64_t left = count;
    while (left > 0) {
        const int64_t n = Write(p, left);
        if (n <= 0)
            throw TStreamWriteException();
        p += n;
        left -= n;
    }
    return count;
}

int64_t TStream::SkipBytes(int64_t count)
{
    uint8_t scratch[1024];
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, sizeof scratch);
        ReadBytes(scratch, n);
        left -= n;
    }
    return count;
}

namespace {

template <class T>
T ReadLE(TStream& s)
{
    uint8_t b[sizeof(T)];
    s.ReadBytes(b, sizeof b);
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof b; ++i)
        v |= static_cast<uint64_t>(b[i]) << (8 * i);
    T out;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&out, &v, 8);
    } else {
        const auto narrow = static_cast<uint32_t>(v);
        if constexpr (sizeof(T) == 4)
            std::memcpy(&out, &narrow, 4);
        else
            out = static_cast<T>(narrow);
    }
    return out;
}

template <class T>
void WriteLE(TStream& s, T value)
{
    uint64_t v = 0;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&v, &value, 8);
    } else if constexpr (sizeof(T) == 4) {
        uint32_t narrow;
        std::memcpy(&narrow, &value, 4);
        v = narrow;
    } else {
        v = static_cast<uint64_t>(value);
    }
    uint8_t b[sizeof(T)];
    for (size_t i = 0; i < sizeof b; ++i)
        b[i] = static_cast<uint8_t>(v >> (8 * i));
    s.WriteBytes(b, sizeof b);
}

} // namespace

int TStream::ReadByte() { return ReadLE<uint8_t>(*this); }
void TStream::WriteByte(int n) { WriteLE<uint8_t>(*this, static_cast<uint8_t>(n)); }
int TStream::ReadShort() { return ReadLE<uint16_t>(*this); }
void TStream::WriteShort(int n) { WriteLE<uint16_t>(*this, static_cast<uint16_t>(n)); }
int32_t TStream::ReadInt() { return ReadLE<int32_t>(*this); }
void TStream::WriteInt(int32_t n) { WriteLE<int32_t>(*this, n); }
int64_t TStream::ReadLong() { return ReadLE<int64_t>(*this); }
void TStream::WriteLong(int64_t n) { WriteLE<int64_t>(*this, n); }
float TStream::ReadFloat() { return ReadLE<float>(*this); }
void TStream::WriteFloat(float n) { WriteLE<float>(*this, n); }
double TStream::ReadDouble() { return ReadLE<double>(*this); }
void TStream::WriteDouble(double n) { WriteLE<double>(*this, n); }

std::string TStream::ReadLine()
{
    std::string line;
    uint8_t c;
    while (Read(&c, 1) == 1) {
        if (c == 10 || c == 0)
            break;
        if (c != 13)
            line.push_back(static_cast<char>(c));
    }
    return line;
}

int TStream::WriteLine(const std::string& text)
{
    const std::string bytes = text + "\r\n";
    return Write(bytes.data(), static_cast<int64_t>(bytes.size())) == static_cast<int64_t>(bytes.size()) ? 1 : 0;
}

std::string TStream::ReadString(int64_t length)
{
    if (length <= 0)
        return {};
    // A length read from a damaged file can be anything: refuse what the stream cannot hold before
    // allocating, and where its size is unknown let the text grow only as bytes arrive.
    const int64_t pos = Pos();
    if (pos >= 0 && length > Size() - pos)
        throw TStreamReadException();
    constexpr int64_t Chunk = 64 * 1024;
    std::string text;
    for (int64_t done = 0; done < length;) {
        const int64_t n = std::min(Chunk, length - done);
        text.resize(static_cast<size_t>(done + n));
        ReadBytes(text.data() + done, n);
        done += n;
    }
    return text;
}

void TStream::WriteString(const std::string& text)
{
    if (!text.empty())
        WriteBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TStream::ReadObject() { throw TStreamException("Unable to read object"); }
void TStream::WriteObject() { throw TStreamException("Unable to write object"); }

// ---- TOffsetStream ----

int64_t TOffsetStream::Pos()
{
    const int64_t pos = _stream->Pos();
    return pos < 0 ? pos : pos - start_;
}

int64_t TOffsetStream::Size()
{
    return std::max<int64_t>(0, _stream->Size() - start_);
}

int64_t TOffsetStream::Seek(int64_t pos)
{
    if (pos < 0)
        return -1;
    const int64_t at = _stream->Seek(start_ + pos);
    return at < 0 ? at : at - start_;
}

// ---- TCStream ----

TCStream::~TCStream()
{
    Close();
}

std::shared_ptr<TCStream> TCStream::CreateWithCStream(FILE* file, int mode)
{
    auto s = std::make_shared<TCStream>();
    s->_cstream = file;
    s->_mode = mode;
    s->_pos = ftell(file);
    fseek(file, 0, SEEK_END);
    s->_size = ftell(file);
    fseek(file, static_cast<long>(s->_pos), SEEK_SET);
    return s;
}

std::shared_ptr<TCStream> TCStream::OpenFile(const std::string& path, int readable, int writeable)
{
    const char* mode = readable && writeable ? "r+b" : writeable ? "wb" : "rb";
    const int m = (readable || !writeable ? MODE_READ : 0) | (writeable ? MODE_WRITE : 0);
    const std::string native = NativePath(path);
    if (writeable) {
        if (PathKind(native) == PathFolder)
            return nullptr; // a directory opens under glibc but reads nothing
        FILE* f = fopen(native.c_str(), mode);
        return f ? CreateWithCStream(f, m) : nullptr;
    }
    // Only regular files are read: a FIFO would block the open (and then every read) for ever,
    // and a device or directory holds no file. Opening without blocking and checking the opened
    // file itself leaves no gap for a swap between check and open.
    const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(fd, F_SETFL, 0) != 0) {
        close(fd);
        return nullptr;
    }
    FILE* f = fdopen(fd, mode);
    if (!f) {
        close(fd);
        return nullptr;
    }
    return CreateWithCStream(f, m);
}

int64_t TCStream::Seek(int64_t pos)
{
    if (!_cstream)
        return -1;
    fseek(_cstream, static_cast<long>(pos), SEEK_SET);
    _pos = ftell(_cstream);
    return _pos;
}

int TCStream::Flush()
{
    if (_cstream)
        fflush(_cstream);
    return 0;
}

int TCStream::Close()
{
    if (!_cstream)
        return 0;
    fflush(_cstream);
    fclose(_cstream);
    _cstream = nullptr;
    _pos = _size = 0;
    return 0;
}

// A transfer the stream was not opened for fails like any other failed transfer.
int64_t TCStream::Read(void* buffer, int64_t count)
{
    if (!_cstream || !(_mode & MODE_READ))
        throw TStreamReadException();
    const int64_t n = static_cast<int64_t>(fread(buffer, 1, static_cast<size_t>(count), _cstream));
    _pos += n;
    return n;
}

int64_t TCStream::Write(const void* buffer, int64_t count)
{
    if (!_cstream || !(_mode & MODE_WRITE))
        throw TStreamWriteException();
    const int64_t n = static_cast<int64_t>(fwrite(buffer, 1, static_cast<size_t>(count), _cstream));
    _pos += n;
    _size = std::max(_size, _pos);
    return n;
}

// ---- TRamStream ----

TRamStream::TRamStream(std::vector<uint8_t> data, int readable, int writeable)
    : _data(std::move(data)), _readable(readable), _writeable(writeable)
{
}

int64_t TRamStream::Seek(int64_t pos)
{
    _pos = std::clamp<int64_t>(pos, 0, Size());
    return _pos;
}

int64_t TRamStream::Read(void* buffer, int64_t count)
{
    if (!_readable)
        throw TStreamReadException();
    const int64_t n = std::max<int64_t>(0, std::min(count, Size() - _pos));
    if (n > 0)
        std::memcpy(buffer, _data.data() + _pos, static_cast<size_t>(n));
    _pos += n;
    return n;
}

int64_t TRamStream::Write(const void* buffer, int64_t count)
{
    if (!_writeable)
        throw TStreamWriteException();
    if (count <= 0)
        return 0;
    if (_pos + count > Size())
        _data.resize(static_cast<size_t>(_pos + count));
    std::memcpy(_data.data() + _pos, buffer, static_cast<size_t>(count));
    _pos += count;
    return count;
}

// ---- factories and opening ----

namespace {
TStreamFactory* g_factories = nullptr;

// A stream from a factory that cannot seek is read whole into memory, so loaders can rewind it.
std::shared_ptr<TStream> MakeSeekable(std::shared_ptr<TStream> s)
{
    if (!s || s->Pos() != -1)
        return s;
    std::vector<uint8_t> data;
    uint8_t buf[4096];
    for (int64_t n; (n = s->Read(buf, sizeof buf)) > 0;)
        data.insert(data.end(), buf, buf + n);
    s->Close();
    return std::make_shared<TRamStream>(std::move(data));
}
} // namespace

TStreamFactory::TStreamFactory()
{
    LinkAtHead(g_factories, this);
}

TStreamFactory::~TStreamFactory()
{
    Unlink(g_factories, this);
}

std::shared_ptr<TStream> OpenStreamUrl(const std::shared_ptr<TStream>& stream, int, int)
{
    // A new handle on the caller's stream, as it is: reading it into memory would consume it.
    if (!stream)
        return nullptr;
    return std::make_shared<TStreamStream>(stream);
}

std::shared_ptr<TStream> OpenStreamUrl(const std::string& url, int readable, int writeable)
{
    const size_t sep = url.find("::");
    if (sep == std::string::npos)
        return TCStream::OpenFile(url, readable, writeable);
    std::string protocol = url.substr(0, sep);
    std::transform(protocol.begin(), protocol.end(), protocol.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string path = url.substr(sep + 2);
    for (TStreamFactory* f = g_factories; f; f = f->_succ) {
        if (auto s = f->CreateStream(url, protocol, path, readable, writeable))
            return MakeSeekable(std::move(s));
    }
    return nullptr;
}

std::shared_ptr<TStream> OpenReadStream(const std::string& url) { return OpenStreamUrl(url, 1, 0); }
std::shared_ptr<TStream> OpenWriteStream(const std::string& url) { return OpenStreamUrl(url, 0, 1); }

std::string NativePath(const std::string& path)
{
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string WhyNotAFile(const std::string& path)
{
    struct stat st {};
    if (stat(NativePath(path).c_str(), &st) != 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
            return "no such file";
        case ELOOP:
            return "a loop of symbolic links";
        case EACCES:
            return "no permission to reach it";
        default:
            return std::strerror(errno);
        }
    }
    if (S_ISREG(st.st_mode))
        return {};
    return S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file (a device, pipe or socket)";
}

int PathKind(const std::string& path)
{
    struct stat st {};
    if (stat(NativePath(path).c_str(), &st) != 0)
        return PathNone;
    if (S_ISREG(st.st_mode))
        return PathFile;
    if (S_ISDIR(st.st_mode))
        return PathFolder;
    return PathNone;
}
