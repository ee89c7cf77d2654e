#include "game/play_options.h"

#include <array>

namespace {

constexpr std::array<TPaceRule, PaceCount> PaceRules = {{{48.0f, 30.0f}, {30.0f, 12.0f}, {16.0f, 4.0f}}};
constexpr std::array<std::string_view, PaceCount> PaceNames = {"classic", "brisk", "rapid"};

} // namespace

TPaceRule PaceRule(TPace pace) { return PaceRules[static_cast<size_t>(pace)]; }

std::string_view PaceName(TPace pace) { return PaceNames[static_cast<size_t>(pace)]; }

bool PaceFromName(std::string_view name, TPace& pace)
{
    for (size_t i = 0; i < PaceNames.size(); ++i) {
        if (PaceNames[i] == name) {
            pace = static_cast<TPace>(i);
            return true;
        }
    }
    return false;
}

bool TPlayOptions::Valid() const
{
    const int p = static_cast<int>(pace);
    return nextPieces >= MinNextPieces && nextPieces <= MaxNextPieces && p >= 0 && p < PaceCount;
}
