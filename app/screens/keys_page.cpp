#include "app/screens/keys_page.h"

#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/settings/controls_file.h"
#include "app/settings/registry.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// A dark page under the logo, so the lines read over the turning background at either
// Visibility and over the pause's caption.
constexpr int32_t PageLeft = 16;
constexpr int32_t PageTop = KeysPageTop;
constexpr int32_t PageWidth = WindowWidth - 2 * PageLeft;
constexpr int32_t PageHeight = 396;
constexpr float PageAlpha = 0.82f;
constexpr int32_t TitleY = PageTop + 6;
constexpr int32_t ColumnLeft[KeysPageColumnCount] = {PageLeft + 12, WindowWidth / 2 + 8};
constexpr int32_t KeysWidth = 106; // the keys of a line, then what they do
constexpr float LineScale = 0.625f;
constexpr int32_t LinePitch = 12;
constexpr int32_t SectionGap = 5;
constexpr int32_t BackHintY = PageTop + PageHeight - 18;
const std::string BackHint = "Escape, Return or click: back";
constexpr TMarkerColour HeadingColour = FocusMarkerFill;
constexpr int32_t KeysShade = 235;
constexpr int32_t ActionShade = 190;

// The play actions in TPlayAction order, as the page names them.
constexpr std::string_view ActionNames[PlayActionCount] = {"move left", "move right",       "turn left",  "turn right",
                                                           "drop fast", "hard drop, if on", "hold, if on"};

// Keys a player bound that are too many for their column end in ".." rather than run into what
// they do.
std::string Fitted(const std::string& keys, int32_t width)
{
    if (FontCharLeft(keys, keys.size(), 0, 0, 0) <= width)
        return keys;
    std::string cut = keys;
    while (!cut.empty() && FontCharLeft(cut + "..", cut.size() + 2, 0, 0, 0) > width)
        cut.pop_back();
    return cut + "..";
}

void DrawColumn(const std::vector<TKeySection>& sections, int32_t left)
{
    int32_t y = KeysPageColumnsTop;
    for (const TKeySection& section : sections) {
        SetColor(HeadingColour.r, HeadingColour.g, HeadingColour.b);
        DrawFontText(std::string(section.heading), left, y, 0, 0);
        y += LinePitch;
        for (const TKeyLine& line : section.lines) {
            SetColor(KeysShade, KeysShade, KeysShade);
            DrawFontText(Fitted(line.keys, KeysWidth - LinePitch / 2), left, y, 0, 0);
            SetColor(ActionShade, ActionShade, ActionShade);
            DrawFontText(std::string(line.action), left + KeysWidth, y, 0, 0);
            y += LinePitch;
        }
        y += SectionGap;
    }
}

void DrawPage(const TKeysPageColumns& columns)
{
    SetRotation(0);
    SetColor(0, 0, 0);
    SetAlpha(PageAlpha);
    DrawRect(PageLeft, PageTop, PageWidth, PageHeight);
    SetAlpha(1);
    SetColor(255, 255, 255);
    DrawFontText("Keys", WindowWidth / 2, TitleY, 1, 0);
    SetScale(LineScale, LineScale);
    for (size_t column = 0; column < KeysPageColumnCount; ++column)
        DrawColumn(columns[column], ColumnLeft[column]);
    SetScale(1, 1);
    DrawHint(BackHint, BackHintY, false);
    SetColor(255, 255, 255);
}

} // namespace

TKeysPageColumns KeysPageColumns(const TSettingValues& values)
{
    TKeySection play{"Play", {}};
    for (int32_t action = 0; action < PlayActionCount; ++action)
        play.lines.push_back({values.Text(ActionSettings[action]), ActionNames[action]});
    play.lines.push_back({"Escape", "pause"});
    return {{
        {play,
         {"Pause", {{"Return, click", "resume"}, {"Escape", "quit"}, {"F1", "this page"}}},
         {"Any screen", {{"Tab", "Visibility"}, {"F11, Alt-Enter", "fullscreen"}, {"F12", "screenshot"}}},
         {"Gamepad",
          {{"D-pad, stick", "move, drop fast"},
           {"A, B", "turn right, left"},
           {"Up, Y", "hard drop"},
           {"Shoulders", "hold"},
           {"Start", "pause, resume"},
           {"A, Back", "choose, back"}}}},
        {{"Title menu",
          {{"Up, Down", "highlight"}, {"Return, Space", "choose, or Play"}, {"F1", "this page"}, {"Escape", "quit"}}},
         {"Menus",
          {{"Up, Down", "highlight"}, {"Left, Right", "change a value"}, {"Return, Space", "choose"}, {"Escape", "back"}}},
         {"Name entry",
          {{"Letters, digits", "type"},
           {"Backspace", "take back"},
           {"Enter", "done"},
           {"Pad up, down", "change letter"},
           {"Pad A, right", "next letter"},
           {"Pad Start", "done"}}},
         {"High scores", {{"Up, Down", "to a replay"}, {"Return", "watch it"}}},
         {"Replay", {{"Space", "faster"}, {"Escape", "back"}}}},
    }};
}

void KeysPage(const std::function<void()>& drawBehind)
{
    ResetMouseState();
    const TKeysPageColumns columns = KeysPageColumns(CurrentSettings());
    for (;;) {
        drawBehind();
        DrawPage(columns);
        EndFrame();
        if (TakeTerminateRequest())
            EndProgram();
        const TMenuKeys keys = TMenuKeys::Take();
        if (IsKeyDown(VK_ESCAPE) || keys.activate || keys.back || TakePadHits(PadB) || TakeMouseHits(MouseLeft) ||
            KeysPageAsked())
            break;
    }
    // The key or click that closed the page is nothing for the screen below: a held Escape must
    // not go on to end the program from the title or the pause.
    ResetKeyState();
    ResetMouseState();
}
