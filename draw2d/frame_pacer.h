#pragma once
#include <cstdint>

// The clock and sleep a pacer runs on: ElapsedMillis / SleepMillis, or a test's own.
using TPacingClock = int32_t (*)();
using TPacingSleep = void (*)(int32_t ms);
struct TPacingTimer {
    TPacingClock now;
    TPacingSleep sleep;
};

// Whether frames paced at hertz are shown on the display's retrace: both are 60 Hz, give or take one.
bool ShowsFramesOnRetrace(int32_t hertz, int32_t displayHertz);

// The schedule of a window's frames at a given rate: steps of whole milliseconds whose carry keeps
// the long-run rate exact (16, 17, 17 ms at 60 Hz).
class TFramePacer {
public:
    // A rate of 0 or less paces nothing.
    void Start(int32_t hertz, int32_t now);
    int32_t Hertz() const { return hertz_; }
    bool Paces() const { return hertz_ > 0; }

    // Paced by the timer: sleeps until the frame is due; call before a swap that does not wait.
    void WaitForFrame(const TPacingTimer& timer);
    // Paced by the retrace: call after the swap. Sleeps only when the swap came back well before
    // the frame was due (it did not wait for the retrace) and lets the schedule follow a display
    // a little faster than the rate, up to 61 frames a second.
    void GuardSwap(const TPacingTimer& timer);

private:
    void Step();

    int32_t hertz_ = 0;
    int32_t ms_ = 0;     // whole milliseconds per frame
    int32_t rem_ = 0;    // the rest of a frame, in 1/hertz milliseconds
    int32_t carry_ = 0;
    int32_t due_ = 0;
    int32_t slide_credit_ = 0; // frames since the schedule last moved a millisecond earlier
};
