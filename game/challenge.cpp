#include "game/challenge.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "game/hash64.h"

namespace {

struct TChallengeNames {
    TChallenge challenge;
    std::string_view name;
    std::string_view title;
};

constexpr std::array<TChallengeNames, ChallengeKinds + 1> Names{{
    {TChallenge::None, "none", "Classic"},
    {TChallenge::Sprint, "sprint", "Sprint"},
    {TChallenge::Ultra, "ultra", "Ultra"},
    {TChallenge::Daily, "daily", "Daily"},
    {TChallenge::Race, "race", "Race your best"},
}};

const TChallengeNames& NamesOf(TChallenge challenge)
{
    return Names[static_cast<size_t>(challenge)];
}

bool ReadNumber(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool LeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

std::string_view ChallengeName(TChallenge challenge)
{
    return NamesOf(challenge).name;
}

bool ChallengeFromName(std::string_view name, TChallenge& challenge)
{
    for (const TChallengeNames& n : Names)
        if (n.name == name) {
            challenge = n.challenge;
            return true;
        }
    return false;
}

std::string_view ChallengeTitle(TChallenge challenge)
{
    return NamesOf(challenge).title;
}

bool GoalReached(TChallenge challenge, const TPlayFigures& figures)
{
    switch (challenge) {
    case TChallenge::Sprint:
        return figures.rows >= SprintRows;
    case TChallenge::Ultra:
        return figures.frames >= UltraFrames;
    default:
        return false;
    }
}

TChallengeResult ResultOf(TChallenge challenge, const TPlayFigures& figures, int32_t points)
{
    if (challenge == TChallenge::Sprint)
        return {figures.rows >= SprintRows, figures.frames};
    return {true, points};
}

bool BetterResult(TChallenge challenge, const TChallengeResult& a, const TChallengeResult& b)
{
    if (a.achieved != b.achieved)
        return a.achieved;
    if (!a.achieved)
        return false;
    return challenge == TChallenge::Sprint ? a.value < b.value : a.value > b.value;
}

std::string FormatResult(TChallenge challenge, int64_t value)
{
    return challenge == TChallenge::Sprint ? FormatPlayTime(value) : std::to_string(value);
}

std::string FormatPlayTime(int64_t frames)
{
    if (frames < 0)
        frames = 0;
    // Hundredths rounded down, so a time is never shown better than it was.
    const int64_t hundredths = frames * 100 / FramesPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld.%02lld", static_cast<long long>(hundredths / 6000),
                  static_cast<long long>(hundredths / 100 % 60), static_cast<long long>(hundredths % 100));
    return text;
}

bool ValidDay(std::string_view day)
{
    if (day.size() != 10 || day[4] != '-' || day[7] != '-')
        return false;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (day[i] < '0' || day[i] > '9')
            return false;
    int year = 0, month = 0, date = 0;
    ReadNumber(day.substr(0, 4), year);
    ReadNumber(day.substr(5, 2), month);
    ReadNumber(day.substr(8, 2), date);
    constexpr std::array<int, 12> Lengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 2000 || month < 1 || month > 12 || date < 1)
        return false;
    const int length = Lengths[static_cast<size_t>(month - 1)] + (month == 2 && LeapYear(year) ? 1 : 0);
    return date <= length;
}

int32_t DailySeed(std::string_view day)
{
    // Fixed for ever: every copy must draw that day's pieces from the same seed.
    THash64 hash;
    hash.AddText("brimstrand daily ");
    hash.AddText(day);
    return static_cast<int32_t>(hash.Value() & 0x7FFFFFFF);
}
