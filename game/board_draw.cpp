#include <cmath>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "draw2d/draw2d.h"
#include "game/board_draw.h"
#include "game/block.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"

namespace {

constexpr int GlyphPitch = 8;     // pixels between score glyphs
constexpr int FirstLabelFrame = 10;
constexpr int LabelGlyphs = 7;
constexpr int ColonFrame = 16;    // the label's last glyph

// The score: its label, then its value one line below.
constexpr int PointsLeft = 12;
constexpr int PointsLabelTop = 28;
constexpr int PointsValueTop = 40;

// Small pieces beside the board: coming ones in the free column on the right, the held one in
// a box in the left column under the score, the figures under that.
constexpr int SmallCell = 8;
constexpr float SmallScale = static_cast<float>(SmallCell) / cellsize;
constexpr int StampCells = 4; // a template is 4 by 4 cells
constexpr int ComingLeft = 432;
constexpr int ComingTop = 28;
constexpr int ComingPitch = 40;
constexpr int HoldBoxLeft = 12;
constexpr int HoldBoxTop = 56;
constexpr int HoldBoxSize = StampCells * SmallCell + 2 * SmallCell;
constexpr int FiguresTop = HoldBoxTop + HoldBoxSize + 8;
constexpr int FigurePitch = 12;
constexpr int FigureValueLeft = PointsLeft + 12;

// Colours of the score strip: the cool label, the warm foot of the digits.
constexpr uint8_t LabelRed = 214, LabelGreen = 222, LabelBlue = 255;
constexpr uint8_t DigitRed = 236, DigitGreen = 196, DigitBlue = 140;

// The landing shadow stays fainter than any block; Low visibility is for dim screens and
// shows it stronger, as it does the block shadows.
constexpr float LandingAlphaHigh = 0.3f;
constexpr float LandingAlphaLow = 0.5f;
// A held piece that cannot come back before the next landing.
constexpr float SpentHoldAlpha = 0.4f;

float ShadowAlpha()
{
    return settings.visibility == 1 ? 0.395f - effects.glow / 2.08f : 0.895f - effects.glow;
}

// Digits and colons from the score strip, glyph i at x + 8i: calls glyph(x, y, frame) for each;
// other characters keep their place and draw nothing.
template <class TGlyph>
void ForEachStripGlyph(int x, int y, const std::string& text, TGlyph glyph)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const int frame = c == ':' ? ColonFrame : c >= '0' && c <= '9' ? c - '0' : -1;
        if (frame >= 0)
            glyph(static_cast<float>(x + GlyphPitch * static_cast<int>(i)), static_cast<float>(y), frame);
    }
}

void DrawStripText(int x, int y, const std::string& text)
{
    ForEachStripGlyph(x, y, text, [](float gx, float gy, int frame) { DrawImage(pictures.pointsimage, gx, gy, frame); });
}

// A block of a stamped piece at half size, its stamp cell (0..3, 0..3) at (left, top); the
// caller sets the half scale once for all of them, as setting a scale costs more than a draw.
void DrawSmallBlock(const block& b, int boardWidth, int left, int top)
{
    const float bx = static_cast<float>(left + (b.x - (boardWidth / 2 - 1)) * SmallCell);
    const float by = static_cast<float>(top + (b.y + StampCells - 1) * SmallCell);
    if (b.kind >= BlockSlowDown && b.kind <= BlockFlip) {
        SetColor(255, 255, 255);
        DrawImage(pictures.powerupimages[static_cast<size_t>(b.kind - 1)], bx, by, 0);
    } else {
        SetColor(b.r, b.g, b.b);
        DrawImage(pictures.blockimage, bx, by, 0);
    }
}

void DrawSmallPiece(const TStampedPiece& piece, int boardWidth, int left, int top)
{
    for (const block& b : piece.blocks)
        DrawSmallBlock(b, boardWidth, left, top);
}

void DrawComingPieces(const game& g)
{
    int top = ComingTop;
    for (const TStampedPiece& piece : g.coming) {
        DrawSmallPiece(piece, g.w, ComingLeft, top);
        top += ComingPitch;
    }
}

void DrawHoldBox(const game& g)
{
    SetColor(LabelRed, LabelGreen, LabelBlue);
    constexpr float l = HoldBoxLeft, t = HoldBoxTop, r = HoldBoxLeft + HoldBoxSize - 1,
                    b = HoldBoxTop + HoldBoxSize - 1;
    DrawLine(l, t, r, t);
    DrawLine(r, t, r, b);
    DrawLine(r, b, l, b);
    DrawLine(l, b, l, t);
}

