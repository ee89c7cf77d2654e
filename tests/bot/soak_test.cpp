#include <gtest/gtest.h>

#include <cstdint>

#include "bot/headless_play.h"
#include "game/board_picture.h"
#include "game/sounds.h"
#include "system/process_memory.h"

namespace {

// One hour of game time. Under the sanitizers every frame costs many times as much, so that
// build plays under a sixth of it, still long enough for a loss and a new play.
#if defined(__SANITIZE_ADDRESS__)
constexpr int64_t kSoakFrames = 30000;
constexpr bool kMeasureMemory = false; // freed memory sits in the sanitizer's quarantine
#else
constexpr int64_t kSoakFrames = 216000;
constexpr bool kMeasureMemory = true;
#endif
constexpr double kMemoryDrift = 0.05;
// Seed 2's play is lost well within the sanitizer build's frames.
constexpr int32_t kFirstSeed = 2;

class SoakTest : public GameTest {};

} // namespace

// The built-in player plays for an hour, a new play after each loss, with the board checked
// after every frame; what is resident after the first play is what stays resident.
TEST_F(SoakTest, AnHourOfPlayKeepsTheBoardSoundAndTheMemoryLevel)
{
    // Sounds are counted, not kept: a list of every sound would itself grow for an hour.
    int64_t soundsHeard = 0;
    SetSoundPlayer([&](const std::string&) { ++soundsHeard; });
    int64_t frame = 0;
    TProcessMemory afterFirstPlay;
    const std::vector<TPlayRecord> plays = PlayHeadlessSession(
        TPlayer(), kFirstSeed, kSoakFrames,
        [&](const game& play) {
            if (!HasFailure())
                CheckBoard(play, frame);
            ++frame;
        },
        [&](const TPlayRecord&) {
            if (afterFirstPlay.residentKiB == 0)
                afterFirstPlay = ReadProcessMemory();
        });
    ASSERT_FALSE(HasFailure());

    int64_t played = 0;
    for (const TPlayRecord& p : plays)
        played += p.frames;
    EXPECT_EQ(played, kSoakFrames);
    EXPECT_EQ(frame, kSoakFrames);
    EXPECT_GE(plays.size(), 2u) << "the hour spans a loss and a new play";
    EXPECT_GT(soundsHeard, 0);
    if (kMeasureMemory) {
        const TProcessMemory end = ReadProcessMemory();
        ASSERT_GT(afterFirstPlay.residentKiB, 0);
        std::printf("resident after the first play: %lld KiB, at the end: %lld KiB, peak %lld KiB, %zu plays\n",
                    static_cast<long long>(afterFirstPlay.residentKiB), static_cast<long long>(end.residentKiB),
                    static_cast<long long>(end.peakKiB), plays.size());
        EXPECT_LE(end.residentKiB, afterFirstPlay.residentKiB * (1 + kMemoryDrift));
    }
}
