#include "app/screens/challenge_play.h"

#include <cstdlib>
#include <ctime>

#include "app/screens/challenge_table_screen.h"
#include "app/screens/game_over.h"
#include "app/screens/layout.h"
#include "app/screens/name_entry.h"
#include "app/screens/notice.h"
#include "app/screens/play_recording.h"
#include "app/settings/play_settings.h"
#include "app/shell/text.h"
#include "app/storage/challenge_tables.h"
#include "app/storage/replay_store.h"
#include "draw2d/draw2d.h"
#include "game/game.h"
#include "system/input.h"
#include "system/termination.h"

std::string RaceLeadText(int32_t lead)
{
    if (lead == 0)
        return "Level";
    return (lead > 0 ? "Ahead " : "Behind ") + std::to_string(std::abs(lead));
}

namespace {

// Asks for a name when the result makes the challenge's table, keeps the replay under it, then
// enters it in the table.
void EnterChallengeResult(TChallenge challenge, const TChallengeEntry& played, TPlayRecording& recording)
{
    TNameEntryInput input;
    ResetKeyState();
    if (!QualifiesForChallengeTable(LoadChallengeTable(challenge), played))
        return;
    const std::string heading = std::string(ChallengeTitle(challenge)) + ": a place in the table!";
    const std::string result = FormatResult(challenge, played.result);
    TChallengeEntry entry = played;
    entry.name = AskName(input, heading, result);
    recording.Save(entry.name);
    TChallengeTable table;
    if (!RecordChallengeEntry(challenge, entry, table) && !TTerminationDeferral::Pending())
        ShowNotice("Could not save the table", [&] { DrawNameEntry(heading, result, entry.name); });
    ResetKeyState();
}

} // namespace

TChallengePlay::TChallengePlay(const TChallengeStart& start)
    : challenge_(start.challenge),
      day_(start.challenge == TChallenge::Daily ? ReplayDay(std::time(nullptr)) : std::string())
{
    if (start.challenge == TChallenge::Race && start.raced)
        race_.emplace(*start.raced);
}

void TChallengePlay::Begin(game& play) const
{
    if (!Active()) {
        play.SetOptions(PlayOptionsFrom(CurrentSettings()));
        return;
    }
    play.SetOptions(ChallengePlayOptions());
    play.SetChallenge(challenge_, day_);
}

void TChallengePlay::AfterFrame(const game& play)
{
    if (!race_)
        return;
    race_->Update(frame_, play.points);
    SetAlpha(1);
    DrawShadowedLine(RaceLeadText(race_->Lead(frame_, play.points)), RaceLineCentre, RaceLineTop, RaceLineScale);
    if (race_->Passed()) {
        DrawShadowedLine("Passed at", RaceLineCentre, RaceLineTop + RaceLinePitch, RaceLineScale);
        DrawShadowedLine(FormatPlayTime(race_->PassedAt() + 1), RaceLineCentre, RaceLineTop + 2 * RaceLinePitch,
                         RaceLineScale);
    }
    ++frame_;
}

void TChallengePlay::Finish(const game& play, TPlayRecording& recording, const std::function<void()>& drawBoard) const
{
    const TChallengeResult result = ResultOf(challenge_, play.figures, play.points);
    if (play.lost)
        ShowGameOver(play.points, play.figures, drawBoard);
    else
        ShowPlayEnd(std::string(ChallengeTitle(challenge_)), "Result: " + FormatResult(challenge_, result.value),
                    play.figures, drawBoard);
    if (result.achieved)
        EnterChallengeResult(challenge_, {result.value, {}, ReplayDate(recording.Ended()), day_}, recording);
    if (TTerminationDeferral::Pending())
        return;
    ChallengeTableScreen(challenge_, result);
}
