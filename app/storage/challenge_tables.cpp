#include "app/storage/challenge_tables.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>

#include "app/storage/datafile.h"
#include "app/storage/signed_text.h"
#include "system/filelock.h"

namespace {

constexpr std::string_view Magic = "brimstrand-challenge-table";
constexpr std::string_view FormatVersion = "1";
constexpr std::string_view NoDay = "-";
constexpr size_t MaxTableBytes = 64 * 1024;
constexpr int64_t MaxResult = std::numeric_limits<int32_t>::max();

bool Daily(const TChallengeTable& table) { return table.challenge == TChallenge::Daily; }

bool Better(TChallenge challenge, const TChallengeEntry& a, const TChallengeEntry& b)
{
    return BetterResult(challenge, {true, a.result}, {true, b.result});
}

// Newest day first, then the best; equal ones keep their order.
bool Before(TChallenge challenge, const TChallengeEntry& a, const TChallengeEntry& b)
{
    if (a.day != b.day)
        return a.day > b.day;
    return Better(challenge, a, b);
}

bool ValidDate(std::string_view date)
{
    return date.size() == 20 && ValidDay(date.substr(0, 10)) && date[10] == 'T' && date[19] == 'Z';
}

bool ReadResult(std::string_view word, int64_t& value)
{
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc{} && end == word.data() + word.size() && value >= 0 && value <= MaxResult &&
           (word.size() == 1 || word[0] != '0');
}

// Keeps ChallengeTableEntries a day and the DailyDaysKept newest days; the entries are in order.
void Trim(TChallengeTable& table)
{
    std::vector<TChallengeEntry> kept;
    size_t days = 0, ofDay = 0;
    for (size_t i = 0; i < table.entries.size(); ++i) {
        const bool newDay = i == 0 || table.entries[i].day != table.entries[i - 1].day;
        if (newDay) {
            ++days;
            ofDay = 0;
        }
        if (days <= (Daily(table) ? DailyDaysKept : 1) && ofDay++ < ChallengeTableEntries)
            kept.push_back(table.entries[i]);
    }
    table.entries = std::move(kept);
}

// Reads the file under the lock held by the caller; false when it cannot be read.
bool ReadLocked(TChallenge challenge, TChallengeTable& table)
{
    table = TChallengeTable{challenge, {}};
    return ReadOwnTextFile(
        ChallengeTableFile(challenge), MaxTableBytes,
        [&](std::string_view text, std::string& error) {
            if (ParseChallengeTable(text, challenge, table, error))
                return true;
            table = TChallengeTable{challenge, {}};
            return false;
        },
        "the table starts again");
}

} // namespace

bool ValidEntryName(std::string_view name)
{
    if (name.empty() || name.size() > 3)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c <= '~'; });
}

std::string ChallengeTableFile(TChallenge challenge)
{
    return DataFilePath(std::string(ChallengeName(challenge)) + ".table");
}

std::string WriteChallengeTable(const TChallengeTable& table)
{
    std::string body = std::string(Magic) + " " + std::string(FormatVersion) + " " +
                       std::string(ChallengeName(table.challenge)) + "\n";
    for (const TChallengeEntry& e : table.entries)
        body += "entry " + std::to_string(e.result) + " " + e.name + " " + e.date + " " +
                (e.day.empty() ? std::string(NoDay) : e.day) + "\n";
    return SignedText(body);
}

