#include "audio/openal_driver.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <numbers>

#include "audio/modules.h"

using namespace openal;

namespace {

// Buffer and source names belong to one device: once it is closed they mean nothing, and the
// next device hands the same numbers out again. Sounds and sources remember the session they
// were made in and are left alone after it ends.
int32_t g_sessions = 0;
int32_t g_openSession = 0; // 0 while no device is open

std::shared_ptr<TOpenALSource> g_pool; // head of the source pool, linked through _succ

// 1 when no error was pending; reading it clears it.
int CheckALError()
{
    return alGetError() == AL_NO_ERROR ? 1 : 0;
}

ALint SourceState(ALuint id)
{
    ALint state = 0;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    return state;
}

void PushOnPool(const std::shared_ptr<TOpenALSource>& source)
{
    source->_succ = g_pool;
    g_pool = source;
}

// Takes the first source that has stopped out of the pool; none when every one is busy.
std::shared_ptr<TOpenALSource> TakeFreeSource()
{
    for (std::shared_ptr<TOpenALSource>* link = &g_pool; *link; link = &(*link)->_succ) {
        if (!(*link)->Active()) {
            std::shared_ptr<TOpenALSource> source = *link;
            *link = source->_succ;
            source->_succ.reset();
            return source;
        }
    }
    return nullptr;
}

void ClearPool()
{
    // Unlinked one by one, so a long pool is not released recursively.
    while (g_pool) {
        std::shared_ptr<TOpenALSource> next = g_pool->_succ;
        g_pool->_succ.reset();
        g_pool = next;
    }
}

// Stops the source and lets go of its sound; the buffer is detached first so that a sound
// released here can delete it.
void Release(TOpenALSource& source)
{
    alSourceStop(source._id);
    alSourcei(source._id, AL_BUFFER, 0);
    source._sound.reset();
}

} // namespace

// ---- driver ----

TOpenALAudioDriver::TOpenALAudioDriver(std::string name, std::string devname)
    : _name(std::move(name)), _devname(std::move(devname))
{
}

int TOpenALAudioDriver::Startup()
{
    _device = nullptr;
    if (!_devname.empty()) {
        _device = alcOpenDevice(_devname.c_str());
    } else if (OpenALLoaded()) {
        _device = alcOpenDevice(nullptr);
        if (!_device)
            _device = alcOpenDevice("Generic Hardware");
        if (!_device)
            _device = alcOpenDevice("Generic Software");
    }
    if (!_device)
        return 0;
    _context = alcCreateContext(_device, nullptr);
    if (!_context) {
        alcCloseDevice(_device);
        _device = nullptr;
        return 0;
    }
    alcMakeContextCurrent(_context);
    alDistanceModel(AL_NONE);
    g_openSession = ++g_sessions;
    return 1;
}

void TOpenALAudioDriver::Shutdown()
{
    if (!_device)
        return;
    // The device takes its sources and buffers with it: nothing left over may touch them.
    g_openSession = 0;
    ClearPool();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(_context);
    alcCloseDevice(_device);
    _context = nullptr;
    _device = nullptr;
}

std::shared_ptr<TSound> TOpenALAudioDriver::CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags)
{
    return TOpenALSound::Create(sample, flags);
}

std::shared_ptr<TChannel> TOpenALAudioDriver::AllocChannel()
{
    return TOpenALChannel::Create(1);
}

// ---- sound ----

