// The routines every screen shares: the background clock and Tab, the mouse boxes, the flash
// overlay, and the music switching on real OpenAL channels (silent output).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "app/shell/shell_state.h"
#include "app/shell/sound.h"
#include "app/screens/backdrop.h"
#include "app/screens/menu_items.h"
#include "app/screens/pause.h"
#include "audio/sound.h"
#include "game/effects.h"
#include "game/settings.h"
#include "system/keycodes.h"
#include "system/random.h"
#include "system/sdl_events.h"
#include "system/virtual_pad.h"

namespace {

class ScreenRoutines : public SDLWindowTest {
protected:
    void SetUp() override
    {
        SDLWindowTest::SetUp();
        saved_visibility_ = settings.visibility;
        background.Reset();
        background.backtimer = backperiod;
    }
    void TearDown() override
    {
        settings.visibility = saved_visibility_;
        effects.flash = 0;
        SDLWindowTest::TearDown();
    }

private:
    int32_t saved_visibility_ = 1;
};

TEST_F(ScreenRoutines, TabTogglesVisibilityBetweenHighAndLow)
{
    settings.visibility = 2; // any non-zero byte of the preferences counts as High
    Push(UsKeyEvent(true, SDL_SCANCODE_TAB));
    Push(UsKeyEvent(false, SDL_SCANCODE_TAB));
    ToggleVisibilityOnTab();
    EXPECT_EQ(settings.visibility, 0);
    ToggleVisibilityOnTab();
    EXPECT_EQ(settings.visibility, 0) << "one press, one toggle";
    Push(UsKeyEvent(true, SDL_SCANCODE_TAB));
    ToggleVisibilityOnTab();
    EXPECT_EQ(settings.visibility, 1);
}

TEST_F(ScreenRoutines, BackgroundTurnsAndChangesToAnotherPictureWithAFade)
{
    background.backindex = 10; // drawn at start-up from 1 to 10: 10 shows as picture 0
    background.backtimer = 2;
    DrawBackground();
    EXPECT_EQ(background.backindex, 0);
    EXPECT_EQ(background.backtimer, 1);
    EXPECT_FLOAT_EQ(background.backangle, 0.08f);

    SeedRandom(7);
    for (int change = 0; change < 200; ++change) {
        background.backtimer = 0;
        const int32_t before = background.backindex;
        DrawBackground();
        EXPECT_EQ(background.backprev, before);
        EXPECT_NE(background.backindex, background.backprev);
        EXPECT_GE(background.backindex, 0);
        EXPECT_LT(background.backindex, backcount);
        EXPECT_EQ(background.backtimer, backperiod);
        EXPECT_EQ(background.backfade, 1.0f);
    }
    DrawBackground();
    EXPECT_FLOAT_EQ(background.backfade, 1 - 0.0011f);
    background.backfade = -0.5f;
    DrawBackground();
    EXPECT_EQ(background.backfade, 0.0f) << "a fade below zero is put back to zero";
}

TEST_F(ScreenRoutines, MouseBoxesExcludeTheirEdges)
{
    Push(MotionEvent(30, 20));
    EXPECT_EQ(MouseInRect(29, 19, 10, 10), 1);
    EXPECT_EQ(MouseInRect(30, 19, 10, 10), 0);
    EXPECT_EQ(MouseInRect(20, 19, 10, 10), 0) << "x + width is outside";
    EXPECT_EQ(MouseInRect(21, 19, 10, 10), 1);
    EXPECT_EQ(MouseInRect(29, 20, 10, 10), 0);
    EXPECT_EQ(MouseInRect(29, 10, 10, 10), 0);
    EXPECT_EQ(HoverItem(29, 19, 10, 10), 1);
    EXPECT_EQ(HoverItem(0, 0, 5, 5), 0);
}

TEST_F(ScreenRoutines, FlashFadesByAFixedStepAFrame)
{
    effects.flash = 0.5f;
    DrawFlash();
    EXPECT_FLOAT_EQ(effects.flash, 0.5f - 0.0598f);
    effects.flash = 0.0000005f;
    DrawFlash();
    EXPECT_EQ(effects.flash, 0.0000005f) << "a trace of flash is left alone";
}

TEST_F(ScreenRoutines, StartOnAGamepadResumesFromThePauseAndBackDoesNot)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    pad.Tap(SDL_CONTROLLER_BUTTON_BACK); // never ends a play, so it neither quits nor resumes
    pad.Tap(SDL_CONTROLLER_BUTTON_START);
    PauseScreen(); // returns once resumed
    EXPECT_EQ(TakePadHits(PadBack), 0) << "Back was seen on the pause screen and ignored";
}

