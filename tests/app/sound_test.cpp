// Sound effects through real openal-soft (its silent real-time output), from real Ogg files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/storage/prefs.h"
#include "app/shell/sound.h"
#include "app/screens/options.h"
#include "audio/oggencoder.h"
#include "audio/openal_driver.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/settings.h"
#include "game/shape.h"
#include "game/sounds.h"
#include "system/clock.h"

namespace {

namespace fs = std::filesystem;

// An Ogg Vorbis file of a mono tone lasting ms milliseconds, written under the working folder.
std::string WriteTone(const std::string& name, double hertz, int ms)
{
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    std::vector<int16_t> pcm(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        pcm[static_cast<size_t>(i)] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * hertz * i / rate));
    const std::vector<uint8_t> bytes = EncodeOggVorbis(pcm.data(), frames, 1, rate);
    const fs::path dir = fs::current_path() / "sound_test";
    fs::create_directories(dir);
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_EQ(HasAudioDriver("OpenAL"), 1);
        ASSERT_EQ(SelectAudioDriver("OpenAL"), 1);
        shortSound = LoadSound(WriteTone("short.ogg", 880, 40));
        longSound = LoadSound(WriteTone("long.ogg", 440, 1500));
        ASSERT_TRUE(shortSound);
        ASSERT_TRUE(longSound);
        sounds.Clear();
        settings.soundvolume = 0.75f;
    }
    void TearDown() override
    {
        SetSoundPlayer(nullptr);
        sounds.Clear();
        gamesounds.plopsound = gamesounds.explodesound = gamesounds.switchsound = gamesounds.fallingsound = gamesounds.blipsound = nullptr;
        settings.soundvolume = 0.75f;
        SelectAudioDriver("Null");
    }

    static std::shared_ptr<TOpenALSource> SourceOf(const std::shared_ptr<sound>& s)
    {
        return std::static_pointer_cast<TOpenALChannel>(s->chan)->_source;
    }
    static float Gain(const std::shared_ptr<sound>& s)
    {
        openal::ALfloat gain = -1;
        openal::alGetSourcef(SourceOf(s)->_id, openal::AL_GAIN, &gain);
        return gain;
    }
    static std::shared_ptr<TSound> SoundOf(const std::shared_ptr<sound>& s) { return SourceOf(s)->_sound; }

    std::shared_ptr<TSound> shortSound, longSound;
};

TEST_F(SoundTest, TwoEffectsInOneFramePlayOnTwoChannelsAtTheEffectVolume)
{
    auto first = sound::Play(longSound);
    auto second = sound::Play(longSound);
    ASSERT_TRUE(first->chan);
    ASSERT_TRUE(second->chan);
    EXPECT_NE(first->chan, second->chan);
    EXPECT_NE(SourceOf(first)->_id, SourceOf(second)->_id);
    EXPECT_EQ(ChannelPlaying(first->chan), 1);
    EXPECT_EQ(ChannelPlaying(second->chan), 1);
    EXPECT_FLOAT_EQ(Gain(first), 0.75f);
    ASSERT_EQ(sounds.Count(), 2u);
    EXPECT_EQ(sounds.First(), first);
    EXPECT_EQ(sounds.Last(), second);
}

TEST_F(SoundTest, TheOptionsBlipSoundsAtTheEffectVolumeJustChosen)
{
    gamesounds.blipsound = shortSound;
    settings.soundvolume = 0.25f;
    ChooseSoundVolume(369); // the loudest zone
    EXPECT_FLOAT_EQ(settings.soundvolume, 1.0f);
    EXPECT_FLOAT_EQ(Gain(sounds.Last()), 1.0f);
    ChooseSoundVolume(325); // silence
    EXPECT_EQ(Gain(sounds.Last()), 0.0f) << "a player turning effects off hears no loud beep";
}

TEST_F(SoundTest, AtVolumeZeroEffectsStartAndRegisterButAreSilent)
{
    settings.soundvolume = 0;
    auto s = sound::Play(longSound);
    EXPECT_EQ(ChannelPlaying(s->chan), 1);
    EXPECT_EQ(Gain(s), 0);
    EXPECT_TRUE(sounds.Contains(s.get()));

    // The volume is fixed when the effect starts.
    settings.soundvolume = 1;
    sound::Update();
    EXPECT_EQ(Gain(s), 0);
}

TEST_F(SoundTest, UpdateDropsOnlyFinishedEffects)
{
    auto brief = sound::Play(shortSound);
    auto lasting = sound::Play(longSound);
    sound::Update();
    EXPECT_EQ(sounds.Count(), 2u);
    const int start = ElapsedMillis();
    while (ChannelPlaying(brief->chan) && ElapsedMillis() - start < 3000)
        SleepMillis(5);
    ASSERT_EQ(ChannelPlaying(brief->chan), 0);
    sound::Update();
    EXPECT_FALSE(sounds.Contains(brief.get()));
    EXPECT_EQ(brief->chan, nullptr);
    EXPECT_TRUE(sounds.Contains(lasting.get()));
    EXPECT_TRUE(lasting->chan);
}

TEST_F(SoundTest, NoneSoundRegistersNothingThatOutlivesTheNextUpdate)
{
    auto s = sound::Play(nullptr);
    EXPECT_EQ(s->chan, nullptr);
    sound::Update();
    EXPECT_TRUE(sounds.IsEmpty());
}

TEST_F(SoundTest, ListStaysBoundedOverALongRunWithUpdateOncePerFrame)
{
    size_t most = 0;
    for (int frame = 0; frame < 240; ++frame) {
        sound::Play(shortSound);
        if (frame % 4 == 0)
            sound::Play(shortSound);
        sound::Update();
        most = std::max(most, sounds.Count());
        SleepMillis(8);
    }
    // 40 ms effects at about 125 started a second: a handful live at once, never hundreds.
    EXPECT_LE(most, 24u);
    const int start = ElapsedMillis();
    while (!sounds.IsEmpty() && ElapsedMillis() - start < 3000) {
        SleepMillis(10);
        sound::Update();
    }
    EXPECT_TRUE(sounds.IsEmpty());
}

TEST_F(SoundTest, RulesPlayTheLoadedEffectByFileName)
{
    gamesounds.plopsound = shortSound;
    gamesounds.fallingsound = longSound;
    gamesounds.explodesound = gamesounds.switchsound = gamesounds.blipsound = longSound;
    InstallRulesSounds();

    PlaySoundEffect("sfx\\plop.ogg");
    PlaySoundEffect("sfx\\nothing.ogg");
    ASSERT_EQ(sounds.Count(), 1u);
    EXPECT_EQ(SoundOf(sounds.First()), gamesounds.plopsound);
    for (const char* name : {"sfx\\explode.ogg", "sfx\\switch.ogg", "sfx\\falling.ogg", "sfx\\blip.ogg"})
        PlaySoundEffect(name);
    EXPECT_EQ(sounds.Count(), 5u);

    // The first frame of a play takes a gravity step, which plays the falling sound.
    sounds.Clear();
    if (shapecount == 0)
        shape::Init();
    game g;
    g.w = 20;
    g.h = 32;
    g.x = 96;
    g.NewPiece();
    g.DoPiece(TControls{});
    ASSERT_EQ(sounds.Count(), 1u);
    EXPECT_EQ(SoundOf(sounds.First()), gamesounds.fallingsound);
    EXPECT_FLOAT_EQ(Gain(sounds.First()), 0.75f);
}

} // namespace