std::shared_ptr<TOpenALSound> TOpenALSound::Create(const std::shared_ptr<TAudioSample>& sample, int flags)
{
    if (!sample || !g_openSession)
        return nullptr;
    // OpenAL takes 16-bit samples in the machine's little-endian order.
    std::shared_ptr<TAudioSample> data = sample;
    ALenum format = 0;
    switch (sample->format) {
    case SF_MONO8: format = AL_FORMAT_MONO8; break;
    case SF_MONO16LE: format = AL_FORMAT_MONO16; break;
    case SF_MONO16BE: data = sample->Convert(SF_MONO16LE); format = AL_FORMAT_MONO16; break;
    case SF_STEREO8: format = AL_FORMAT_STEREO8; break;
    case SF_STEREO16LE: format = AL_FORMAT_STEREO16; break;
    case SF_STEREO16BE: data = sample->Convert(SF_STEREO16LE); format = AL_FORMAT_STEREO16; break;
    default: return nullptr;
    }
    // OpenAL counts buffer bytes in a signed 32-bit size.
    const int64_t bytes = data ? static_cast<int64_t>(std::max(data->length, 0)) * BytesPerSample[data->format] : 0;
    if (!data || bytes > INT32_MAX)
        return nullptr;
    CheckALError();
    ALuint buffer = static_cast<ALuint>(-1);
    alGenBuffers(1, &buffer);
    if (!CheckALError())
        return nullptr;
    alBufferData(buffer, format, data->samples, static_cast<ALsizei>(bytes), data->hertz);
    if (!CheckALError()) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    auto sound = std::make_shared<TOpenALSound>();
    sound->_buffer = buffer;
    sound->_loop = (flags & SOUND_LOOP) ? 1 : 0;
    sound->_session = g_openSession;
    return sound;
}

TOpenALSound::~TOpenALSound()
{
    if (_session == g_openSession)
        alDeleteBuffers(1, &_buffer);
}

std::shared_ptr<TChannel> TOpenALSound::Play(const std::shared_ptr<TChannel>& channel)
{
    std::shared_ptr<TChannel> cued = Cue(channel);
    cued->SetPaused(0);
    return cued;
}

std::shared_ptr<TChannel> TOpenALSound::Cue(const std::shared_ptr<TChannel>& channel)
{
    std::shared_ptr<TOpenALChannel> target = std::dynamic_pointer_cast<TOpenALChannel>(channel);
    if (!target)
        target = TOpenALChannel::Create(0);
    target->Cue(shared_from_this());
    return target;
}

// ---- source ----

int TOpenALSource::Playing()
{
    return SourceState(_id) == AL_PLAYING ? 1 : 0;
}

int TOpenALSource::Paused()
{
    const ALint state = SourceState(_id);
    return state == AL_PAUSED || state == AL_INITIAL ? 1 : 0;
}

int TOpenALSource::Active()
{
    // Stopping a source that never played leaves it initial, so an initial source is busy only
    // while a sound is attached: cued and waiting to start.
    const ALint state = SourceState(_id);
    return state == AL_PLAYING || state == AL_PAUSED || (state == AL_INITIAL && _sound) ? 1 : 0;
}

// ---- channel ----

std::shared_ptr<TOpenALChannel> TOpenALChannel::Create(int isStatic)
{
    std::shared_ptr<TOpenALSource> source;
    if (g_openSession) {
        source = TakeFreeSource();
        if (source) {
            ++source->_seq; // the channel that had it is invalid from now on
            alSourcei(source->_id, AL_BUFFER, 0);
            source->_sound.reset();
        } else {
            source = std::make_shared<TOpenALSource>();
            source->_session = g_openSession;
            alGenSources(1, &source->_id);
            if (!CheckALError())
                source->_id = 0;
        }
    } else {
        source = std::make_shared<TOpenALSource>(); // no device: a channel that never plays
    }
    auto channel = std::make_shared<TOpenALChannel>();
    channel->_source = source;
    channel->_seq = source->_seq;
    channel->_static = isStatic;
    if (source->_id) {
        alSourcei(source->_id, AL_SOURCE_RELATIVE, 1);
        alSourcef(source->_id, AL_GAIN, 1.0f);
        alSourcef(source->_id, AL_PITCH, 1.0f);
        alSource3f(source->_id, AL_POSITION, 0.0f, 0.0f, 1.0f);
        if (!isStatic)
            PushOnPool(source);
    } else {
        ++channel->_seq;
    }
    return channel;
}

