#include "audio/oggloader.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <exception>
#include <vorbis/vorbisfile.h>

#include "system/stream.h"

namespace {

// What the decoder reads from. The decoder is C code that exceptions must not cross, so an
// error raised by the stream is kept here and raised again once the decoder has returned.
struct TOggSource {
    TStream* stream;
    std::exception_ptr error;
};

size_t ReadCallback(void* buffer, size_t size, size_t count, void* datasource)
{
    auto* source = static_cast<TOggSource*>(datasource);
    if (size == 0 || count == 0 || source->error)
        return 0;
    try {
        const int64_t bytes = source->stream->Read(buffer, static_cast<int64_t>(size * count));
        return bytes > 0 ? static_cast<size_t>(bytes) / size : 0;
    } catch (...) {
        source->error = std::current_exception();
        errno = EIO; // tells the decoder this was no end of file
        return 0;
    }
}

int SeekCallback(void* datasource, ogg_int64_t offset, int origin)
{
    auto* source = static_cast<TOggSource*>(datasource);
    if (source->error)
        return -1;
    try {
        TStream& stream = *source->stream;
        switch (origin) {
        case SEEK_SET: return stream.Seek(offset) >= 0 ? 0 : -1;
        case SEEK_CUR: return stream.Seek(offset + stream.Pos()) >= 0 ? 0 : -1;
        case SEEK_END: return stream.Seek(offset + stream.Size()) >= 0 ? 0 : -1;
        default: return -1;
        }
    } catch (...) {
        source->error = std::current_exception();
        return -1;
    }
}

int CloseCallback(void*)
{
    return 0; // the loader chain closes the stream
}

long TellCallback(void* datasource)
{
    auto* source = static_cast<TOggSource*>(datasource);
    try {
        return static_cast<long>(source->stream->Pos());
    } catch (...) {
        source->error = std::current_exception();
        return -1;
    }
}

// The sample is the first link of a chained file: later links may differ in rate and channels.
constexpr int FirstLink = 0;

// Fills the sample from the decoder, from the first link's first sample to its end; false on a
// decoding error. A decoder that runs dry before the announced length leaves a shorter sample.
bool Decode(OggVorbis_File& file, TAudioSample& sample, int channels, const TOggSource& source)
{
    // Opening a chained file can leave the decoder in a later link.
    if (ov_pcm_seek(&file, 0) != 0)
        return false;
    const int64_t frameBytes = 2 * channels;
    char* out = reinterpret_cast<char*>(sample.samples);
    int64_t done = 0;
    int64_t left = static_cast<int64_t>(sample.length) * frameBytes;
    while (left > 0 && !source.error) {
        int link = FirstLink;
        const long n = ov_read(&file, out + done, static_cast<int>(std::min<int64_t>(left, INT_MAX)),
                               0 /* little-endian */, 2 /* 16-bit */, 1 /* signed */, &link);
        if (n < 0)
            return false; // a hole (missing or damaged pages) too: the sample would play cut
        if (n == 0 || link != FirstLink)
            break; // what was read from the next link is left past the end of the sample
        done += n;
        left -= n;
    }
    sample.length = static_cast<int32_t>(done / frameBytes);
    return true;
}

} // namespace

std::shared_ptr<TAudioSample> TAudioSampleLoaderOGG::LoadAudioSample(const std::shared_ptr<TStream>& stream)
{
    // The decoder counts positions from where the data begins, which need not be the stream's start.
    TOffsetStream data(stream, stream->Pos());
    TOggSource source{&data, nullptr};
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    OggVorbis_File file;
    if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) < 0) {
        if (source.error)
            std::rethrow_exception(source.error);
        return nullptr;
    }
    std::shared_ptr<TAudioSample> sample;
    const vorbis_info* info = ov_info(&file, FirstLink);
    const ogg_int64_t frames = ov_pcm_total(&file, FirstLink);
    // The sample holds one or two channels, and its byte size must fit its 32-bit counts.
    if (info && (info->channels == 1 || info->channels == 2) && frames >= 0 &&
        frames <= INT32_MAX / (2 * info->channels)) {
        sample = TAudioSample::Create(static_cast<int32_t>(frames), static_cast<int32_t>(info->rate),
                                      info->channels == 1 ? SF_MONO16LE : SF_STEREO16LE);
        if (!Decode(file, *sample, info->channels, source))
            sample = nullptr;
    }
    ov_clear(&file);
    if (source.error)
        std::rethrow_exception(source.error);
    return sample;
}

void StartOggLoaderModule()
{
    new TAudioSampleLoaderOGG();
}