void DrawHeldPiece(const game& g)
{
    SetAlpha(g.holdslot.used ? SpentHoldAlpha : 1);
    DrawSmallPiece(g.holdslot.piece, g.w, HoldBoxLeft + SmallCell, HoldBoxTop + SmallCell);
    SetAlpha(1);
}

// The score strip has no letters for labels, so each figure but the time has a small sign:
// a row for rows, a T for pieces, the T and a decimal point for pieces a second.
void DrawRowSign(int x, int y) { DrawRect(static_cast<float>(x), static_cast<float>(y + 2), 8, 3); }

void DrawPieceSign(int x, int y)
{
    DrawRect(static_cast<float>(x + 1), static_cast<float>(y + 1), 6, 2);
    DrawRect(static_cast<float>(x + 3), static_cast<float>(y + 3), 2, 3);
}

// Whole numbers as the strip draws them, at least `width` digits.
std::string Digits(int64_t value, int width = 1)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    std::string text(buffer, end);
    return text.size() < static_cast<size_t>(width) ? std::string(width - text.size(), '0') + text : text;
}

// The numbers the figures show.
struct TFigureValues {
    int64_t rows = 0;
    int64_t pieces = 0;
    int64_t seconds = 0;
    int64_t hundredths = 0; // pieces a second, in hundredths
    bool operator==(const TFigureValues&) const = default;
};

// A glyph of the score strip where DrawStripText would draw it.
struct TStripGlyph {
    float x = 0;
    float y = 0;
    int frame = 0;
};

// The figures' glyphs and the rate's decimal point, as their numbers last were.
struct TFigureGlyphs {
    std::optional<TFigureValues> values;
    std::vector<TStripGlyph> glyphs;
    float pointX = 0;
    float pointY = 0;
};

void AddStripGlyphs(std::vector<TStripGlyph>& glyphs, int x, int y, const std::string& text)
{
    ForEachStripGlyph(x, y, text, [&](float gx, float gy, int frame) { glyphs.push_back({gx, gy, frame}); });
}

constexpr int FigureRowTop(int row) { return FiguresTop + row * FigurePitch; }

// Most frames show the numbers of the frame before, so the glyphs are laid out only when one
// changes.
TFigureGlyphs g_figureGlyphs;

const TFigureGlyphs& FigureGlyphs(const TPlayFigures& f)
{
    const TFigureValues values{f.rows, f.pieces, f.frames / FramesPerSecond, std::llround(f.PiecesPerSecond() * 100)};
    TFigureGlyphs& laid = g_figureGlyphs;
    if (laid.values == values)
        return laid;
    laid.values = values;
    const std::string time = Digits(values.seconds / 60, 2) + ":" + Digits(values.seconds % 60, 2);
    // The strip has no decimal point: a gap is left for it and a dot drawn there.
    const std::string rate = Digits(values.hundredths / 100) + " " + Digits(values.hundredths % 100, 2);
    laid.glyphs.clear();
    AddStripGlyphs(laid.glyphs, FigureValueLeft, FigureRowTop(0), Digits(values.rows));
    AddStripGlyphs(laid.glyphs, FigureValueLeft, FigureRowTop(1), Digits(values.pieces));
    AddStripGlyphs(laid.glyphs, FigureValueLeft, FigureRowTop(2), time);
    AddStripGlyphs(laid.glyphs, FigureValueLeft, FigureRowTop(3), rate);
    laid.pointX = static_cast<float>(FigureValueLeft + GlyphPitch * static_cast<int>(rate.find(' ')) + 2);
    laid.pointY = static_cast<float>(FigureRowTop(3) + 5);
    return laid;
}

void DrawFigures(const game& g)
{
    const TFigureGlyphs& laid = FigureGlyphs(g.figures);

    SetColor(LabelRed, LabelGreen, LabelBlue);
    DrawRowSign(PointsLeft, FigureRowTop(0));
    DrawPieceSign(PointsLeft, FigureRowTop(1));
    DrawPieceSign(PointsLeft, FigureRowTop(3));
    SetColor(255, 255, 255);
    for (const TStripGlyph& glyph : laid.glyphs)
        DrawImage(pictures.pointsimage, glyph.x, glyph.y, glyph.frame);
    SetColor(DigitRed, DigitGreen, DigitBlue);
    DrawRect(laid.pointX, laid.pointY, 2, 2);
}

// The settled blocks, and the fall of the falling piece found in the same walk.
int DrawSettledBlocksFindingFall(const game& g, const TLandingFall& fall)
{
    TSettledMarks marks;
    for (const auto& b : g.blocks) {
        b->Draw(g.x, g.y, 0);
        marks.Mark(*b);
    }
    return fall.Rows(marks, g.blocks);
}

