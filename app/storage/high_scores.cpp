#include "app/storage/high_scores.h"

#include <cstring>
#include <vector>

#include "app/storage/datafile.h"
#include "system/filelock.h"
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
