#pragma once
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "audio/sample.h"

// Bit 0 of the flags of a sound: play it in a loop until stopped.
enum : int { SOUND_LOOP = 1 };

// What a sound is loaded from: a file path or "protocol::path" URL, an open stream, or a sample.
using TSoundUrl = std::variant<std::string, std::shared_ptr<TStream>, std::shared_ptr<TAudioSample>>;

// One playing voice. The base is inert: every operation does nothing and Playing is 0.
class TChannel {
public:
    virtual ~TChannel() = default;
    virtual void Stop() {}
    virtual void SetPaused(int paused) {}
    virtual void SetVolume(float volume) {}
    virtual void SetPan(float pan) {}     // -1 left, 0 centre, 1 right
    virtual void SetDepth(float depth) {}
    virtual void SetRate(float rate) {}   // 1 plays at the sample's own rate
    virtual int Playing() { return 0; }
};

// A sample prepared for playback by a driver. The base plays on new inert channels.
class TSound {
public:
    virtual ~TSound() = default;
    // Starts the sound on channel (none: on a new channel) and returns that channel.
    virtual std::shared_ptr<TChannel> Play(const std::shared_ptr<TChannel>& channel = nullptr);
    // Like Play, but the channel is left paused, ready to be set up and resumed.
    virtual std::shared_ptr<TChannel> Cue(const std::shared_ptr<TChannel>& channel = nullptr);

    // A sound of the current driver; none when nothing can be loaded from url.
    static std::shared_ptr<TSound> Load(const TSoundUrl& url, int flags);
};

// An output device. The base class is the silent "Null" driver. A constructed driver links
// itself at the head of the registry; drivers live for the whole run.
class TAudioDriver {
public:
    TAudioDriver();
    TAudioDriver(const TAudioDriver&) = delete;
    TAudioDriver& operator=(const TAudioDriver&) = delete;
    virtual ~TAudioDriver();

    virtual std::string Name() { return "Null"; }
    virtual int Startup() { return 1; }   // 1 when the driver is ready
    virtual void Shutdown() {}
    virtual std::shared_ptr<TSound> CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags);
    virtual std::shared_ptr<TChannel> AllocChannel();
    virtual std::shared_ptr<TSound> LoadSound(const TSoundUrl& url, int flags);

    TAudioDriver* _succ = nullptr;
};

// Creates the "Null" driver and arranges for the current driver to be shut down at exit.
void StartSoundModule();

// The current driver. The first call with none selected asks for the historic default driver,
// which this build does not register, and so settles on "Null".
TAudioDriver* AudioDriver();

// The registered drivers' names, latest first, at most 100.
std::vector<std::string> AudioDriverNames();
// 1 when a registered driver has this name, ignoring letter case.
int HasAudioDriver(const std::string& name);
// Shuts the current driver down and starts the named one; on failure (0) "Null" is current.
int SelectAudioDriver(const std::string& name);

// Free forms of the driver, sound and channel operations; a none sound or channel does nothing.
std::shared_ptr<TSound> LoadSound(const TSoundUrl& url, int flags = 0);
std::shared_ptr<TChannel> AllocChannel();
std::shared_ptr<TChannel> PlaySound(const std::shared_ptr<TSound>& sound,
                                    const std::shared_ptr<TChannel>& channel = nullptr);
std::shared_ptr<TChannel> CueSound(const std::shared_ptr<TSound>& sound,
                                   const std::shared_ptr<TChannel>& channel = nullptr);
void StopChannel(const std::shared_ptr<TChannel>& channel);
int ChannelPlaying(const std::shared_ptr<TChannel>& channel);
void SetChannelVolume(const std::shared_ptr<TChannel>& channel, float volume);
void SetChannelPan(const std::shared_ptr<TChannel>& channel, float pan);
void SetChannelDepth(const std::shared_ptr<TChannel>& channel, float depth);
void SetChannelRate(const std::shared_ptr<TChannel>& channel, float rate);
void PauseChannel(const std::shared_ptr<TChannel>& channel);
void ResumeChannel(const std::shared_ptr<TChannel>& channel);
