#pragma once

// One frame's input to the falling piece, handed to game::DoPiece. The keyboard sampling fills it
// in play; anything else that plays (a recording, a built-in player) can fill it instead. Only
// zero or non-zero matters, so several presses within one frame count as one.
struct TControls {
    int keyrotleft = 0;  // turn counter-clockwise
    int keyrotright = 0; // turn clockwise
    int keyleft = 0;     // move one column left
    int keyright = 0;    // move one column right
    int keyfast = 0;     // drop fast while set
    int keyharddrop = 0; // land the piece at once (only with the hard drop option)
    int keyhold = 0;     // swap the piece with the hold slot (only with the hold option)

    bool operator==(const TControls&) const = default;
};
