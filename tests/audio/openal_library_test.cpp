#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/openal_driver.h"
#include "tests/audio/audio_test_util.h"

namespace {

void ExpectUninitialized(const std::function<void()>& call)
{
    ExpectRuntimeError(call, "Attempt to call uninitialized function pointer");
}

} // namespace

// Each case needs a process whose OpenAL library has not been loaded yet.

TEST(OpenALLibrary, MissingLibraryLeavesOnlyNull)
{
    const std::string ogg = WriteTestFile("nolibrary.ogg", OggTone(440, 2000, 22050, 1));
    InFreshProcess([&] {
        SetOpenALLibraryName("libbrim-no-such-openal.so.1");
        EXPECT_EQ(HasAudioDriver("OpenAL"), 0);
        EXPECT_EQ(OpenALLoaded(), 0);
        EXPECT_EQ(AudioDriverNames(), std::vector<std::string>{"Null"});
        EXPECT_EQ(SelectAudioDriver("OpenAL"), 0);
        EXPECT_EQ(AudioDriver()->Name(), "Null");
        auto sound = LoadSound(ogg);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(ChannelPlaying(PlaySound(sound)), 0);
        EXPECT_EQ(EnumerateOpenALDevices(), 0);
        EXPECT_EQ(AudioDriverNames().size(), 1u);
        ExpectUninitialized([] {
            openal::ALuint id = 0;
            openal::alGenSources(1, &id);
        });
    });
}

// A library that loads but lacks what the driver calls is no OpenAL driver: the game then ends
// with its message instead of failing at the first call. Entry points it lacks still fail when
// called.
TEST(OpenALLibrary, LibraryWithoutTheDriversEntryPointsGivesNoDriver)
{
    InFreshProcess([] {
        SetOpenALLibraryName("libogg.so.0"); // loads, but exports nothing of OpenAL
        EXPECT_EQ(HasAudioDriver("OpenAL"), 0);
        EXPECT_EQ(OpenALEntryPointFound("alcOpenDevice"), 0);
        EXPECT_EQ(SelectAudioDriver("OpenAL"), 0);
        EXPECT_EQ(AudioDriver()->Name(), "Null");
        EXPECT_EQ(EnumerateOpenALDevices(), 0);
        ExpectUninitialized([] { openal::alcOpenDevice(nullptr); });
    });
    const char* stubs = BRIM_STUB_OPENAL_DIR; // built with the tests
    const std::string partial = std::string(stubs) + "/libopenal.so.1";
    InFreshProcess([&] {
        SetOpenALLibraryName(partial); // exports three entry points of OpenAL's
        EXPECT_EQ(HasAudioDriver("OpenAL"), 0);
        EXPECT_EQ(OpenALLoaded(), 1);
        EXPECT_EQ(OpenALEntryPointFound("alcOpenDevice"), 1);
        EXPECT_EQ(OpenALEntryPointFound("alGenSources"), 0);
        EXPECT_EQ(AudioDriverNames(), std::vector<std::string>{"Null"});
        EXPECT_EQ(EnumerateOpenALDevices(), 0);
    });
}
