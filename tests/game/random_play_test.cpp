#include <gtest/gtest.h>

#include <random>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "board_picture.h"
#include "game/effects.h"
#include "system/random.h"
#include "app/screens/play_frames.h"

namespace {

class RandomPlayTest : public GameTest {
protected:
    // Plays `frames` frames of random control flags, starting a new play whenever one is
    // lost, and checks the board after every frame. With `feed`, every third landing, on average, also fills
    // the free cells of a random row, many with power-ups, so rows clear often enough to
    // set off chains of blasts, collapses and flips.
    void Run(int32_t seed, int frames, bool feed)
    {
        SeedRandom(seed);
        std::mt19937 rng(seed);
        auto g = NewPlay();
        for (int frame = 0; frame < frames; ++frame) {
            controls.keyleft = rng() % 3 == 0;
            controls.keyright = rng() % 3 == 0;
            controls.keyrotleft = rng() % 8 == 0;
            controls.keyrotright = rng() % 8 == 0;
            controls.keyfast = rng() % 16 != 0;
            const size_t settled = g->blocks.Count();
            g->DoPiece(controls);
            if (feed && g->blocks.Count() > settled && rng() % 3 == 0)
                Feed(*g, rng);
            g->Rules();
            CheckBoard(*g, frame);
            points = std::max(points, g->points);
            if (HasFailure())
                return;
            if (g->lost) {
                ++plays;
                g = NewPlay();
            }
        }
    }

    std::unique_ptr<game> NewPlay()
    {
        auto g = StandardGame();
        g->NewPiece();
        return g;
    }

    // Completes one random row below row 8 with random blocks, many of them power-ups.
    // Slow-downs only come with the pieces: fed ones would soon stretch the waits to minutes.
    void Feed(game& g, std::mt19937& rng)
    {
        static const std::vector<int> kinds = {0, 0, 0, 0, 0, 0, 2, 2, 3, 4};
        const int row = 8 + static_cast<int>(rng() % (g.h - 8));
        std::set<int> taken;
        for (const auto& b : g.blocks)
            if (b->y == row)
                taken.insert(b->x);
        for (int col = 0; col < g.w; ++col)
            if (!taken.count(col))
                AddBlock(g, col, row, kinds[rng() % kinds.size()]);
    }

    int plays = 0;
    int points = 0;
};

} // namespace

TEST_F(RandomPlayTest, RandomKeysKeepTheBoardSound)
{
    Run(4242, 30000, false);
    EXPECT_GT(plays, 5);
    EXPECT_GT(SoundCount("sfx\\plop.ogg"), 200);
}

TEST_F(RandomPlayTest, FedBoardsSetOffEveryPowerUp)
{
    Run(777, 30000, true);
    EXPECT_GT(plays, 0);
    EXPECT_GT(points, 0);
    EXPECT_GT(SoundCount("sfx\\explode.ogg"), 200);
    EXPECT_GT(SoundCount("sfx\\switch.ogg"), 20);
}
