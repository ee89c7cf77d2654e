#pragma once
#include <string_view>

// How fast a play runs: frames per row at its start, and the fastest the clearing speed-up goes.
enum class TPace { Classic, Brisk, Rapid };
constexpr int PaceCount = 3;

struct TPaceRule {
    float startWait;   // frames between gravity steps when the play starts
    float fastestWait; // the row scan never lets the wait drop below this
};

TPaceRule PaceRule(TPace pace);
// The lower-case word a replay writes for the pace, and back; false for a word that names none.
std::string_view PaceName(TPace pace);
bool PaceFromName(std::string_view name, TPace& pace);

constexpr int MinNextPieces = 0;
constexpr int MaxNextPieces = 3;

// What a player may switch on for a play. The defaults are the game as it always was: the same
// frames, the same random draws, the same pictures.
struct TPlayOptions {
    int nextPieces = MinNextPieces; // coming pieces made ahead and shown
    bool landingShadow = false;     // where the falling piece would land, drawn faintly
    bool hardDrop = false;          // the hard drop control lands the piece at once
    bool hold = false;              // the hold control swaps the piece with the hold slot
    TPace pace = TPace::Classic;
    bool playFigures = false;       // rows, pieces, time and pieces a second drawn under the score

    bool operator==(const TPlayOptions&) const = default;
    bool AllDefault() const { return *this == TPlayOptions{}; }
    // Every value within its range (a replay may hold anything).
    bool Valid() const;
};
