#include "audio/sound.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "audio/modules.h"
#include "system/registry.h"

namespace {

TAudioDriver* g_drivers = nullptr;    // registry head
TAudioDriver* g_current = nullptr;    // none until the first selection
TAudioDriver* g_nullDriver = nullptr;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void ShutdownAudio()
{
    if (g_current)
        g_current->Shutdown();
    g_current = nullptr;
}

} // namespace

// ---- sounds ----

std::shared_ptr<TChannel> TSound::Play(const std::shared_ptr<TChannel>&)
{
    return std::make_shared<TChannel>();
}

std::shared_ptr<TChannel> TSound::Cue(const std::shared_ptr<TChannel>&)
{
    return std::make_shared<TChannel>();
}

std::shared_ptr<TSound> TSound::Load(const TSoundUrl& url, int flags)
{
    std::shared_ptr<TAudioSample> sample;
    if (const auto* given = std::get_if<std::shared_ptr<TAudioSample>>(&url))
        sample = *given;
    else if (const auto* path = std::get_if<std::string>(&url))
        sample = LoadAudioSampleFrom(*path);
    else
        sample = LoadAudioSampleFrom(std::get<std::shared_ptr<TStream>>(url));
    if (!sample)
        return nullptr;
    return AudioDriver()->CreateSound(sample, flags);
}

// ---- drivers ----

TAudioDriver::TAudioDriver()
{
    LinkAtHead(g_drivers, this);
}

TAudioDriver::~TAudioDriver()
{
    Unlink(g_drivers, this);
    if (g_current == this)
        g_current = g_nullDriver;
}

std::shared_ptr<TSound> TAudioDriver::CreateSound(const std::shared_ptr<TAudioSample>&, int)
{
    return std::make_shared<TSound>();
}

std::shared_ptr<TChannel> TAudioDriver::AllocChannel()
{
    return std::make_shared<TChannel>();
}

std::shared_ptr<TSound> TAudioDriver::LoadSound(const TSoundUrl& url, int flags)
{
    return TSound::Load(url, flags);
}

void StartSoundModule()
{
    g_nullDriver = new TAudioDriver();
    std::atexit(ShutdownAudio);
}

TAudioDriver* AudioDriver()
{
    StartAudioDrivers();
    if (!g_current && !SelectAudioDriver("DirectSound"))
        SelectAudioDriver("Null");
    return g_current;
}

std::vector<std::string> AudioDriverNames()
{
    StartAudioDrivers();
    std::vector<std::string> names;
    for (TAudioDriver* d = g_drivers; d && names.size() < 100; d = d->_succ)
        names.push_back(d->Name());
    return names;
}

int HasAudioDriver(const std::string& name)
{
    StartAudioDrivers();
    const std::string wanted = Lower(name);
    for (TAudioDriver* d = g_drivers; d; d = d->_succ)
        if (Lower(d->Name()) == wanted)
            return 1;
    return 0;
}

int SelectAudioDriver(const std::string& name)
{
    StartAudioDrivers();
    const std::string wanted = Lower(name);
    if (g_current)
        g_current->Shutdown();
    g_current = g_nullDriver;
    TAudioDriver* candidate = g_drivers;
    while (candidate && Lower(candidate->Name()) != wanted)
        candidate = candidate->_succ;
    if (!candidate || !candidate->Startup())
        return 0;
    g_current = candidate;
    return 1;
}

// ---- free forms ----

std::shared_ptr<TSound> LoadSound(const TSoundUrl& url, int flags)
{
    return AudioDriver()->LoadSound(url, flags);
}

std::shared_ptr<TChannel> AllocChannel()
{
    return AudioDriver()->AllocChannel();
}

std::shared_ptr<TChannel> PlaySound(const std::shared_ptr<TSound>& sound, const std::shared_ptr<TChannel>& channel)
{
    return sound ? sound->Play(channel) : nullptr;
}

std::shared_ptr<TChannel> CueSound(const std::shared_ptr<TSound>& sound, const std::shared_ptr<TChannel>& channel)
{
    return sound ? sound->Cue(channel) : nullptr;
}

void StopChannel(const std::shared_ptr<TChannel>& channel)
{
    if (channel)
        channel->Stop();
}

int ChannelPlaying(const std::shared_ptr<TChannel>& channel)
{
    return channel ? channel->Playing() : 0;
}

void SetChannelVolume(const std::shared_ptr<TChannel>& channel, float volume)
{
    if (channel)
        channel->SetVolume(volume);
}

void SetChannelPan(const std::shared_ptr<TChannel>& channel, float pan)
{
    if (channel)
        channel->SetPan(pan);
}

void SetChannelDepth(const std::shared_ptr<TChannel>& channel, float depth)
{
    if (channel)
        channel->SetDepth(depth);
}

void SetChannelRate(const std::shared_ptr<TChannel>& channel, float rate)
{
    if (channel)
        channel->SetRate(rate);
}

void PauseChannel(const std::shared_ptr<TChannel>& channel)
{
    if (channel)
        channel->SetPaused(1);
}

void ResumeChannel(const std::shared_ptr<TChannel>& channel)
{
    if (channel)
        channel->SetPaused(0);
}
