#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "audio/openal_driver.h"
#include "system/clock.h"
#include "tests/audio/audio_test_util.h"

using namespace openal;

namespace {

// Counts the sources and buffers generated through the loaded entry points.
int g_sourcesGenerated = 0;
decltype(alGenSources) g_realGenSources = nullptr;
void CountingGenSources(ALsizei n, ALuint* ids)
{
    g_sourcesGenerated += n;
    g_realGenSources(n, ids);
}

decltype(alGenBuffers) g_realGenBuffers = nullptr;
void FailingGenBuffers(ALsizei, ALuint* ids)
{
    g_realGenBuffers(-1, ids); // a request the library refuses, setting its error state
}

// Real openal-soft with its silent real-time output; every test starts on a fresh device.
class OpenALDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_EQ(HasAudioDriver("OpenAL"), 1);
        ASSERT_EQ(SelectAudioDriver("OpenAL"), 1);
        g_realGenSources = alGenSources;
        alGenSources = CountingGenSources;
        g_sourcesGenerated = 0;
        shortSound = LoadSound(ToneSample(1000, 441, 44100, SF_MONO16LE)); // 10 ms
        loopSound = LoadSound(ToneSample(500, 882, 44100, SF_STEREO16LE), SOUND_LOOP);
        ASSERT_NE(shortSound, nullptr);
        ASSERT_NE(loopSound, nullptr);
    }
    void TearDown() override
    {
        alGenSources = g_realGenSources;
        SelectAudioDriver("Null");
    }

    static std::shared_ptr<TOpenALSource> SourceOf(const std::shared_ptr<TChannel>& channel)
    {
        return std::static_pointer_cast<TOpenALChannel>(channel)->_source;
    }
    static ALfloat SourceFloat(const std::shared_ptr<TChannel>& channel, ALenum param)
    {
        ALfloat value = -100;
        alGetSourcef(SourceOf(channel)->_id, param, &value);
        return value;
    }
    static ALuint BufferOf(const std::shared_ptr<TSound>& sound)
    {
        return std::static_pointer_cast<TOpenALSound>(sound)->_buffer;
    }
    static ALint BufferInt(const std::shared_ptr<TSound>& sound, ALenum param)
    {
        ALint value = -1;
        alGetBufferi(BufferOf(sound), param, &value);
        return value;
    }

    std::shared_ptr<TSound> shortSound, loopSound;
};

} // namespace

TEST_F(OpenALDriver, HundredPlaysInTurnUseOneSource)
{
    for (int i = 0; i < 100; ++i) {
        auto channel = PlaySound(shortSound);
        ASSERT_TRUE(WaitUntilStopped(channel)) << i;
    }
    EXPECT_EQ(g_sourcesGenerated, 1);
}

TEST_F(OpenALDriver, RecycledChannelLetsGoOfItsSource)
{
    auto first = PlaySound(shortSound);
    ASSERT_TRUE(WaitUntilStopped(first));
    auto second = PlaySound(loopSound);
    ASSERT_EQ(SourceOf(second), SourceOf(first)); // the stopped source was taken over
    EXPECT_EQ(g_sourcesGenerated, 1);
    EXPECT_EQ(ChannelPlaying(second), 1);
    EXPECT_EQ(ChannelPlaying(first), 0);

    SetChannelVolume(first, 0);
    SetChannelRate(first, 2);
    PauseChannel(first);
    StopChannel(first);
    EXPECT_FLOAT_EQ(SourceFloat(second, AL_GAIN), 1.0f);
    EXPECT_FLOAT_EQ(SourceFloat(second, AL_PITCH), 1.0f);
    EXPECT_EQ(ChannelPlaying(second), 1);
    first.reset(); // nor does releasing it
    EXPECT_EQ(ChannelPlaying(second), 1);
}

TEST_F(OpenALDriver, StaticChannelKeepsItsSourceUntilStop)
{
    auto reserved = AllocChannel();
    EXPECT_EQ(g_sourcesGenerated, 1);
    PlaySound(shortSound, reserved);
    ASSERT_TRUE(WaitUntilStopped(reserved));

    auto other = PlaySound(shortSound); // the stopped static source is not up for grabs
    EXPECT_EQ(g_sourcesGenerated, 2);
    EXPECT_NE(SourceOf(other), SourceOf(reserved));
    ASSERT_TRUE(WaitUntilStopped(other));

    EXPECT_EQ(PlaySound(loopSound, reserved), reserved); // and it still plays
    EXPECT_EQ(ChannelPlaying(reserved), 1);
    StopChannel(reserved);
    EXPECT_EQ(ChannelPlaying(reserved), 0);

    // Stopped, its source is back in the pool and serves the next plays.
    auto third = PlaySound(shortSound);
    auto fourth = PlaySound(shortSound);
    EXPECT_EQ(g_sourcesGenerated, 2);
    EXPECT_EQ(SourceOf(third), SourceOf(reserved));
    EXPECT_EQ(SourceOf(fourth), SourceOf(other));
    PlaySound(shortSound, reserved); // invalid since Stop
    EXPECT_EQ(ChannelPlaying(reserved), 0);
}

