#include "app/screens/challenges_screen.h"

#include <array>
#include <ctime>
#include <vector>

#include "app/screens/backdrop.h"
#include "app/screens/challenge_play.h"
#include "app/screens/challenge_table_screen.h"
#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/screens/notice.h"
#include "app/screens/play_screen.h"
#include "app/screens/statistics_screen.h"
#include "app/settings/play_settings.h"
#include "app/settings/settings_file.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "app/storage/replay_store.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

std::string BestShown(const TChallengeTable& table, const std::string& today)
{
    const std::vector<TChallengeEntry> entries = EntriesOn(table, today);
    return entries.empty() ? "-" : FormatResult(table.challenge, entries.front().result);
}

namespace {

// The screen's items for the key highlight, top to bottom: the four challenges first, in the
// order of TChallenge.
enum : int32_t { RowSprint, RowUltra, RowDaily, RowRace, RowHandling, RowStatistics, RowReturn, RowCount };
constexpr int32_t ChallengeRows = RowRace + 1;
constexpr TChallenge RowChallenge[ChallengeRows] = {TChallenge::Sprint, TChallenge::Ultra, TChallenge::Daily,
                                                    TChallenge::Race};
const char* const RowLabel[] = {"Sprint:", "Ultra:", "Daily:", "Race your best:", "Handling:", "Statistics"};
const int32_t RowY[] = {170, 192, 214, 236, 270, 292};

// The label, where a click plays, from LabelLeft; the value, where a click shows the table, from
// SettingValueLeft.
constexpr int32_t LabelLeft = 140;
constexpr int32_t LabelWidth = SettingValueLeft - LabelLeft - 4;
constexpr int32_t ValueWidth = 110;
constexpr int32_t HintY = 440;
const std::string Hint = "Enter or click: play - Right: table - Escape: back";

const char* const NoRaceValue = "no play kept";

struct TRowHover {
    int32_t label = 0, value = 0;
};

// A row: the label (marked when it has the key focus), the value; which part the pointer is on.
TRowHover DrawRow(const TMenuFocus& focus, int32_t row, const std::string& value)
{
    const int32_t y = RowY[row];
    const TRowHover hover{MouseInRect(LabelLeft, y, LabelWidth, SettingRowHeight),
                          MouseInRect(SettingValueLeft, y, ValueWidth, SettingRowHeight)};
    FocusedItem(focus, row, hover.label || hover.value, LabelLeft, y);
    DrawFontText(RowLabel[row], LabelLeft, y, 0, 0);
    if (!value.empty())
        DrawFontText(value, SettingValueLeft, y, 0, 0);
    return hover;
}

// What the screen shows beside each challenge, read when it opens and after every play.
struct TBests {
    std::array<std::string, ChallengeRows> shown;
    bool raceable = false; // a play is kept to race
};

TBests ReadBests()
{
    TBests bests;
    const std::string today = ReplayDay(std::time(nullptr));
    for (int32_t row = 0; row < ChallengeRows; ++row)
        bests.shown[static_cast<size_t>(row)] = BestShown(LoadChallengeTable(RowChallenge[row]), today);
    bests.raceable = !BestReplay().empty();
    if (!bests.raceable)
        bests.shown[RowRace] = NoRaceValue;
    return bests;
}

std::string HandlingShown()
{
    const bool modern = CurrentSettings().Number(SettingChallengeHandling) != 0;
    return HandlingName(modern ? THandling::Modern : THandling::Classic);
}

// The best kept play as a race's start; false, with the reason, when it cannot be read.
bool RaceStart(TChallengeStart& start, std::string& error)
{
    start.challenge = TChallenge::Race;
    start.raced.emplace();
    return LoadReplay(BestReplay(), *start.raced, error);
}

} // namespace

void ChallengesScreen()
{
    TMenuFocus focus(RowCount);
    TBests bests = ReadBests();
    int32_t handlingSaved = CurrentSettings().Number(SettingChallengeHandling);
    const auto rows = [&](int32_t click, bool act) {
        int32_t chosen = -1;
        for (int32_t row = 0; row < ChallengeRows; ++row) {
            const TRowHover hover = DrawRow(focus, row, bests.shown[static_cast<size_t>(row)]);
            if (!act)
                continue;
            if (focus.Step(row) > 0 || (click && hover.value))
                chosen = ChallengeRows + row; // its table
            else if (focus.Chosen(row, click != 0, hover.label))
                chosen = row;
        }
        const TRowHover handling = DrawRow(focus, RowHandling, HandlingShown());
        if (act && (focus.Chosen(RowHandling, click != 0, handling.label || handling.value) || focus.Step(RowHandling))) {
            sound::Play(gamesounds.blipsound);
            CurrentSettings().SetNumber(SettingChallengeHandling, 1 - CurrentSettings().Number(SettingChallengeHandling));
        }
        const TRowHover statistics = DrawRow(focus, RowStatistics, {});
        if (act && focus.Chosen(RowStatistics, click != 0, statistics.label))
            chosen = RowStatistics;
        return chosen;
    };
    const auto still = [&] {
        DrawBackdrop();
        rows(0, false);
        ReturnClicked(0, focus, RowReturn);
    };
    // Kept when a challenge starts too, so a play that ends the program has it saved.
    const auto save = [&] {
        const int32_t handling = CurrentSettings().Number(SettingChallengeHandling);
        if (handling == handlingSaved)
            return;
        if (SaveSettings(TSettingFile::Game, {SettingChallengeHandling}))
            handlingSaved = handling;
        else
            ShowNotice("Could not save options", still);
    };
    for (;;) {
        const int32_t click = StartMenuFrame(focus);
        const int32_t chosen = rows(click, true);
        DrawHint(Hint, HintY, false);
        if (chosen >= 0) {
            sound::Play(gamesounds.blipsound);
            FinishFrame();
            if (chosen == RowStatistics) {
                StatisticsScreen();
            } else if (chosen >= ChallengeRows) {
                ChallengeTableScreen(RowChallenge[chosen - ChallengeRows]);
            } else if (RowChallenge[chosen] != TChallenge::Race) {
                save();
                PlayScreen({RowChallenge[chosen], std::nullopt});
            } else if (!bests.raceable) {
                ShowNotice("No play kept to race yet: play one first", still);
            } else {
                TChallengeStart start;
                std::string error;
                if (RaceStart(start, error)) {
                    save();
                    PlayScreen(start);
                } else {
                    ShowNotice("Cannot race: " + error, still);
                }
            }
            ResetMouseState();
            bests = ReadBests();
            continue;
        }
        if (MenuFrameLeaves(click, focus, RowReturn)) {
            save();
            break;
        }
    }
}