bool ParseChallengeTable(std::string_view text, TChallenge challenge, TChallengeTable& table, std::string& error)
{
    std::vector<std::vector<std::string>> lines;
    if (!ReadSignedText(text, lines, error))
        return false;
    table = TChallengeTable{challenge, {}};
    if (lines.empty() || lines[0].size() != 3 || lines[0][0] != Magic) {
        error = "it is not a challenge table";
        return false;
    }
    if (lines[0][1] != FormatVersion) {
        error = "table format " + lines[0][1] + " is not supported";
        return false;
    }
    if (lines[0][2] != ChallengeName(challenge)) {
        error = "it holds the table of another challenge";
        return false;
    }
    const size_t most = ChallengeTableEntries * (challenge == TChallenge::Daily ? DailyDaysKept : 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto& w = lines[i];
        TChallengeEntry e;
        const bool dayFits = challenge == TChallenge::Daily ? ValidDay(w.size() == 5 ? w[4] : "") : w.size() == 5 && w[4] == NoDay;
        if (w.size() != 5 || w[0] != "entry" || !ReadResult(w[1], e.result) || !ValidEntryName(w[2]) || !ValidDate(w[3]) ||
            !dayFits) {
            error = "line " + std::to_string(i + 1) + " is not an entry of this table";
            return false;
        }
        e.name = w[2];
        e.date = w[3];
        e.day = challenge == TChallenge::Daily ? w[4] : "";
        table.entries.push_back(e);
    }
    if (table.entries.size() > most) {
        error = "it holds more entries than a table keeps";
        return false;
    }
    // Another order is not damage: the entries are put in the table's.
    std::stable_sort(table.entries.begin(), table.entries.end(),
                     [&](const TChallengeEntry& a, const TChallengeEntry& b) { return Before(challenge, a, b); });
    Trim(table);
    return true;
}

std::vector<TChallengeEntry> EntriesOn(const TChallengeTable& table, const std::string& day)
{
    if (!Daily(table))
        return table.entries;
    std::vector<TChallengeEntry> entries;
    for (const TChallengeEntry& e : table.entries)
        if (e.day == day)
            entries.push_back(e);
    return entries;
}

bool QualifiesForChallengeTable(const TChallengeTable& table, const TChallengeEntry& entry)
{
    TChallengeTable tried = table;
    return InsertChallengeEntry(tried, entry) >= 0;
}

int InsertChallengeEntry(TChallengeTable& table, const TChallengeEntry& entry)
{
    std::vector<TChallengeEntry>& all = table.entries;
    const auto at = std::find_if(all.begin(), all.end(),
                                 [&](const TChallengeEntry& e) { return Before(table.challenge, entry, e); });
    // Its place among the entries of its day; one past the last place gets none.
    const auto index = std::count_if(all.begin(), at, [&](const TChallengeEntry& e) { return e.day == entry.day; });
    const auto ofDay = std::count_if(all.begin(), all.end(), [&](const TChallengeEntry& e) { return e.day == entry.day; });
    constexpr auto Places = static_cast<std::ptrdiff_t>(ChallengeTableEntries);
    if (index >= Places) {
        // Equal to the day's last entry: it takes that place, as in the main table.
        const auto last = std::find_if(std::make_reverse_iterator(at), all.rend(),
                                       [&](const TChallengeEntry& e) { return e.day == entry.day; });
        if (Better(table.challenge, *last, entry))
            return -1;
        *last = entry;
        return static_cast<int>(Places - 1);
    }
    const auto placed = all.insert(at, entry);
    if (ofDay >= Places) {
        // The day's former last entry leaves.
        auto last = placed;
        for (auto it = placed + 1; it != all.end(); ++it)
            if (it->day == entry.day)
                last = it;
        all.erase(last);
    }
    const size_t before = all.size();
    Trim(table);
    // An old day's entry may fall out with the days the table keeps.
    if (table.entries.size() < before && EntriesOn(table, entry.day).empty())
        return -1;
    return static_cast<int>(index);
}

TChallengeTable LoadChallengeTable(TChallenge challenge)
{
    const TFileLock lock(DataLockFile());
    TChallengeTable table;
    ReadLocked(challenge, table);
    return table;
}

bool RecordChallengeEntry(TChallenge challenge, const TChallengeEntry& entry, TChallengeTable& table)
{
    const std::string path = ChallengeTableFile(challenge);
    const TFileLock lock(DataLockFile());
    if (!ReadLocked(challenge, table)) {
        ReportSaveFailure(path, "the table there could not be read");
        return false;
    }
    if (InsertChallengeEntry(table, entry) < 0)
        return true;
    const std::string text = WriteChallengeTable(table);
    return SaveDataFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}