TEST_F(OpenALDriver, ReleasedStaticChannelReturnsItsSource)
{
    auto reserved = AllocChannel();
    const auto source = SourceOf(reserved);
    reserved.reset();
    auto next = PlaySound(shortSound);
    EXPECT_EQ(SourceOf(next), source);
    EXPECT_EQ(g_sourcesGenerated, 1);
}

TEST_F(OpenALDriver, LoopingSoundPlaysPastItsLength)
{
    auto channel = PlaySound(loopSound); // 20 ms long
    SleepMillis(200);
    EXPECT_EQ(ChannelPlaying(channel), 1);
    StopChannel(channel);
    EXPECT_EQ(ChannelPlaying(channel), 0);
}

TEST_F(OpenALDriver, CuedChannelWaitsAndKeepsItsSource)
{
    // A stopped source taken over by a cue must not be handed out again before it starts.
    ASSERT_TRUE(WaitUntilStopped(PlaySound(shortSound)));
    auto cued = CueSound(loopSound);
    EXPECT_EQ(g_sourcesGenerated, 1);
    EXPECT_EQ(ChannelPlaying(cued), 0);
    EXPECT_EQ(SourceOf(cued)->Paused(), 1);
    auto other = PlaySound(shortSound);
    EXPECT_NE(SourceOf(other), SourceOf(cued));

    SetChannelVolume(cued, 0.25f);
    ResumeChannel(cued);
    EXPECT_EQ(ChannelPlaying(cued), 1);
    EXPECT_FLOAT_EQ(SourceFloat(cued, AL_GAIN), 0.25f);
    PauseChannel(cued);
    EXPECT_EQ(ChannelPlaying(cued), 0);
    EXPECT_EQ(SourceOf(cued)->Paused(), 1);
    ResumeChannel(cued);
    EXPECT_EQ(ChannelPlaying(cued), 1);

    // Cueing another sound on a playing channel switches it over.
    auto reserved = AllocChannel();
    PlaySound(loopSound, reserved);
    CueSound(shortSound, reserved);
    ALint buffer = 0;
    alGetSourcei(SourceOf(reserved)->_id, AL_BUFFER, &buffer);
    EXPECT_EQ(static_cast<ALuint>(buffer), BufferOf(shortSound));
    ResumeChannel(reserved);
    EXPECT_TRUE(WaitUntilStopped(reserved));
}

TEST_F(OpenALDriver, ReleasedChannelsPlayOutThenFreeTheirSource)
{
    auto playing = PlaySound(loopSound);
    const auto source = SourceOf(playing);
    playing.reset(); // fire and forget: the sound plays on
    EXPECT_EQ(source->Playing(), 1);
    auto cued = CueSound(shortSound);
    EXPECT_EQ(g_sourcesGenerated, 2);
    const auto cuedSource = SourceOf(cued);
    cued.reset(); // never started: its source is freed at once
    EXPECT_EQ(cuedSource->Active(), 0);
    EXPECT_EQ(SourceOf(PlaySound(shortSound)), cuedSource);
    EXPECT_EQ(g_sourcesGenerated, 2);
}

TEST_F(OpenALDriver, PanVolumeAndRate)
{
    auto channel = CueSound(shortSound);
    ALfloat x, y, z;
    alGetSource3f(SourceOf(channel)->_id, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(z, 1);
    SetChannelPan(channel, -1);
    alGetSource3f(SourceOf(channel)->_id, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, -1);
    EXPECT_FLOAT_EQ(y, 0);
    EXPECT_NEAR(z, 0, 1e-6);
    SetChannelPan(channel, 0);
    alGetSource3f(SourceOf(channel)->_id, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(z, -1);
    SetChannelPan(channel, 1);
    alGetSource3f(SourceOf(channel)->_id, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 1);
    SetChannelVolume(channel, 0.5f);
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_GAIN), 0.5f);
    SetChannelRate(channel, 1.5f);
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_PITCH), 1.5f);
    SetChannelDepth(channel, 1); // does nothing
}

TEST_F(OpenALDriver, SoundFormats)
{
    const ALenum AL_FREQUENCY = 0x2001, AL_BITS = 0x2002, AL_CHANNELS = 0x2003, AL_SIZE = 0x2004;
    for (int32_t format = SF_MONO8; format <= SF_STEREO16BE; ++format) {
        auto sound = LoadSound(ToneSample(440, 1000, 22050, format));
        ASSERT_NE(sound, nullptr) << format;
        EXPECT_EQ(BufferInt(sound, AL_FREQUENCY), 22050);
        EXPECT_EQ(BufferInt(sound, AL_CHANNELS), ChannelsPerSample[format]);
        EXPECT_EQ(BufferInt(sound, AL_BITS), BytesPerSample[format] / ChannelsPerSample[format] * 8);
        EXPECT_EQ(BufferInt(sound, AL_SIZE), 1000 * BytesPerSample[format]);
    }
}