// Music on real OpenAL channels: silent output, real playing state.
class MusicSwitching : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasAudioDriver("OpenAL") || !SelectAudioDriver("OpenAL"))
            GTEST_SKIP() << "no OpenAL";
        gamesounds.titlemusic = Track(2.0);
        gamesounds.gamemusic = Track(2.0);
        gamesounds.titlechannel = CueSound(gamesounds.titlemusic);
        gamesounds.gamechannel = CueSound(gamesounds.gamemusic);
    }
    void TearDown() override
    {
        StopChannel(gamesounds.titlechannel);
        StopChannel(gamesounds.gamechannel);
        gamesounds.titlechannel = gamesounds.gamechannel = nullptr;
        gamesounds.titlemusic = gamesounds.gamemusic = nullptr;
    }
    static std::shared_ptr<TSound> Track(double seconds)
    {
        const auto length = static_cast<int32_t>(22050 * seconds);
        auto sample = TAudioSample::Create(length, 22050, SF_MONO16LE);
        auto* pcm = reinterpret_cast<int16_t*>(sample->samples);
        for (int32_t i = 0; i < length; ++i)
            pcm[i] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
        return LoadSound(sample, 0);
    }
};

TEST_F(MusicSwitching, TheWantedTrackPlaysAndTheOtherStops)
{
    PlayMusic(MusicTitle);
    EXPECT_TRUE(ChannelPlaying(gamesounds.titlechannel));
    EXPECT_FALSE(ChannelPlaying(gamesounds.gamechannel)) << "cued at start-up, paused until wanted";

    const auto titleBefore = gamesounds.titlechannel;
    PlayMusic(MusicTitle);
    EXPECT_EQ(gamesounds.titlechannel, titleBefore) << "a playing track goes on";

    PlayMusic(MusicPlay);
    EXPECT_FALSE(ChannelPlaying(gamesounds.titlechannel));
    EXPECT_TRUE(ChannelPlaying(gamesounds.gamechannel));

    // Back to the title track (the pause screen): it starts again on a new channel.
    PlayMusic(MusicTitle);
    EXPECT_TRUE(ChannelPlaying(gamesounds.titlechannel));
    EXPECT_NE(gamesounds.titlechannel, titleBefore);
    EXPECT_FALSE(ChannelPlaying(gamesounds.gamechannel));
}

TEST_F(MusicSwitching, ATrackThatEndedStartsAgain)
{
    gamesounds.titlemusic = Track(0.05);
    gamesounds.titlechannel = CueSound(gamesounds.titlemusic);
    PlayMusic(MusicTitle);
    const auto first = gamesounds.titlechannel;
    ASSERT_TRUE(ChannelPlaying(first));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ChannelPlaying(first) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(ChannelPlaying(first));
    PlayMusic(MusicTitle);
    EXPECT_NE(gamesounds.titlechannel, first);
    EXPECT_TRUE(ChannelPlaying(gamesounds.titlechannel));
}

TEST(MissingMusic, PlaysNothingAndDoesNotFail)
{
    gamesounds.titlemusic = gamesounds.gamemusic = nullptr;
    gamesounds.titlechannel = gamesounds.gamechannel = nullptr;
    PlayMusic(MusicTitle);
    PlayMusic(MusicPlay);
    EXPECT_FALSE(ChannelPlaying(gamesounds.titlechannel));
    EXPECT_FALSE(ChannelPlaying(gamesounds.gamechannel));
}

} // namespace
