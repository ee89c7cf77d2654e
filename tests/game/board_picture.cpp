#include "board_picture.h"

#include <map>
#include <sstream>
#include <vector>

#include "game/boom.h"
#include "game/effects.h"
#include "game/shape.h"
#include "game/sounds.h"

std::shared_ptr<block> AddBlock(game& g, int x, int y, int kind)
{
    auto b = std::make_shared<block>();
    b->x = x;
    b->y = y;
    b->kind = kind;
    g.blocks.AddLast(b);
    return b;
}

std::unique_ptr<game> BoardGame(const std::string& picture)
{
    auto g = std::make_unique<game>();
    std::istringstream lines(picture);
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
        g->w = static_cast<int>(line.size());
        for (int col = 0; col < g->w; ++col) {
            const char c = line[col];
            if (c == '#')
                AddBlock(*g, col, row, 0);
            else if (c >= '1' && c <= '4')
                AddBlock(*g, col, row, c - '0');
        }
        ++row;
    }
    g->h = row;
    return g;
}

std::string Picture(const game& g)
{
    std::string out;
    std::map<std::pair<int, int>, int> seen;
    for (const auto& b : g.blocks)
        ++seen[{b->x, b->y}];
    for (int row = 0; row < g.h; ++row) {
        std::string line(g.w, '.');
        for (const auto& b : g.blocks) {
            if (b->y != row || b->x < 0 || b->x >= g.w)
                continue;
            line[b->x] = seen[{b->x, b->y}] > 1 ? '!' : b->kind == 0 ? '#' : static_cast<char>('0' + b->kind);
        }
        out += line + "\n";
    }
    return out;
}

std::unique_ptr<game> StandardGame()
{
    auto g = std::make_unique<game>();
    g->w = BoardColumns;
    g->h = BoardRows;
    g->x = BoardLeft;
    return g;
}

std::vector<std::pair<int, int>> PieceCells(const game& g)
{
    std::vector<std::pair<int, int>> cells;
    for (const auto& b : g.place)
        cells.emplace_back(b->x, b->y);
    return cells;
}

// The board as every frame must leave it: settled blocks inside the walls and above the floor,
// one to a cell; the loss exactly when one stands above row 1; whole rows of points; no blast
// left queued; a live play's falling piece of four blocks on free cells. Reports the frame.
void CheckBoard(const game& g, int64_t frame)
{
    std::vector<char> taken(static_cast<size_t>(g.w) * g.h);
    bool above = false;
    for (const auto& b : g.blocks) {
        ASSERT_TRUE(b->x >= 0 && b->x < g.w && b->y <= g.h - 1) << "frame " << frame;
        above = above || b->y < 1;
        if (b->y < 0)
            continue;
        char& cell = taken[static_cast<size_t>(b->y) * g.w + b->x];
        ASSERT_FALSE(cell) << "two blocks at " << b->x << "," << b->y << " frame " << frame;
        cell = 1;
    }
    ASSERT_EQ(g.lost, above ? 1 : 0) << "frame " << frame;
    ASSERT_EQ(g.points % 25, 0) << "frame " << frame;
    ASSERT_TRUE(g.bangs.IsEmpty()) << "frame " << frame;
    if (!g.lost) {
        ASSERT_EQ(g.place.Count(), 4u) << "frame " << frame;
        for (const auto& b : g.place) {
            ASSERT_TRUE(b->x >= 0 && b->x < g.w && b->y <= g.h - 1) << "frame " << frame;
            ASSERT_TRUE(b->y < 0 || !taken[static_cast<size_t>(b->y) * g.w + b->x]) << "piece overlaps, frame " << frame;
        }
    }
}

void GameTest::SetUp()
{
    effects.Reset();
    booms.Clear();
    if (shapecount == 0)
        shape::Init();
    SetSoundPlayer([this](const std::string& name) { sounds.push_back(name); });
}

void GameTest::TearDown()
{
    SetSoundPlayer(nullptr);
    booms.Clear();
}

int GameTest::SoundCount(const std::string& name) const
{
    int n = 0;
    for (const auto& s : sounds)
        n += s == name;
    return n;
}
