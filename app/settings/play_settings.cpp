#include "app/settings/play_settings.h"

#include <vector>

static_assert(PaceCount == 3, "one word of the pace setting per pace, in order");

namespace {

// What Modern switches on; Classic is every one at its default.
constexpr int32_t ModernNextPieces = MaxNextPieces;

} // namespace

TPlayOptions PlayOptionsFrom(const TSettingValues& values)
{
    TPlayOptions options;
    options.nextPieces = values.Number(SettingNextPieces);
    options.landingShadow = values.On(SettingLandingShadow);
    options.hardDrop = values.On(SettingHardDrop);
    options.hold = values.On(SettingHold);
    options.pace = static_cast<TPace>(values.Number(SettingPace));
    options.playFigures = values.On(SettingPlayFigures);
    return options;
}

THandling HandlingOf(const TSettingValues& values)
{
    TSettingValues modern = values, classic = values;
    SetHandling(modern, THandling::Modern);
    SetHandling(classic, THandling::Classic);
    if (PlayOptionsFrom(values) == PlayOptionsFrom(classic))
        return THandling::Classic;
    if (PlayOptionsFrom(values) == PlayOptionsFrom(modern))
        return THandling::Modern;
    return THandling::Custom;
}

void SetHandling(TSettingValues& values, THandling handling)
{
    if (handling == THandling::Custom)
        return;
    const bool modern = handling == THandling::Modern;
    values.SetNumber(SettingNextPieces, modern ? ModernNextPieces : MinNextPieces);
    for (const TSettingId id : {SettingLandingShadow, SettingHardDrop, SettingHold, SettingPlayFigures})
        values.SetNumber(id, modern ? 1 : 0);
}

const char* HandlingName(THandling handling)
{
    switch (handling) {
    case THandling::Classic:
        return "Classic";
    case THandling::Modern:
        return "Modern";
    case THandling::Custom:
        return "Custom";
    }
    return "";
}

TPlayOptions ChallengePlayOptions(const TSettingValues& values)
{
    TSettingValues chosen = values;
    SetHandling(chosen, values.Number(SettingChallengeHandling) == 1 ? THandling::Modern : THandling::Classic);
    chosen.SetNumber(SettingPace, static_cast<int32_t>(TPace::Classic));
    return PlayOptionsFrom(chosen);
}

const std::vector<TSettingId>& PlayOptionSettings()
{
    static const std::vector<TSettingId> ids = {SettingNextPieces, SettingLandingShadow, SettingHardDrop,
                                                SettingHold,       SettingPace,          SettingPlayFigures};
    return ids;
}
