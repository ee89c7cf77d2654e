#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The input side of the high-score name entry beyond typing (TypeNameChar): keys already held
// when it opened type nothing until released (a player holding drop fast as the play is lost
// must not find "SSS" in the table), Backspace takes the last letter back, and a gamepad spells
// the name letter by letter.
class TNameEntryInput {
public:
    // Made before the key state is reset for the entry: it notes the keys held at that moment.
    TNameEntryInput();
    // One frame of input for the name and its cursor (1 to 3); true once the entry is finished.
    bool Update(std::string& name, int& cursor);

private:
    // Whether the character may come from a key held since the entry opened.
    bool FromHeldKey(int32_t c) const;
    void Type(std::string& name, int& cursor, int32_t c);
    void PadStep(std::string& name, int cursor, int32_t step) const;

    std::vector<int32_t> held_; // key codes, dropped as they are released
    int typed_ = 0;             // letters Backspace can still take back, at most 3
};

// The name entry page: a heading, the result a name is asked for, the request, and the name as
// typed so far.
void DrawNameEntry(const std::string& heading, const std::string& result, const std::string& name);
// Asks for a name of three letters on that page until Enter, a pad's Start or a pending
// termination finishes it, and returns it; input was made before the key state was reset for it.
std::string AskName(TNameEntryInput& input, const std::string& heading, const std::string& result);

// After a lost play: asks for a name when the points qualify, hands it to keepReplay (which saves
// the play's replay under it, so the table never points at a replay not yet written), then saves
// the new table. A pending termination finishes the entry with the letters shown.
void EnterHighScore(int32_t points, const std::function<void(const std::string&)>& keepReplay);
