#include "app/screens/controls_screen.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/screens/frame.h"
#include "app/screens/settings_page.h"
#include "app/settings/controls_file.h"
#include "app/settings/key_binding.h"
#include "app/settings/settings_file.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// In TPlayAction order.
constexpr std::array<const char*, PlayActionCount> ActionNames = {"Move left", "Move right", "Turn left", "Turn right",
                                                                  "Drop fast", "Hard drop",  "Hold"};

// The times the repeat rows step through, in milliseconds; 0 is off.
constexpr std::array<int32_t, 8> RepeatDelays = {0, 100, 150, 200, 250, 300, 400, 500};
constexpr std::array<int32_t, 8> RepeatIntervals = {0, 17, 33, 50, 67, 83, 100, 150};

constexpr int32_t ValueWidth = WindowWidth - ControlsValueLeft;

std::string TimeText(int32_t millis) { return millis == 0 ? "Off" : std::to_string(millis) + " ms"; }

// The next time of the list above the setting's (step +1, also a click) or below it, round.
void StepTime(TSettingId id, const std::array<int32_t, 8>& times, int32_t step)
{
    const int32_t now = CurrentSettings().Number(id);
    int32_t next = step < 0 ? times.back() : times.front();
    if (step < 0) {
        for (auto it = times.rbegin(); it != times.rend(); ++it)
            if (*it < now) {
                next = *it;
                break;
            }
    } else {
        const auto above = std::upper_bound(times.begin(), times.end(), now);
        if (above != times.end())
            next = *above;
    }
    CurrentSettings().SetNumber(id, next);
}

// What TakeBindableKey gives for Return with Alt held: the fullscreen switch, which no key code is.
constexpr int32_t AltEnterChord = -1;

// A key's first press, skipping the Alt keys, which only make chords.
int32_t TakeBindableKey()
{
    for (int32_t code = TakeAnyKeyHit(); code != 0; code = TakeAnyKeyHit()) {
        if (code == VK_LMENU || code == VK_RMENU)
            continue;
        if (code == VK_RETURN && (IsKeyDown(VK_LMENU) || IsKeyDown(VK_RMENU)))
            return AltEnterChord;
        return code;
    }
    return 0;
}

// F1, Tab, F11 and F12 act on every screen, and a frame may take their presses before this page
// looks; their release still says the player tried one, which the page refuses as it refuses
// the other keys the game keeps.
int32_t TakeActingKeyRelease()
{
    for (const int32_t code : {VK_F1, VK_TAB, VK_F11, VK_F12})
        if (TakeKeyReleases(code))
            return code;
    return 0;
}

int32_t TakeAnyPadButton()
{
    for (int32_t button = PadA; button < PadButtonCount; ++button)
        if (TakePadHits(button))
            return button;
    return 0;
}

std::string Outcome(const TBindingResult& result, TPlayAction action, TBindingKind kind, int32_t code)
{
    const std::string name = code == AltEnterChord ? "Alt Enter" : BindingName(kind, code);
    const std::string actionName = ActionNames[action];
    switch (result.outcome) {
    case TBindingOutcome::Bound:
        return actionName + " now has " + name;
    case TBindingOutcome::Swapped:
        return actionName + " now has " + name + ", " + ActionNames[result.other] + " took its old one";
    case TBindingOutcome::Unchanged:
        return actionName + " has " + name + " already";
    case TBindingOutcome::Reserved:
        return (name.empty() ? std::string("That key") : name) + " is kept by the game";
    }
    return {};
}

// Frames of the page until the player presses the new key or pad button of the action; Escape,
// pad Back or a click leave it as it was.
void Capture(TSettingsPage& page, TPlayAction action, TBindingKind kind)
{
    const bool keys = kind == TBindingKind::Key;
    page.SetMessage(std::string(keys ? "Press a key for " : "Press a pad button for ") + ActionNames[action] +
                    (keys ? ", Escape cancels" : ", Escape or Back cancels"));
    // What chose the row is not the answer.
    DropPendingInput();
    TakeMouseHits(MouseLeft);
    while (TakeActingKeyRelease() != 0) {
    }
    for (;;) {
        Cls();
        page.Draw();
        FinishFrame();
        int32_t code = keys ? TakeBindableKey() : TakeAnyPadButton();
        if (keys && code == 0)
            code = TakeActingKeyRelease();
        // A tap of Escape shorter than a frame is a press no longer held: it cancels all the same.
        const bool cancelled = keys ? code == VK_ESCAPE || TakePadHits(PadBack) : code == PadBack;
        if (EscapeToMenu() || cancelled || TakeMouseHits(MouseLeft)) {
            page.SetMessage("Nothing changed");
            return;
        }
        if (code == 0)
            continue;
        const TBindingResult result = code == AltEnterChord ? TBindingResult{TBindingOutcome::Reserved}
                                                            : Bind(CurrentSettings(), action, kind, code);
        page.SetMessage(Outcome(result, action, kind, code));
        DropPendingInput();
        return;
    }
}

} // namespace

void ControlsScreen()
{
    const TSettingValues before = CurrentSettings();
    TSettingsPage* current = nullptr;
    std::vector<TPageRow> rows;
    for (int32_t i = 0; i < PlayActionCount; ++i) {
        const auto action = static_cast<TPlayAction>(i);
        for (const TBindingKind kind : {TBindingKind::Key, TBindingKind::PadButton}) {
            const TSettingId id = BindingSetting(action, kind);
            rows.push_back({std::string(ActionNames[i]) + (kind == TBindingKind::Key ? " keys:" : " pad:"),
                            [id] { return CurrentSettings().Text(id); },
                            [&current, action, kind](int32_t step) {
                                if (step == 0)
                                    Capture(*current, action, kind);
                            }});
        }
    }
    rows.push_back({"Repeat after:", [] { return TimeText(CurrentSettings().Number(SettingRepeatDelay)); },
                    [](int32_t step) { StepTime(SettingRepeatDelay, RepeatDelays, step); }});
    rows.push_back({"Repeat every:", [] { return TimeText(CurrentSettings().Number(SettingRepeatInterval)); },
                    [](int32_t step) { StepTime(SettingRepeatInterval, RepeatIntervals, step); }});
    rows.push_back({"All controls:", [] { return std::string("Reset to defaults"); },
                    [&current](int32_t step) {
                        if (step != 0)
                            return;
                        CurrentSettings().ResetFile(TSettingFile::Controls);
                        current->SetMessage("Controls back to the defaults");
                    }});
    TSettingsPage page(std::move(rows), {.top = ControlsTop,
                                         .pitch = ControlsPitch,
                                         .labelCentre = ControlsLabelCentre,
                                         .valueLeft = ControlsValueLeft,
                                         .valueWidth = ValueWidth});
    current = &page;
    page.Run([&] {
        std::vector<TSettingId> changed;
        for (const TSettingId id : SettingsOf(TSettingFile::Controls))
            if (!(CurrentSettings().Value(id) == before.Value(id)))
                changed.push_back(id);
        return changed.empty() || SaveSettings(TSettingFile::Controls, changed);
    });
}
