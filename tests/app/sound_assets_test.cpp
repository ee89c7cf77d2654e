// The generated sounds: every one decodes as the game's loader reads it, none clips, the
// effects share one loudness and the music loops without a seam.
#include "asset_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const char* const kEffects[] = {"plop.ogg", "explode.ogg", "switch.ogg", "blip.ogg"};
const char* const kMusic[] = {"game (half bit).ogg", "title (space fighter loop).ogg"};

OggSound Load(const std::string& file)
{
    OggSound s = ReadOgg(AssetPath("sfx/" + file));
    EXPECT_GT(s.channels, 0) << file << " is missing or does not decode";
    return s;
}

int Peak(const OggSound& s)
{
    int peak = 0;
    for (int16_t v : s.pcm)
        peak = std::max(peak, std::abs(int(v)));
    return peak;
}

// Largest step between neighbouring samples of one channel over [from, to) frames.
int LargestStep(const OggSound& s, int channel, size_t from, size_t to)
{
    int step = 0;
    for (size_t i = from + 1; i < to; ++i)
        step = std::max(step, std::abs(s.pcm[i * s.channels + channel] - s.pcm[(i - 1) * s.channels + channel]));
    return step;
}

} // namespace

TEST(SoundAssets, EffectsAreShortMonoAt44k)
{
    for (const char* file : kEffects) {
        OggSound s = Load(file);
        EXPECT_EQ(s.channels, 1) << file;
        EXPECT_EQ(s.rate, 44100) << file;
        EXPECT_GT(s.Seconds(), 0.05) << file;
        EXPECT_LT(s.Seconds(), 2.0) << file;
    }
    // The tick of every gravity step must be over well before the next one.
    OggSound tick = Load("falling.ogg");
    EXPECT_EQ(tick.channels, 1);
    EXPECT_EQ(tick.rate, 44100);
    EXPECT_LT(tick.Seconds(), 0.15);
}

TEST(SoundAssets, MusicIsStereoAndBetween40And90Seconds)
{
    for (const char* file : kMusic) {
        OggSound s = Load(file);
        EXPECT_EQ(s.channels, 2) << file;
        EXPECT_EQ(s.rate, 44100) << file;
        EXPECT_GE(s.Seconds(), 40) << file;
        EXPECT_LE(s.Seconds(), 90) << file;
    }
}

TEST(SoundAssets, NothingClipsAndEverythingIsAudible)
{
    const int minus_1_dbfs = 29204;
    for (const char* file : {"plop.ogg", "explode.ogg", "switch.ogg", "blip.ogg", "falling.ogg",
                             "game (half bit).ogg", "title (space fighter loop).ogg"}) {
        OggSound s = Load(file);
        int peak = Peak(s);
        EXPECT_LT(peak, minus_1_dbfs) << file << " peaks above -1 dBFS";
        EXPECT_GT(peak, 3000) << file << " is nearly silent";
    }
}

TEST(SoundAssets, EffectsShareOneLoudnessAndTheTickIsQuieter)
{
    double quietest = 0, loudest = -200;
    for (const char* file : kEffects) {
        double db = LoudestWindowDb(Load(file), 0.05);
        quietest = std::min(quietest, db), loudest = std::max(loudest, db);
    }
    EXPECT_LT(loudest - quietest, 6) << "effects differ too much in loudness";
    double tick = LoudestWindowDb(Load("falling.ogg"), 0.05);
    EXPECT_LT(tick, quietest - 6) << "the gravity tick must stay in the background";
    // Music sits under the effects.
    for (const char* file : kMusic)
        EXPECT_LT(LoudestWindowDb(Load(file), 0.4), loudest) << file;
}

TEST(SoundAssets, EffectsStartAndEndWithoutAClick)
{
    for (const char* file : {"plop.ogg", "explode.ogg", "switch.ogg", "blip.ogg", "falling.ogg"}) {
        OggSound s = Load(file);
        ASSERT_GT(s.Frames(), 100u);
        EXPECT_LT(std::abs(s.pcm.front()), 1200) << file;
        EXPECT_LT(std::abs(s.pcm.back()), 600) << file;
    }
}

TEST(SoundAssets, MusicLoopsWithoutASeam)
{
    for (const char* file : kMusic) {
        OggSound s = Load(file);
        ASSERT_EQ(s.channels, 2);
        size_t n = s.Frames(), near = size_t(s.rate / 50); // 20 ms either side of the seam
        for (int c = 0; c < 2; ++c) {
            int seam = std::abs(s.pcm[c] - s.pcm[(n - 1) * 2 + c]);
            int around = std::max(LargestStep(s, c, 0, near), LargestStep(s, c, n - near, n));
            EXPECT_LE(seam, std::max(around, 200)) << file << " channel " << c << " jumps where it loops";
        }
        // Content runs on through the seam: no fade-out to silence and in again.
        OggSound head = s, tail = s;
        head.pcm.assign(s.pcm.begin(), s.pcm.begin() + long(near * 2));
        tail.pcm.assign(s.pcm.end() - long(near * 2), s.pcm.end());
        EXPECT_GT(LoudestWindowDb(head, 0.02), -45) << file;
        EXPECT_GT(LoudestWindowDb(tail, 0.02), -45) << file;
    }
}
