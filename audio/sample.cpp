#include "audio/sample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/modules.h"
#include "system/registry.h"
#include "system/stream.h"

const int32_t BytesPerSample[7] = {0, 1, 2, 2, 2, 4, 4};
const int32_t ChannelsPerSample[7] = {0, 1, 1, 1, 2, 2, 2};

namespace {

bool KnownFormat(int32_t format)
{
    return format >= SF_MONO8 && format <= SF_STEREO16BE;
}

int32_t FrameBytes(int32_t format)
{
    return format >= 0 && format <= SF_STEREO16BE ? BytesPerSample[format] : 0;
}

// Any format to stereo 16-bit big-endian: left high, left low, right high, right low.
void ToStereo16BE(const uint8_t* in, int32_t format, uint8_t* out, int32_t count)
{
    for (int32_t i = 0; i < count; ++i, out += 4) {
        uint8_t lh, ll, rh, rl;
        switch (format) {
        case SF_MONO8:
            lh = rh = static_cast<uint8_t>(in[0] - 128);
            ll = rl = in[0];
            in += 1;
            break;
        case SF_MONO16LE:
            lh = rh = in[1];
            ll = rl = in[0];
            in += 2;
            break;
        case SF_MONO16BE:
            lh = rh = in[0];
            ll = rl = in[1];
            in += 2;
            break;
        case SF_STEREO8:
            lh = static_cast<uint8_t>(in[0] - 128);
            ll = in[0];
            rh = static_cast<uint8_t>(in[1] - 128);
            rl = in[1];
            in += 2;
            break;
        default: // SF_STEREO16LE
            lh = in[1];
            ll = in[0];
            rh = in[3];
            rl = in[2];
            in += 4;
            break;
        }
        out[0] = lh;
        out[1] = ll;
        out[2] = rh;
        out[3] = rl;
    }
}

int32_t Signed16(uint8_t high, uint8_t low)
{
    return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low));
}

uint8_t Unsigned8(int32_t value)
{
    return static_cast<uint8_t>((value + 32768) / 257);
}

// Stereo 16-bit big-endian to any other format; mono takes the mean truncated toward zero.
void FromStereo16BE(const uint8_t* in, uint8_t* out, int32_t format, int32_t count)
{
    for (int32_t i = 0; i < count; ++i, in += 4) {
        const int32_t l = Signed16(in[0], in[1]);
        const int32_t r = Signed16(in[2], in[3]);
        const int32_t m = (l + r) / 2;
        switch (format) {
        case SF_MONO8:
            *out++ = Unsigned8(m);
            break;
        case SF_MONO16LE:
            *out++ = static_cast<uint8_t>(m);
            *out++ = static_cast<uint8_t>(m >> 8);
            break;
        case SF_MONO16BE:
            *out++ = static_cast<uint8_t>(m >> 8);
            *out++ = static_cast<uint8_t>(m);
            break;
        case SF_STEREO8:
            *out++ = Unsigned8(l);
            *out++ = Unsigned8(r);
            break;
        default: // SF_STEREO16LE
            *out++ = in[1];
            *out++ = in[0];
            *out++ = in[3];
            *out++ = in[2];
            break;
        }
    }
}

TAudioSampleLoader* g_loaders = nullptr;

std::shared_ptr<TAudioSample> LoadFromOpenStream(const std::shared_ptr<TStream>& stream)
{
    if (!stream)
        return nullptr;
    StartAudioLoaders();
    const int64_t pos = stream->Pos();
    if (pos == -1)
        throw TRuntimeError("Stream is not seekable");
    std::shared_ptr<TAudioSample> sample;
    for (TAudioSampleLoader* loader = g_loaders; loader && !sample; loader = loader->_succ) {
        stream->Seek(pos);
        try {
            sample = loader->LoadAudioSample(stream);
        } catch (const TStreamException&) {
            sample = nullptr;
        }
    }
    stream->Close();
    return sample;
}

} // namespace

// ---- TAudioSample ----

TAudioSample::~TAudioSample()
{
    if (capacity >= 0)
        delete[] samples;
}

std::shared_ptr<TAudioSample> TAudioSample::Create(int32_t length, int32_t hertz, int32_t format)
{
    const int64_t bytes = static_cast<int64_t>(std::max(length, 0)) * FrameBytes(format);
    if (bytes > INT32_MAX)
        return nullptr; // the byte count would not fit the 32-bit capacity
    auto sample = std::make_shared<TAudioSample>();
    if (bytes > 0)
        sample->samples = new uint8_t[static_cast<size_t>(bytes)];
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    sample->capacity = static_cast<int32_t>(bytes);
    return sample;
}

std::shared_ptr<TAudioSample> TAudioSample::CreateStatic(uint8_t* samples, int32_t length, int32_t hertz,
                                                         int32_t format)
{
    auto sample = std::make_shared<TAudioSample>();
    sample->samples = samples;
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    sample->capacity = -1;
    return sample;
}

std::shared_ptr<TAudioSample> TAudioSample::Copy()
{
    auto copy = Create(length, hertz, format);
    if (copy && copy->capacity > 0)
        std::memcpy(copy->samples, samples, static_cast<size_t>(copy->capacity));
    return copy;
}

std::shared_ptr<TAudioSample> TAudioSample::Convert(int32_t toFormat)
{
    auto converted = Create(length, hertz, toFormat);
    if (!converted)
        return nullptr;
    ConvertSamples(samples, format, converted->samples, toFormat, length);
    return converted;
}

void ConvertSamples(const uint8_t* in, int32_t inFormat, uint8_t* out, int32_t outFormat, int32_t count)
{
    if (!KnownFormat(inFormat) || !KnownFormat(outFormat))
        throw TRuntimeError("Unimplemented sample format conversion");
    if (count <= 0)
        return;
    if (inFormat == outFormat) {
        std::memcpy(out, in, static_cast<size_t>(count) * static_cast<size_t>(FrameBytes(inFormat)));
    } else if (outFormat == SF_STEREO16BE) {
        ToStereo16BE(in, inFormat, out, count);
    } else if (inFormat == SF_STEREO16BE) {
        FromStereo16BE(in, out, outFormat, count);
    } else {
        std::vector<uint8_t> stereo(static_cast<size_t>(count) * 4);
        ToStereo16BE(in, inFormat, stereo.data(), count);
        FromStereo16BE(stereo.data(), out, outFormat, count);
    }
}

// ---- loader chain ----

TAudioSampleLoader::TAudioSampleLoader()
{
    LinkAtHead(g_loaders, this);
}

TAudioSampleLoader::~TAudioSampleLoader()
{
    Unlink(g_loaders, this);
}

std::shared_ptr<TAudioSample> LoadAudioSampleFrom(const std::string& url)
{
    return LoadFromOpenStream(OpenReadStream(url));
}

std::shared_ptr<TAudioSample> LoadAudioSampleFrom(const std::shared_ptr<TStream>& stream)
{
    return LoadFromOpenStream(OpenStreamUrl(stream, 1, 0));
}
