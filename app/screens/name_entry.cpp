#include "app/screens/name_entry.h"

#include <algorithm>
#include <cstring>

#include "app/screens/frame.h"
#include "app/screens/notice.h"
#include "app/shell/text.h"
#include "app/storage/high_scores.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/termination.h"

namespace {

constexpr int32_t KeyCodes = 256;
constexpr int NameLength = 3;
// The gamepad's order through the name alphabet.
const char PadAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ-!?@";
constexpr char BlankLetter = 'A'; // what a name starts as, and what Backspace leaves

bool IsLetterOrDigitKey(int32_t key) { return (key >= VK_A && key <= VK_Z) || (key >= '0' && key <= '9'); }

bool IsModifier(int32_t key) { return key >= VK_LSHIFT && key <= VK_RMENU; }

int NextCursor(int cursor) { return cursor == NameLength ? 1 : cursor + 1; }

} // namespace

TNameEntryInput::TNameEntryInput()
{
    for (int32_t code = 1; code < KeyCodes; ++code)
        if (IsKeyDown(code) && !IsModifier(code)) // a modifier alone types nothing
            held_.push_back(code);
}

bool TNameEntryInput::FromHeldKey(int32_t c) const
{
    const int32_t upper = c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    const bool letterOrDigit = IsLetterOrDigitKey(upper);
    for (const int32_t key : held_) {
        if (letterOrDigit ? key == upper : !IsLetterOrDigitKey(key))
            return true;
    }
    return false;
}

void TNameEntryInput::Type(std::string& name, int& cursor, int32_t c)
{
    if (c == CharBackspace) {
        if (typed_ == 0)
            return;
        --typed_;
        cursor = cursor == 1 ? NameLength : cursor - 1;
        name[cursor - 1] = BlankLetter;
        return;
    }
    const int before = cursor;
    TypeNameChar(name, cursor, c);
    if (cursor != before)
        typed_ = std::min(typed_ + 1, NameLength);
}

void TNameEntryInput::PadStep(std::string& name, int cursor, int32_t step) const
{
    const int32_t count = static_cast<int32_t>(std::strlen(PadAlphabet));
    const char* at = std::strchr(PadAlphabet, name[cursor - 1]);
    const int32_t index = at ? static_cast<int32_t>(at - PadAlphabet) : 0;
    name[cursor - 1] = PadAlphabet[((index + step) % count + count) % count];
}

bool TNameEntryInput::Update(std::string& name, int& cursor)
{
    bool finished = false;
    // The characters first: those queued before a held key's release are still its own.
    while (const int32_t c = TakeTypedChar()) {
        if (finished || FromHeldKey(c))
            continue;
        if (c == CharEnter)
            finished = true;
        else
            Type(name, cursor, c);
    }
    std::erase_if(held_, [](int32_t key) { return TakeKeyReleases(key) != 0; });

    const int32_t step = TakePadHits(PadUp) + TakePadHits(PadStickUp) - TakePadHits(PadDown) - TakePadHits(PadStickDown);
    if (step != 0)
        PadStep(name, cursor, step);
    if (TakePadHits(PadA) + TakePadHits(PadRight) + TakePadHits(PadStickRight) != 0) {
        cursor = NextCursor(cursor);
        typed_ = std::min(typed_ + 1, NameLength);
    }
    return finished || TakePadHits(PadStart) != 0;
}

namespace {

// The underline under the letter the next key replaces: just below the name's baseline, shown
// and hidden for a third of a second each so it reads as a cursor.
constexpr int32_t NameCursorDrop = 2;
constexpr int NameCursorBlinkFrames = 20;
bool NameCursorShown(int frame) { return (frame / NameCursorBlinkFrames) % 2 == 0; }

} // namespace

void DrawNameEntry(const std::string& heading, const std::string& result, const std::string& name)
{
    const int32_t centre = GraphicsWidth() / 2;
    DrawFontText(heading, centre, 220, 1, 0);
    DrawFontText(result, centre, 240, 1, 0);
    DrawFontText("Please enter your name.", centre, 280, 1, 0);
    DrawFontText(name, centre, 310, 1, 0);
}

std::string AskName(TNameEntryInput& input, const std::string& heading, const std::string& result)
{
    std::string name = "AAA";
    int cursor = 1;
    const int32_t centre = GraphicsWidth() / 2;
    for (int frame = 0;; ++frame) {
        // No background, frame or music here: the play track plays on.
        Cls();
        DrawNameEntry(heading, result, name);
        if (NameCursorShown(frame))
            DrawFontText("_", FontCharLeft(name, cursor - 1, centre, 1, 0), 310 + NameCursorDrop, 0, 0);
        if (input.Update(name, cursor) || TTerminationDeferral::Pending())
            break;
        EndFrame();
        if (IsKeyDown(VK_ESCAPE) || TakeTerminateRequest())
            EndProgram();
    }
    return name;
}

void EnterHighScore(int32_t points, const std::function<void(const std::string&)>& keepReplay)
{
    TNameEntryInput input;
    ResetKeyState();
    LoadScores();
    if (!QualifiesForTable(points))
        return;
    const std::string heading = "High score!", result = std::to_string(points);
    const std::string name = AskName(input, heading, result);
    keepReplay(name);
    if (!RecordHighScore(points, name) && !TTerminationDeferral::Pending())
        ShowNotice("Could not save high score", [&] { DrawNameEntry(heading, result, name); });
    ResetKeyState();
}
