#include "app/shell/text.h"

#include <cctype>
#include <cmath>
#include <string_view>

#include "app/shell/shell_state.h"
#include "draw2d/draw2d.h"

namespace {

constexpr std::string_view CreditText = "Brimstrand - drop, clear, blast";

constexpr std::string_view LetterSet = "qwertyuiopasdfghjklzxcvbnm";
constexpr std::string_view DigitSet = "0123456789";
// Cells 62 onwards, in strip order.
constexpr std::string_view PunctuationSet = ":-_.?!,'\"@";
constexpr int FirstPunctuationCell = 62;
constexpr int NoCell = -1;

// Advance at scale 0.5, for measuring and drawing alike.
int WidthClass(unsigned char c)
{
    if (c == ' ')
        return 4;
    if (std::string_view("iltz1:.,!-\"ITZ").find(static_cast<char>(c)) != std::string_view::npos)
        return 5;
    return 6;
}

// Bytes are taken as unsigned so that characters above 127 have no cell instead of a negative
// code.
int Cell(unsigned char c)
{
    if (c == ' ')
        return NoCell;
    if (std::tolower(c) != c)
        return c - 65 + 26;
    const char ch = static_cast<char>(c);
    if (LetterSet.find(ch) != std::string_view::npos)
        return std::toupper(c) - 65;
    if (auto at = DigitSet.find(ch); at != std::string_view::npos)
        return static_cast<int>(at) + 52;
    if (auto at = PunctuationSet.find(ch); at != std::string_view::npos)
        return static_cast<int>(at) + FirstPunctuationCell;
    return NoCell;
}

// Pixels per width-class unit at the scale in force.
float UnitWidth()
{
    float scaleX, scaleY;
    GetScale(scaleX, scaleY);
    return 2 * scaleX;
}

int32_t LineLeft(const std::string& text, int32_t x, int32_t centred, int32_t spacing, float k)
{
    if (centred == 0)
        return x;
    int total = 0;
    for (unsigned char c : text)
        total += WidthClass(c);
    // The spacing enters once here, not once per character.
    return static_cast<int32_t>(std::trunc(x - ((total / 2) * k + spacing)));
}

// The offset of the next character from the line's left.
float Advance(float pos, unsigned char c, float k, int32_t spacing)
{
    return std::trunc(pos + WidthClass(c) * k + spacing);
}

} // namespace

void DrawFontText(const std::string& text, int32_t x, int32_t y, int32_t centred, int32_t spacing)
{
    const float k = UnitWidth();
    x = LineLeft(text, x, centred, spacing, k);
    float pos = 0;
    for (unsigned char c : text) {
        const int cell = Cell(c);
        if (cell != NoCell)
            DrawImage(shellpictures.fontimage, static_cast<float>(x) + pos, static_cast<float>(y), cell);
        pos = Advance(pos, c, k, spacing);
    }
}

int32_t FontCharLeft(const std::string& text, size_t index, int32_t x, int32_t centred, int32_t spacing)
{
    const float k = UnitWidth();
    float pos = 0;
    for (size_t i = 0; i < index && i < text.size(); ++i)
        pos = Advance(pos, static_cast<unsigned char>(text[i]), k, spacing);
    return LineLeft(text, x, centred, spacing, k) + static_cast<int32_t>(pos);
}

void DrawShadowedLine(const std::string& text, int32_t x, int32_t y, float scale)
{
    SetScale(scale, scale);
    SetColor(0, 0, 0);
    DrawFontText(text, x + 1, y + 1, 1, 0);
    SetColor(235, 235, 235);
    DrawFontText(text, x, y, 1, 0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}

void DrawCredit()
{
    const std::string credit(CreditText);
    SetScale(0.5f, 0.5f);
    SetColor(0, 0, 0);
    DrawFontText(credit, 225, 502, 0, 1);
    SetColor(213, 219, 214);
    DrawFontText(credit, 225, 501, 0, 1);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}
