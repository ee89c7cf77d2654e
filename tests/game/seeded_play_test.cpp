#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "board_picture.h"
#include "game/effects.h"
#include "system/random.h"

namespace {

// The global generator modelled from its algorithm: a Lehmer step in 64-bit arithmetic,
// two steps per uniform number, and the inclusive integer range built on it.
class TGeneratorModel {
public:
    explicit TGeneratorModel(int64_t seed) : s_(seed) {}

    int Int(int lo, int hi)
    {
        const int64_t a = Step(), b = Step();
        const double u = ((a & 0x1FFFFFFC) + (b & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
        return lo + static_cast<int>(u * (hi - lo + 1.0));
    }

private:
    int64_t Step() { return s_ = s_ * 48271 % 2147483647; }
    int64_t s_;
};

struct TExpectedBlock {
    int r, g, b, kind;
    bool operator==(const TExpectedBlock&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TExpectedBlock& e)
{
    return os << "(" << e.r << "," << e.g << "," << e.b << " kind " << e.kind << ")";
}

class SeededPlayTest : public GameTest {};

// A scripted play: the controls come from their own generator, the game from its seed.
std::string PlayTranscript(int32_t seed, int frames)
{
    SeedRandom(seed);
    std::mt19937 script(7);
    auto g = StandardGame();
    g->NewPiece();
    std::ostringstream out;
    for (int frame = 0; frame < frames && !g->lost; ++frame) {
        TControls controls;
        controls.keyleft = script() % 4 == 0;
        controls.keyright = script() % 4 == 0;
        controls.keyrotleft = script() % 9 == 0;
        controls.keyrotright = script() % 9 == 0;
        controls.keyfast = script() % 3 != 0;
        g->DoPiece(controls);
        g->Rules();
        out << g->ptype << ' ' << g->px << ' ' << g->py << ' ' << g->points << ' ' << g->downwait << '\n';
    }
    out << Picture(*g);
    return out.str();
}

} // namespace

TEST_F(SeededPlayTest, PiecesFollowTheGeneratorDrawForDraw)
{
    const int baseColour[7][3] = {{189, 189, 189}, {148, 167, 148}, {148, 167, 148}, {124, 143, 216},
                                  {124, 143, 216}, {199, 176, 157}, {149, 122, 167}};
    SeedRandom(20240611);
    TGeneratorModel model(20240611);
    auto g = StandardGame();
    int powerups = 0;
    for (int piece = 0; piece < 500; ++piece) {
        g->NewPiece();
        const int type = model.Int(0, 6);
        ASSERT_EQ(g->ptype, type) << "piece " << piece;
        ASSERT_EQ(g->place.Count(), 4u);
        for (const auto& b : g->place) {
            TExpectedBlock want{};
            want.r = (baseColour[type][0] + model.Int(-3, 3)) & 0xFF;
            want.g = (baseColour[type][1] + model.Int(-2, 2)) & 0xFF;
            want.b = (baseColour[type][2] + model.Int(-4, 4)) & 0xFF;
            want.kind = model.Int(0, 39) == 0 ? model.Int(1, 4) : 0;
            powerups += want.kind != 0;
            ASSERT_EQ((TExpectedBlock{b->r, b->g, b->b, b->kind}), want) << "piece " << piece;
        }
    }
    EXPECT_GT(powerups, 20); // about one block in forty
}

TEST_F(SeededPlayTest, SameSeedSamePlay)
{
    const std::string first = PlayTranscript(99, 3000);
    const std::string second = PlayTranscript(99, 3000);
    EXPECT_EQ(first, second);
    EXPECT_NE(PlayTranscript(100, 3000), first);
}
