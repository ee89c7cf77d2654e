// Key sampling through the real polled input: SDL key events of a real (offscreen) window go
// through the system driver, the translation and the event chain before key::Update reads them.
#include <gtest/gtest.h>

#include "app/key.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/keycodes.h"
#include "system/sdl_events.h"

namespace {

class KeySampling : public SDLWindowTest {
protected:
    void Tap(char letter, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            Push(LetterEvent(true, letter));
            Push(LetterEvent(false, letter));
        }
    }

    TControls controls;
};

TEST_F(KeySampling, PressesSinceTheLastFrameAreCountedForMovesAndFlaggedForTurns)
{
    Tap('a', 2);
    Tap('d', 3);
    Tap('q', 3);
    Tap('e', 2);
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 2);
    EXPECT_EQ(controls.keyright, 3);
    EXPECT_EQ(controls.keyrotleft, 1);
    EXPECT_EQ(controls.keyrotright, 1);
    EXPECT_EQ(controls.keyfast, 0);

    // Each press is seen in exactly one frame.
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 0);
    EXPECT_EQ(controls.keyright, 0);
    EXPECT_EQ(controls.keyrotleft, 0);
    EXPECT_EQ(controls.keyrotright, 0);
}

TEST_F(KeySampling, TwoPressesOfAMoveThePieceOneColumn)
{
    if (shapecount == 0)
        shape::Init();
    game g;
    g.w = 20;
    g.h = 32;
    g.x = 96;
    g.NewPiece();
    g.nextdown = 100; // no gravity step in this frame
    std::vector<int> columns;
    for (const auto& b : g.place)
        columns.push_back(b->x);
    const int px = g.px;

    Tap('a', 2);
    controls = key::Update();
    ASSERT_EQ(controls.keyleft, 2);
    g.DoPiece(controls);
    EXPECT_EQ(g.px, px - 1);
    size_t i = 0;
    for (const auto& b : g.place)
        EXPECT_EQ(b->x, columns[i++] - 1);
}

TEST_F(KeySampling, HoldingSSetsFastWithoutPilingUpPresses)
{
    Push(LetterEvent(true, 's'));
    for (int frame = 0; frame < 5; ++frame) {
        for (int i = 0; i < 8; ++i)
            Push(LetterEvent(true, 's', true)); // the platform's auto-repeat
        controls = key::Update();
        EXPECT_EQ(controls.keyfast, 1) << frame;
        EXPECT_EQ(key::FastHits(), frame == 0 ? 1 : 0) << frame;
    }
    Push(LetterEvent(false, 's'));
    controls = key::Update();
    EXPECT_EQ(controls.keyfast, 0);

    // Presses of S made between frames are taken by the sampling, so none are left over.
    Tap('s', 3);
    controls = key::Update();
    EXPECT_EQ(key::FastHits(), 3);
    EXPECT_EQ(TakeKeyHits(VK_S), 0);
}

} // namespace
