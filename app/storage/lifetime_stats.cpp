#include "app/storage/lifetime_stats.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "app/storage/datafile.h"
#include "app/storage/signed_text.h"
#include "system/filelock.h"

namespace {

constexpr std::string_view Magic = "brimstrand-statistics";
constexpr std::string_view FormatVersion = "1";
constexpr std::string_view NoBest = "-";
constexpr size_t MaxStatisticsBytes = 16 * 1024;
// Counts stop here rather than wrap; no lifetime of play comes near it.
constexpr int64_t MaxCount = std::numeric_limits<int64_t>::max() / 4;
constexpr std::array<std::string_view, PowerUpKinds + 1> PowerUpNames{"", "slow-down", "blast", "collapse", "flip"};
constexpr std::array<TChallenge, ChallengeKinds> Challenges{TChallenge::Sprint, TChallenge::Ultra, TChallenge::Daily,
                                                            TChallenge::Race};

void Add(int64_t& count, int64_t more) { count = std::min(MaxCount, count + std::max<int64_t>(0, more)); }

bool ReadCount(std::string_view word, int64_t& value)
{
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc{} && end == word.data() + word.size() && value >= 0 && value <= MaxCount;
}

// "key=value" with a count for value.
bool ReadPair(std::string_view word, std::string_view key, int64_t& value)
{
    return word.size() > key.size() && word.substr(0, key.size()) == key && word[key.size()] == '=' &&
           ReadCount(word.substr(key.size() + 1), value);
}

// Reads the file under the lock held by the caller; false when it cannot be read.
bool ReadLocked(TLifetimeStats& stats)
{
    stats = {};
    return ReadOwnTextFile(
        StatisticsFile(), MaxStatisticsBytes,
        [&](std::string_view text, std::string& error) {
            if (ParseStatistics(text, stats, error))
                return true;
            stats = {};
            return false;
        },
        "the statistics start again");
}

} // namespace

void AddPlay(TLifetimeStats& stats, const TPlayFigures& figures, TChallenge challenge, const TChallengeResult& result)
{
    Add(stats.plays, 1);
    Add(stats.frames, figures.frames);
    Add(stats.rows, figures.rows);
    Add(stats.pieces, figures.pieces);
    for (int kind = BlockSlowDown; kind <= BlockFlip; ++kind)
        Add(stats.powerUps[static_cast<size_t>(kind)], figures.powerUps[static_cast<size_t>(kind)]);
    stats.bestChain = std::max<int64_t>(stats.bestChain, figures.longestChain);
    if (challenge == TChallenge::None)
        return;
    TChallengeRecord& record = stats.challenges[static_cast<size_t>(challenge)];
    Add(record.tries, 1);
    if (BetterResult(challenge, result, record.best))
        record.best = result;
}

std::string WriteStatistics(const TLifetimeStats& s)
{
    std::string body = std::string(Magic) + " " + std::string(FormatVersion) + "\n";
    body += "plays " + std::to_string(s.plays) + "\n";
    body += "frames " + std::to_string(s.frames) + "\n";
    body += "rows " + std::to_string(s.rows) + "\n";
    body += "pieces " + std::to_string(s.pieces) + "\n";
    body += "power-ups";
    for (int kind = BlockSlowDown; kind <= BlockFlip; ++kind)
        body += " " + std::string(PowerUpNames[static_cast<size_t>(kind)]) + "=" +
                std::to_string(s.powerUps[static_cast<size_t>(kind)]);
    body += "\nbest-chain " + std::to_string(s.bestChain) + "\n";
    for (const TChallenge c : Challenges) {
        const TChallengeRecord& r = s.challenges[static_cast<size_t>(c)];
        body += "challenge " + std::string(ChallengeName(c)) + " tries=" + std::to_string(r.tries) +
                " best=" + (r.best.achieved ? std::to_string(r.best.value) : std::string(NoBest)) + "\n";
    }
    return SignedText(body);
}

bool ParseStatistics(std::string_view text, TLifetimeStats& stats, std::string& error)
{
    std::vector<std::vector<std::string>> lines;
    if (!ReadSignedText(text, lines, error))
        return false;
    stats = {};
    const size_t expected = 7 + Challenges.size();
    if (lines.size() != expected || lines[0] != std::vector<std::string>{std::string(Magic), std::string(FormatVersion)}) {
        error = lines.empty() || lines[0].empty() || lines[0][0] != Magic ? "it is not a statistics file"
                                                                            : "it is not statistics format 1";
        return false;
    }
    const auto fail = [&](size_t line) {
        error = "line " + std::to_string(line + 1) + " is not what the file holds there";
        return false;
    };
    const std::pair<const char*, int64_t*> counts[] = {
        {"plays", &stats.plays}, {"frames", &stats.frames}, {"rows", &stats.rows}, {"pieces", &stats.pieces}};
    for (size_t i = 0; i < 4; ++i)
        if (lines[i + 1].size() != 2 || lines[i + 1][0] != counts[i].first || !ReadCount(lines[i + 1][1], *counts[i].second))
            return fail(i + 1);
    const auto& p = lines[5];
    if (p.size() != PowerUpKinds + 1 || p[0] != "power-ups")
        return fail(5);
    for (int kind = BlockSlowDown; kind <= BlockFlip; ++kind)
        if (!ReadPair(p[static_cast<size_t>(kind)], PowerUpNames[static_cast<size_t>(kind)], stats.powerUps[static_cast<size_t>(kind)]))
            return fail(5);
    if (lines[6].size() != 2 || lines[6][0] != "best-chain" || !ReadCount(lines[6][1], stats.bestChain))
        return fail(6);
    for (size_t i = 0; i < Challenges.size(); ++i) {
        const auto& w = lines[7 + i];
        TChallengeRecord& r = stats.challenges[static_cast<size_t>(Challenges[i])];
        if (w.size() != 4 || w[0] != "challenge" || w[1] != ChallengeName(Challenges[i]) || !ReadPair(w[2], "tries", r.tries))
            return fail(7 + i);
        if (w[3] != "best=" + std::string(NoBest)) {
            if (!ReadPair(w[3], "best", r.best.value))
                return fail(7 + i);
            r.best.achieved = true;
        }
    }
    return true;
}

TLifetimeStats LoadStatistics()
{
    const TFileLock lock(DataLockFile());
    TLifetimeStats stats;
    ReadLocked(stats);
    return stats;
}

bool RecordPlayStatistics(const TPlayFigures& figures, TChallenge challenge, const TChallengeResult& result)
{
    const TFileLock lock(DataLockFile());
    TLifetimeStats stats;
    if (!ReadLocked(stats)) {
        ReportSaveFailure(StatisticsFile(), "the statistics there could not be read");
        return false;
    }
    AddPlay(stats, figures, challenge, result);
    const std::string text = WriteStatistics(stats);
    return SaveDataFile(StatisticsFile(), std::vector<uint8_t>(text.begin(), text.end()));
}