TEST_F(OpenALDriver, SoundsThatCannotBeMade)
{
    auto unknown = TAudioSample::Create(100, 22050, 0);
    EXPECT_EQ(LoadSound(unknown), nullptr);
    auto noRate = ToneSample(440, 100, 22050, SF_MONO8);
    noRate->hertz = 0;
    EXPECT_EQ(LoadSound(noRate), nullptr); // the upload is refused
    EXPECT_EQ(LoadSound(WriteTestFile("not-a-sound.ogg", {'n', 'o', 'p', 'e'})), nullptr);

    // Uploads above 2 GiB are refused before OpenAL sees a size cut to 32 bits; the memory of these
    // views is never read.
    uint8_t none[4] = {};
    for (int32_t format : {SF_STEREO16LE, SF_STEREO16BE, SF_MONO16LE})
        EXPECT_EQ(LoadSound(TAudioSample::CreateStatic(none, 1 << 30, 22050, format)), nullptr) << format;

    g_realGenBuffers = alGenBuffers;
    alGenBuffers = FailingGenBuffers;
    auto failed = LoadSound(ToneSample(440, 100, 22050, SF_MONO8));
    alGenBuffers = g_realGenBuffers;
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(PlaySound(failed), nullptr);
}

TEST_F(OpenALDriver, OggFilePlays)
{
    auto sound = LoadSound(WriteTestFile("openal.ogg", OggTone(440, 22050, 22050, 2)));
    ASSERT_NE(sound, nullptr);
    auto channel = PlaySound(sound);
    EXPECT_EQ(ChannelPlaying(channel), 1);
    StopChannel(channel);
    EXPECT_EQ(ChannelPlaying(channel), 0);
}

TEST_F(OpenALDriver, SoundsAndChannelsDoNotOutliveTheDevice)
{
    auto oldChannel = PlaySound(loopSound);
    auto oldReserved = AllocChannel();
    const auto oldReservedSource = SourceOf(oldReserved);
    const ALuint oldSourceId = SourceOf(oldChannel)->_id;
    const ALuint oldBuffer = BufferOf(shortSound);
    ASSERT_EQ(SelectAudioDriver("OpenAL"), 1); // the new device hands out the same names again
    EXPECT_EQ(ChannelPlaying(oldChannel), 0);
    EXPECT_EQ(ChannelPlaying(PlaySound(loopSound)), 0); // its buffer went with the old device

    auto sound = LoadSound(ToneSample(500, 882, 44100, SF_MONO16LE), SOUND_LOOP);
    ASSERT_EQ(BufferOf(sound), oldBuffer);
    shortSound.reset(); // must not delete the new sound's buffer of the same name
    EXPECT_TRUE(alIsBuffer(oldBuffer));
    auto channel = PlaySound(sound);
    ASSERT_EQ(ChannelPlaying(channel), 1);
    ASSERT_EQ(SourceOf(channel)->_id, oldSourceId);
    SetChannelVolume(oldChannel, 0); // must not reach the new source of the same name
    StopChannel(oldChannel);
    EXPECT_EQ(ChannelPlaying(channel), 1);
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_GAIN), 1.0f);

    oldChannel.reset();
    oldReserved.reset(); // must not put a dead source into the new pool
    auto next = PlaySound(sound);
    EXPECT_NE(SourceOf(next), oldReservedSource);
    EXPECT_EQ(ChannelPlaying(next), 1);
}

TEST_F(OpenALDriver, EveryEntryPointIsBound)
{
    for (const char* name : {"alcOpenDevice", "alcCaptureSamples", "alEnable", "alGetSourcei", "alSourceRewind",
                             "alBufferData", "alDistanceModel"})
        EXPECT_EQ(OpenALEntryPointFound(name), 1) << name;
    EXPECT_EQ(OpenALEntryPointFound("alNoSuchFunction"), 0);
}

TEST_F(OpenALDriver, DeviceEnumeration)
{
    const size_t before = AudioDriverNames().size();
    ASSERT_EQ(EnumerateOpenALDevices(), 1);
    std::vector<std::string> expected;
    for (const ALCchar* name = alcGetString(nullptr, ALC_DEVICE_SPECIFIER); name && *name; name += strlen(name) + 1)
        expected.push_back("OpenAL " + std::string(name));
    const std::vector<std::string> names = AudioDriverNames();
    ASSERT_EQ(names.size(), std::min<size_t>(100, before + expected.size() + 1));
    EXPECT_EQ(names[0], "OpenAL Default");
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(names[expected.size() - i], expected[i]);
    EXPECT_EQ(EnumerateOpenALDevices(), 1); // once only
    EXPECT_EQ(AudioDriverNames().size(), names.size());

    ASSERT_EQ(SelectAudioDriver("openal default"), 1);
    auto sound = LoadSound(ToneSample(500, 882, 44100, SF_MONO16LE), SOUND_LOOP);
    EXPECT_EQ(ChannelPlaying(PlaySound(sound)), 1);
}
