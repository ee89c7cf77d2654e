#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "audio/openal.h"
#include "audio/sound.h"

class TOpenALSound;

// Plays through an OpenAL device; "OpenAL" is registered when the library loads with every
// entry point the driver calls.
class TOpenALAudioDriver : public TAudioDriver {
public:
    // devname empty: the default device.
    TOpenALAudioDriver(std::string name, std::string devname);
    std::string Name() override { return _name; }
    int Startup() override;
    void Shutdown() override;
    std::shared_ptr<TSound> CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags) override;
    std::shared_ptr<TChannel> AllocChannel() override;

    std::string _name;
    std::string _devname;
    openal::ALCdevice* _device = nullptr;
    openal::ALCcontext* _context = nullptr;
};

// One OpenAL buffer holding a whole sample.
class TOpenALSound : public TSound, public std::enable_shared_from_this<TOpenALSound> {
public:
    ~TOpenALSound() override;
    std::shared_ptr<TChannel> Play(const std::shared_ptr<TChannel>& channel = nullptr) override;
    std::shared_ptr<TChannel> Cue(const std::shared_ptr<TChannel>& channel = nullptr) override;

    // None when the sample is none or no buffer can be made or filled for it.
    static std::shared_ptr<TOpenALSound> Create(const std::shared_ptr<TAudioSample>& sample, int flags);

    openal::ALuint _buffer = 0;
    int32_t _loop = 0;
    int32_t _session = 0; // the device session the buffer belongs to
};

// An OpenAL source, shared out to channels through a recycling pool.
class TOpenALSource {
public:
    int Playing();
    int Paused();  // paused, or never played since it was given its buffer
    int Active();  // anything but stopped: not free for another channel

    std::shared_ptr<TOpenALSource> _succ; // next in the pool
    openal::ALuint _id = 0;               // 0 when generation failed
    int32_t _seq = 0;                     // bumped whenever the source is taken from its channel
    std::shared_ptr<TOpenALSound> _sound; // keeps the attached sound alive while it plays
    int32_t _session = 0;                 // the device session the source belongs to
};

// A voice on a pooled source. The channel is valid while its _seq matches its source's;
// every operation on an invalid channel does nothing.
class TOpenALChannel : public TChannel {
public:
    ~TOpenALChannel() override;
    void Stop() override;
    void SetPaused(int paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetRate(float rate) override;
    int Playing() override;
    void Cue(const std::shared_ptr<TOpenALSound>& sound);

    // isStatic 1 reserves the source for the channel until Stop; 0 lets the pool take it
    // back as soon as it has stopped playing.
    static std::shared_ptr<TOpenALChannel> Create(int isStatic);

    bool Valid() const;

    std::shared_ptr<TOpenALSource> _source;
    int32_t _seq = 0;
    int32_t _static = 0;
};

// Loads the OpenAL library and registers the "OpenAL" driver when it loaded with every entry
// point the driver calls.
void StartOpenALModule();

// Registers "OpenAL <device>" for each listed device and "OpenAL Default"; runs once and
// returns 1 when it could list devices, the same on later calls.
int EnumerateOpenALDevices();
