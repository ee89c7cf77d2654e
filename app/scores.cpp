#include "app/scores.h"

#include <cstring>
#include <vector>

#include "app/datafile.h"
#include "app/layout.h"
#include "app/name_entry.h"
#include "app/notice.h"
#include "app/replay_screen.h"
#include "app/screens.h"
#include "app/text.h"
#include "draw2d/draw2d.h"
#include "system/filelock.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/quarantine.h"
#include "system/stream.h"

THighScores highscores;

namespace {

const char NameAlphabet[] = "QWERTYUIOPASDFGHJKLZXCVBNM-!?@";

int32_t UpperAscii(int32_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(UpperAscii(static_cast<unsigned char>(c)));
    return text;
}

constexpr size_t TableBytes = 70;

void ParseTable(const std::vector<uint8_t>& bytes)
{
    TRamStream stream(bytes, 1, 0);
    for (int i = 0; i < 10; ++i) {
        highscores.scores[i] = stream.ReadInt();
        highscores.names[i] = UpperAscii(stream.ReadString(3));
    }
}

void DefaultTable()
{
    for (int i = 0; i < 10; ++i) {
        highscores.scores[i] = 2500 - 250 * i;
        highscores.names[i] = "DEF";
    }
}

// Fills the table from the file, under the data folder's lock. A missing or damaged file (moved
// aside) is replaced by the defaults; one that cannot be read leaves the defaults in play and is
// not written over, and the result is false.
bool ReadTableLocked()
{
    DataFileRead file = ReadDataFile(HighScoreFile(), TableBytes);
    switch (file.state) {
    case DataFileState::Valid:
        ParseTable(file.bytes);
        return true;
    case DataFileState::Unreadable:
        ReportUnreadable(HighScoreFile(), file.reason);
        DefaultTable();
        return false;
    case DataFileState::Damaged:
        MoveAside(HighScoreFile());
        break;
    case DataFileState::Missing:
        break;
    }
    ResetScores();
    return true;
}

// The underline under the letter the next key replaces: just below the name's baseline, shown
// and hidden for a third of a second each so it reads as a cursor.
constexpr int32_t NameCursorDrop = 2;
constexpr int NameCursorBlinkFrames = 20;
bool NameCursorShown(int frame) { return (frame / NameCursorBlinkFrames) % 2 == 0; }

} // namespace

void LoadScores()
{
    const TFileLock lock(DataLockFile());
    ReadTableLocked();
}

bool SaveScores()
{
    TRamStream out({});
    for (int i = 0; i < 10; ++i) {
        out.WriteInt(highscores.scores[i]);
        // Every record keeps its 3 bytes, so a short name cannot shift the records after it.
        std::string name = highscores.names[i].substr(0, 3);
        name.resize(3, ' ');
        out.WriteString(name);
    }
    return SaveDataFile(HighScoreFile(), out.Data());
}

void ResetScores()
{
    DefaultTable();
    SaveScores();
}

bool RecordHighScore(int32_t points, const std::string& name)
{
    const TFileLock lock(DataLockFile());
    if (!ReadTableLocked()) {
        ReportSaveFailure(HighScoreFile(), "the table there could not be read");
        return false;
    }
    // Another copy may have filled the table with better scores meanwhile.
    if (!QualifiesForTable(points))
        return true;
    InsertHighScore(points, name);
    return SaveScores();
}

bool QualifiesForTable(int32_t points) { return points >= highscores.scores[9]; }

int InsertHighScore(int32_t points, const std::string& name)
{
    int pos = 9;
    for (int j = 0; j < 10; ++j) {
        if (highscores.scores[j] < points) {
            pos = j;
            break;
        }
    }
    for (int j = 8; j >= pos; --j) {
        highscores.scores[j + 1] = highscores.scores[j];
        highscores.names[j + 1] = highscores.names[j];
    }
    highscores.scores[pos] = points;
    highscores.names[pos] = name;
    return pos;
}

bool TypeNameChar(std::string& name, int& cursor, int32_t c)
{
    if (c == CharEnter)
        return true;
    const int32_t u = UpperAscii(c);
    if (u > 0 && u < 128 && std::strchr(NameAlphabet, u)) {
        name[cursor - 1] = static_cast<char>(u);
        cursor = cursor == 3 ? 1 : cursor + 1;
    }
    return false;
}

std::string EnterHighScore(int32_t points)
{
    TNameEntryInput input;
    ResetKeyState();
    LoadScores();
    if (!QualifiesForTable(points))
        return {};
    std::string name = "AAA";
    int cursor = 1;
    const int32_t centre = GraphicsWidth() / 2;
    const auto draw = [&] {
        DrawFontText("High score!", centre, 220, 1, 0);
        DrawFontText(std::to_string(points), centre, 240, 1, 0);
        DrawFontText("Please enter your name.", centre, 280, 1, 0);
        DrawFontText(name, centre, 310, 1, 0);
    };
    for (int frame = 0;; ++frame) {
        // No background, frame or music here: the play track plays on.
        Cls();
        draw();
        if (NameCursorShown(frame))
            DrawFontText("_", FontCharLeft(name, cursor - 1, centre, 1, 0), 310 + NameCursorDrop, 0, 0);
        if (input.Update(name, cursor))
            break;
        EndFrame();
        if (IsKeyDown(VK_ESCAPE) || TakeTerminateRequest())
            EndProgram();
    }
    if (!RecordHighScore(points, name))
        ShowNotice("Could not save high score", draw);
    ResetKeyState();
    return name;
}

void ScoreScreen()
{
    LoadScores();
    TTableReplays replays = FindTableReplays();
    TMenuFocus focus(1);
    for (;;) {
        focus.Update();
        Cls();
        const int32_t click = TakeMouseHits(MouseLeft);
        DrawBackdrop();
        for (int i = 0; i < 10; ++i) {
            DrawFontText(highscores.names[i], TableNameLeft, TableTop + TableRowPitch * i, 0, 0);
            DrawFontText(std::to_string(highscores.scores[i]), TableScoreLeft, TableTop + TableRowPitch * i, 0, 0);
        }
        if (ShowTableReplays(replays, click))
            continue;
        if (ReturnClicked(click, focus, 0))
            break;
        FinishFrame();
        if (EscapeToMenu() || focus.Back())
            break;
    }
}