// Drawn after the settled blocks, whose cells it never takes, and before the falling piece,
// which covers it where they meet: wholly when it cannot fall.
void DrawLandingShadow(const game& g, const TLandingFall& fall, int rows)
{
    if (rows == 0)
        return;
    const auto piece = fall.Blocks();
    auto underPiece = [&](int cx, int cy) {
        for (const block* b : piece)
            if (b->x == cx && b->y == cy)
                return true;
        return false;
    };
    SetAlpha(settings.visibility == 1 ? LandingAlphaHigh : LandingAlphaLow);
    for (const block* b : piece) {
        const int cy = b->y + rows;
        if (cy < 0 || underPiece(b->x, cy))
            continue;
        const bool powerUp = b->kind >= BlockSlowDown && b->kind <= BlockFlip;
        powerUp ? SetColor(255, 255, 255) : SetColor(b->r, b->g, b->b);
        DrawImage(powerUp ? pictures.powerupimages[static_cast<size_t>(b->kind - 1)] : pictures.blockimage,
                  static_cast<float>(g.x + b->x * cellsize), static_cast<float>(g.y + cy * cellsize), 0);
    }
    SetAlpha(1);
}

// Everything the options add beside the board, drawn after it at the scale the blocks leave (1),
// the small pieces last, under one change of scale.
void DrawOptionExtras(const game& g)
{
    if (g.options.hold)
        DrawHoldBox(g);
    if (g.options.playFigures)
        DrawFigures(g);
    const bool held = g.options.hold && g.holdslot.full;
    if (held || g.options.nextPieces > 0) {
        SetScale(SmallScale, SmallScale);
        if (held)
            DrawHeldPiece(g);
        if (g.options.nextPieces > 0)
            DrawComingPieces(g);
        SetScale(1, 1);
    }
    // Each part leaves the alpha at 1, as it found it; the colour is the last one drawn.
    SetColor(255, 255, 255);
}

} // namespace

void DrawPoints(int x, int y, int value, int mode)
{
    if (mode == 0 || mode > 1) {
        for (int i = 0; i < LabelGlyphs; ++i)
            DrawImage(pictures.pointsimage, static_cast<float>(x + GlyphPitch * i), static_cast<float>(y),
                      FirstLabelFrame + i);
    }
    if (mode > 0) {
        // Mode 1 puts the first digit at x; higher modes put the digits after the label.
        // A minus sign has no glyph in the strip; it keeps its place and draws nothing.
        const int d = mode == 1 ? 0 : 48 + GlyphPitch;
        DrawStripText(x + d, y, std::to_string(value));
    }
}

void block::Draw(int ox, int oy, int pass)
{
    const float bx = static_cast<float>(ox + x * cellsize);
    const float by = static_cast<float>(oy + y * cellsize);
    if (kind == BlockPlain) {
        if (pass == 0) {
            SetColor(r, g, b);
            if (y >= 0)
                DrawImage(pictures.blockimage, bx, by, 0);
        } else {
            // Drawn whatever the row, so a piece above the board shows its shadow on the top rows.
            SetScale(static_cast<float>(cellsize / 16), 1);
            SetColor(0, 0, 0);
            SetAlpha(ShadowAlpha());
            SetRotation(0);
            DrawImage(pictures.shadowimage, bx, by + static_cast<float>(cellsize), 0);
        }
    } else if (kind >= BlockSlowDown && kind <= BlockFlip && pass == 0) {
        SetColor(255, 255, 255);
        if (y >= 0)
            DrawImage(pictures.powerupimages[static_cast<size_t>(kind - 1)], bx, by, 0);
    }
    SetScale(1, 1);
    SetAlpha(1);
}

void game::Draw()
{
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawPoints(PointsLeft, PointsLabelTop, 0, 0);
    DrawPoints(PointsLeft, PointsValueTop, points, 1);
    if (options.landingShadow && !place.IsEmpty()) {
        const TLandingFall fall(*this);
        DrawLandingShadow(*this, fall, DrawSettledBlocksFindingFall(*this, fall));
    } else {
        for (const auto& b : blocks)
            b->Draw(x, y, 0);
    }
    for (const auto& b : place)
        b->Draw(x, y, 0);
    // Every shadow after every block, so shadows also darken the blocks below them.
    for (const auto& b : blocks)
        b->Draw(x, y, 1);
    for (const auto& b : place)
        b->Draw(x, y, 1);
    if (!options.AllDefault())
        DrawOptionExtras(*this);
    if (std::fabs(effects.glow) >= 0.002f)
        effects.glow = 0;
    else
        effects.glow -= 0.0078f;
}
