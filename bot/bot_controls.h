#pragma once

// One frame of the built-in player's controls: the five flags a person sets with the play keys.
struct TBotControls {
    bool rotleft = false;  // turn counter-clockwise
    bool rotright = false; // turn clockwise
    bool left = false;     // move one column left
    bool right = false;    // move one column right
    bool fast = false;     // drop fast

    bool operator==(const TBotControls&) const = default;
};
