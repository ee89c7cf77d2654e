#include "app/screens/challenge_table_screen.h"

#include <ctime>
#include <optional>
#include <vector>

#include "app/screens/layout.h"
#include "app/screens/table.h"
#include "app/shell/text.h"
#include "app/storage/challenge_tables.h"
#include "app/storage/replay_store.h"
#include "draw2d/draw2d.h"

std::string PlayResultLine(TChallenge challenge, const TChallengeResult& result)
{
    return "This play: " + (result.achieved ? FormatResult(challenge, result.value) : std::string("no time"));
}

namespace {

void ShowChallengeTable(TChallenge challenge, const std::optional<TChallengeResult>& played)
{
    const std::string today = ReplayDay(std::time(nullptr));
    const std::vector<TChallengeEntry> entries = EntriesOn(LoadChallengeTable(challenge), today);
    TTableReplays replays;
    for (const TChallengeEntry& entry : entries)
        replays.push_back(FindReplayAt(entry.date, entry.name));
    const std::string title = std::string(ChallengeTitle(challenge)) + (challenge == TChallenge::Daily ? " " + today : "");
    ShowTableScreen(replays, [&] {
        DrawFontText(title, ChallengeTableTitleLeft, ReturnTop, 0, 0);
        for (size_t i = 0; i < entries.size(); ++i) {
            const int32_t top = TableTop + TableRowPitch * static_cast<int32_t>(i);
            DrawFontText(entries[i].name, TableNameLeft, top, 0, 0);
            DrawFontText(FormatResult(challenge, entries[i].result), TableScoreLeft, top, 0, 0);
        }
        if (entries.empty())
            DrawFontText("No entries yet", WindowWidth / 2, TableTop, 1, 0);
        if (played)
            DrawFontText(PlayResultLine(challenge, *played), WindowWidth / 2, ChallengeTableResultY, 1, 0);
    });
}

} // namespace

void ChallengeTableScreen(TChallenge challenge) { ShowChallengeTable(challenge, std::nullopt); }

void ChallengeTableScreen(TChallenge challenge, const TChallengeResult& played) { ShowChallengeTable(challenge, played); }
