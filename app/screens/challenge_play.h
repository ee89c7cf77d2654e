#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/challenge.h"
#include "game/race.h"
#include "game/replay.h"

class game;
class TPlayRecording;

// What the play screen starts: an ordinary play, or a challenge; a race brings the recorded play
// it races.
struct TChallengeStart {
    TChallenge challenge = TChallenge::None;
    std::optional<TReplay> raced;
};

// The words of the race line: "Ahead 120", "Behind 40" or "Level".
std::string RaceLeadText(int32_t lead);

// The challenge side of a play in the play screen: its options and goal at the start, the race
// line on every frame, and once it is over its result through the name entry into the
// challenge's table, which is then shown. Does nothing for an ordinary play.
class TChallengePlay {
public:
    explicit TChallengePlay(const TChallengeStart& start);
    bool Active() const { return challenge_ != TChallenge::None; }
    // Before the first piece: the play options (the challenge's own for a challenge) and the goal.
    void Begin(game& play) const;
    // After each play frame is drawn, before it is shown.
    void AfterFrame(const game& play);
    // Once the play is over and its replay saved without a name: the game-over view after a
    // loss, the name entry when the result makes the table, then the table.
    void Finish(const game& play, TPlayRecording& recording, const std::function<void()>& drawBoard) const;

private:
    TChallenge challenge_;
    std::string day_; // a daily play's, today
    std::optional<TRace> race_;
    int64_t frame_ = 0; // play frames so far
};
