#include <gtest/gtest.h>

#include <algorithm>

#include "audio/sound.h"
#include "tests/audio/audio_test_util.h"

namespace {

class RecordingDriver : public TAudioDriver {
public:
    explicit RecordingDriver(std::string name, int startup = 1) : _name(std::move(name)), _startup(startup) {}
    std::string Name() override { return _name; }
    int Startup() override
    {
        ++startups;
        return _startup;
    }
    void Shutdown() override { ++shutdowns; }
    std::shared_ptr<TSound> CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags) override
    {
        lastSample = sample;
        lastFlags = flags;
        return TAudioDriver::CreateSound(sample, flags);
    }

    int startups = 0, shutdowns = 0, lastFlags = -1;
    std::shared_ptr<TAudioSample> lastSample;

private:
    std::string _name;
    int _startup;
};

// Every operation of an inert channel is harmless and it never plays.
void ExpectInert(const std::shared_ptr<TChannel>& channel)
{
    ASSERT_NE(channel, nullptr);
    SetChannelVolume(channel, 0.5f);
    SetChannelPan(channel, -1);
    SetChannelDepth(channel, 1);
    SetChannelRate(channel, 2);
    PauseChannel(channel);
    ResumeChannel(channel);
    EXPECT_EQ(ChannelPlaying(channel), 0);
    StopChannel(channel);
    EXPECT_EQ(ChannelPlaying(channel), 0);
}

} // namespace

TEST(AudioDriver, NullDriverIsInert)
{
    ASSERT_EQ(SelectAudioDriver("Null"), 1);
    EXPECT_EQ(AudioDriver()->Name(), "Null");
    auto sound = LoadSound(ToneSample(440, 100, 8000, SF_MONO8), SOUND_LOOP);
    ASSERT_NE(sound, nullptr);
    ExpectInert(PlaySound(sound));
    ExpectInert(CueSound(sound));
    auto channel = AllocChannel();
    ExpectInert(channel);
    ExpectInert(PlaySound(sound, channel));
    // A file loads through the Null driver into an inert sound as well.
    EXPECT_NE(LoadSound(WriteTestFile("null.ogg", OggTone(440, 2000, 22050, 1))), nullptr);
}

TEST(AudioDriver, NoneDoesNothing)
{
    const std::shared_ptr<TSound> noSound;
    const std::shared_ptr<TChannel> noChannel;
    EXPECT_EQ(PlaySound(noSound), nullptr);
    EXPECT_EQ(CueSound(noSound, AllocChannel()), nullptr);
    EXPECT_EQ(ChannelPlaying(noChannel), 0);
    StopChannel(noChannel);
    SetChannelVolume(noChannel, 1);
    SetChannelPan(noChannel, 1);
    SetChannelDepth(noChannel, 1);
    SetChannelRate(noChannel, 1);
    PauseChannel(noChannel);
    ResumeChannel(noChannel);
    EXPECT_EQ(LoadSound("audio_files/missing.ogg"), nullptr);
    EXPECT_EQ(LoadSound(WriteTestFile("garbage.ogg", {1, 2, 3})), nullptr);
}

TEST(AudioDriver, NamesIgnoreLetterCase)
{
    RecordingDriver driver("Recorder");
    EXPECT_EQ(HasAudioDriver("Recorder"), 1);
    EXPECT_EQ(HasAudioDriver("recorder"), 1);
    EXPECT_EQ(HasAudioDriver("RECORDER"), 1);
    EXPECT_EQ(HasAudioDriver("null"), 1);
    EXPECT_EQ(HasAudioDriver("Recorders"), 0);
    EXPECT_EQ(HasAudioDriver(""), 0);
    if (HasAudioDriver("OpenAL")) {
        EXPECT_EQ(HasAudioDriver("openal"), 1);
        EXPECT_EQ(HasAudioDriver("OPENAL"), 1);
    }
    EXPECT_EQ(SelectAudioDriver("rEcOrDeR"), 1);
    EXPECT_EQ(AudioDriver(), &driver);
    SelectAudioDriver("Null");
}

TEST(AudioDriver, NamesLatestFirstAtMostHundred)
{
    std::vector<std::string> before = AudioDriverNames();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), "Null"); // the first one registered
    {
        std::vector<std::unique_ptr<RecordingDriver>> many;
        for (int i = 0; i < 150; ++i)
            many.push_back(std::make_unique<RecordingDriver>("Driver " + std::to_string(i)));
        const std::vector<std::string> names = AudioDriverNames();
        ASSERT_EQ(names.size(), 100u);
        EXPECT_EQ(names.front(), "Driver 149");
        EXPECT_EQ(names.back(), "Driver 50");
        EXPECT_EQ(HasAudioDriver("driver 0"), 1); // beyond the first hundred, still registered
    }
    EXPECT_EQ(AudioDriverNames(), before); // destroyed drivers leave the registry
}

TEST(AudioDriver, SelectionShutsDownAndFallsBackToNull)
{
    RecordingDriver good("Good");
    RecordingDriver refusing("Refusing", 0);
    ASSERT_EQ(SelectAudioDriver("good"), 1);
    EXPECT_EQ(good.startups, 1);

    EXPECT_EQ(SelectAudioDriver("Refusing"), 0);
    EXPECT_EQ(good.shutdowns, 1);
    EXPECT_EQ(refusing.startups, 1);
    EXPECT_EQ(AudioDriver()->Name(), "Null");

    ASSERT_EQ(SelectAudioDriver("Good"), 1);
    EXPECT_EQ(SelectAudioDriver("No Such Driver"), 0);
    EXPECT_EQ(good.shutdowns, 2);
    EXPECT_EQ(AudioDriver()->Name(), "Null");
}

TEST(AudioDriver, LoadSoundHandsSampleAndFlagsToCurrentDriver)
{
    RecordingDriver driver("Recorder");
    ASSERT_EQ(SelectAudioDriver("Recorder"), 1);
    auto sample = ToneSample(440, 100, 8000, SF_STEREO16BE);
    EXPECT_NE(LoadSound(sample, SOUND_LOOP), nullptr);
    EXPECT_EQ(driver.lastSample, sample);
    EXPECT_EQ(driver.lastFlags, SOUND_LOOP);

    EXPECT_NE(LoadSound(WriteTestFile("recorded.ogg", OggTone(440, 3000, 11025, 2)), 0), nullptr);
    ASSERT_NE(driver.lastSample, nullptr);
    EXPECT_EQ(driver.lastSample->format, SF_STEREO16LE);
    EXPECT_EQ(driver.lastSample->hertz, 11025);
    EXPECT_EQ(driver.lastFlags, 0);
    SelectAudioDriver("Null");
}

TEST(AudioDriver, FirstUseWithoutSelectionFallsToNull)
{
    InFreshProcess([] {
        auto sound = LoadSound(WriteTestFile("first.ogg", OggTone(440, 2000, 22050, 1)));
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(AudioDriver()->Name(), "Null");
        ExpectInert(PlaySound(sound));
    });
}

TEST(AudioDriver, FirstUseTriesDirectSoundBeforeNull)
{
    InFreshProcess([] {
        static RecordingDriver directSound("DirectSound");
        EXPECT_NE(AllocChannel(), nullptr);
        EXPECT_EQ(AudioDriver(), &directSound);
        EXPECT_EQ(directSound.startups, 1);
    });
}
