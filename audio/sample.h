#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TStream;

// Sample frame layouts; 16-bit samples are signed, 8-bit ones unsigned, stereo is left then right.
enum : int32_t {
    SF_MONO8 = 1,
    SF_MONO16LE = 2,
    SF_MONO16BE = 3,
    SF_STEREO8 = 4,
    SF_STEREO16LE = 5,
    SF_STEREO16BE = 6,
};

// Indexed by format code; code 0 (no format) has no bytes and no channels.
extern const int32_t BytesPerSample[7];
extern const int32_t ChannelsPerSample[7];

// A buffer of sample frames in one of the six formats.
class TAudioSample {
public:
    TAudioSample() = default;
    TAudioSample(const TAudioSample&) = delete;
    TAudioSample& operator=(const TAudioSample&) = delete;
    virtual ~TAudioSample();

    // None, like Create, when the new sample would be too large.
    virtual std::shared_ptr<TAudioSample> Copy();
    // A new sample of the same length and rate in the given format.
    virtual std::shared_ptr<TAudioSample> Convert(int32_t format);

    // Owns length times bytes-per-frame bytes of undefined contents. None when that is above
    // INT32_MAX bytes, which the capacity cannot count.
    static std::shared_ptr<TAudioSample> Create(int32_t length, int32_t hertz, int32_t format);
    // Wraps memory the caller keeps owning and freeing.
    static std::shared_ptr<TAudioSample> CreateStatic(uint8_t* samples, int32_t length, int32_t hertz,
                                                      int32_t format);

    uint8_t* samples = nullptr;
    int32_t length = 0;   // frames
    int32_t hertz = 0;    // frames per second
    int32_t format = 0;
    int32_t capacity = 0; // bytes owned; -1 when the memory belongs to someone else
};

// Converts count frames; every pair of formats goes through stereo 16-bit big-endian.
// Fails with "Unimplemented sample format conversion" for a code outside 1 to 6.
void ConvertSamples(const uint8_t* in, int32_t inFormat, uint8_t* out, int32_t outFormat, int32_t count);

// One way of turning a file into a sample. A constructed loader links itself at the head of
// the chain, so the latest one is tried first.
class TAudioSampleLoader {
public:
    TAudioSampleLoader();
    TAudioSampleLoader(const TAudioSampleLoader&) = delete;
    TAudioSampleLoader& operator=(const TAudioSampleLoader&) = delete;
    virtual ~TAudioSampleLoader();
    // None when the stream is not in this loader's format.
    virtual std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) = 0;
    TAudioSampleLoader* _succ = nullptr;
};

// Tries every loader on the file or stream; none when it cannot be opened or no loader takes it.
// A stream error inside a loader counts as that loader declining. The stream is closed afterwards.
std::shared_ptr<TAudioSample> LoadAudioSampleFrom(const std::string& url);
std::shared_ptr<TAudioSample> LoadAudioSampleFrom(const std::shared_ptr<TStream>& stream);
