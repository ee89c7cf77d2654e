#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"

// Boards as small pictures, one line per row from the top: '.' empty, '#' a plain block,
// '1' to '4' a power-up of that kind. A cell holding two settled blocks renders as '!'.
std::unique_ptr<game> BoardGame(const std::string& picture);
std::string Picture(const game& g);
std::shared_ptr<block> AddBlock(game& g, int x, int y, int kind = 0);

// The board of a real play: 20 by 32 at pixel 96, with no falling piece yet.
std::unique_ptr<game> StandardGame();

// The falling piece's cells, in list order.
std::vector<std::pair<int, int>> PieceCells(const game& g);

// Asserts what every frame of a play must leave true of the board (see board_picture.cpp).
void CheckBoard(const game& g, int64_t frame);

// Resets the effect levels and flash effects, makes sure the seven templates exist, and records
// every sound the rules start. Each test starts with no control set.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    int SoundCount(const std::string& name) const;

    std::vector<std::string> sounds;
    TControls controls;
};