TOpenALChannel::~TOpenALChannel()
{
    if (!Valid())
        return;
    if (!_source->Playing()) // a playing sound is left to finish
        Release(*_source);
    if (_static)
        PushOnPool(_source);
}

bool TOpenALChannel::Valid() const
{
    return _source && _seq == _source->_seq && _source->_session != 0 && _source->_session == g_openSession;
}

void TOpenALChannel::Cue(const std::shared_ptr<TOpenALSound>& sound)
{
    if (!Valid() || sound->_session != g_openSession)
        return;
    // Rewinding leaves the source initial: the pool counts it as active, so it is not handed
    // to another channel before this one starts, and it accepts a new buffer, which a paused
    // or playing source refuses and a stopped one would not protect.
    alSourceRewind(_source->_id);
    alSourcei(_source->_id, AL_LOOPING, sound->_loop);
    alSourcei(_source->_id, AL_BUFFER, static_cast<ALint>(sound->_buffer));
    // Attached after the switch, so a sound let go here can delete its buffer.
    _source->_sound = sound;
}

void TOpenALChannel::Stop()
{
    if (!Valid())
        return;
    ++_source->_seq;
    Release(*_source);
    if (_static)
        PushOnPool(_source);
}

void TOpenALChannel::SetPaused(int paused)
{
    if (!Valid())
        return;
    if (paused)
        alSourcePause(_source->_id);
    else
        alSourcePlay(_source->_id);
}

void TOpenALChannel::SetVolume(float volume)
{
    if (Valid())
        alSourcef(_source->_id, AL_GAIN, volume);
}

void TOpenALChannel::SetPan(float pan)
{
    if (!Valid())
        return;
    const double angle = pan * std::numbers::pi / 2;
    alSource3f(_source->_id, AL_POSITION, static_cast<ALfloat>(std::sin(angle)), 0.0f,
               static_cast<ALfloat>(-std::cos(angle)));
}

void TOpenALChannel::SetRate(float rate)
{
    if (Valid())
        alSourcef(_source->_id, AL_PITCH, rate);
}

int TOpenALChannel::Playing()
{
    return Valid() ? _source->Playing() : 0;
}

// ---- module ----

namespace {

// Every entry point the driver calls. A library lacking one is no usable OpenAL: no driver is
// registered for it, so the game can say it needs one instead of failing at the first call.
constexpr const char* DriverEntryPoints[] = {
    "alcOpenDevice", "alcCloseDevice", "alcCreateContext", "alcDestroyContext", "alcMakeContextCurrent",
    "alcGetString",  "alBufferData",   "alDeleteBuffers",  "alDistanceModel",   "alGenBuffers",
    "alGenSources",  "alGetError",     "alGetSourcei",     "alSource3f",        "alSourcePause",
    "alSourcePlay",  "alSourceRewind", "alSourceStop",     "alSourcef",         "alSourcei",
};

bool DriverEntryPointsFound()
{
    for (const char* name : DriverEntryPoints)
        if (!OpenALEntryPointFound(name))
            return false;
    return true;
}

} // namespace

void StartOpenALModule()
{
    if (LoadOpenALLibrary() && DriverEntryPointsFound())
        new TOpenALAudioDriver("OpenAL", "");
}

int EnumerateOpenALDevices()
{
    static int result = -1;
    if (result >= 0)
        return result;
    StartAudioDrivers();
    result = 0;
    if (!OpenALLoaded() || !DriverEntryPointsFound())
        return result;
    const ALCchar* name = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    for (int n = 0; name && *name && n < 100; ++n, name += std::strlen(name) + 1)
        new TOpenALAudioDriver("OpenAL " + std::string(name), name);
    const ALCchar* fallback = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    new TOpenALAudioDriver("OpenAL Default", fallback ? fallback : "");
    result = 1;
    return result;
}
