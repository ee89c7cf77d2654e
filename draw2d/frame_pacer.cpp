#include "draw2d/frame_pacer.h"

namespace {

constexpr int32_t kRetraceHertzLow = 59;
constexpr int32_t kRetraceHertzHigh = 61;
// A swap back this much before its frame was due did not wait for the retrace; closer than this,
// it did and the display is a little ahead of the schedule (the clock counts whole milliseconds).
constexpr int32_t kEarlySwapMs = 3;
// The schedule moves one millisecond earlier at most every this many frames: enough to follow a
// 61 Hz display (a third of a millisecond a frame), never faster than one.
constexpr int32_t kFramesPerSlide = 3;

// Wrapping 32-bit arithmetic: the millisecond clock wraps.
int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapDiff(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

bool NearSixty(int32_t hertz) { return hertz >= kRetraceHertzLow && hertz <= kRetraceHertzHigh; }

} // namespace

bool ShowsFramesOnRetrace(int32_t hertz, int32_t displayHertz) { return NearSixty(hertz) && NearSixty(displayHertz); }

void TFramePacer::Start(int32_t hertz, int32_t now)
{
    hertz_ = hertz > 0 ? hertz : 0;
    ms_ = hertz_ > 0 ? 1000 / hertz_ : 0;
    rem_ = 1000 - ms_ * hertz_;
    carry_ = 0;
    due_ = now;
    slide_credit_ = 0;
}

void TFramePacer::Step()
{
    due_ = WrapAdd(due_, ms_);
    carry_ += rem_;
    if (carry_ >= hertz_) {
        carry_ -= hertz_;
        due_ = WrapAdd(due_, 1);
    }
}

void TFramePacer::WaitForFrame(const TPacingTimer& timer)
{
    if (!Paces())
        return;
    Step();
    const int32_t now = timer.now();
    const int32_t wait = WrapDiff(due_, now);
    if (wait > 0)
        timer.sleep(wait);
    else
        due_ = now; // a late frame restarts the schedule; missed frames are not made up
}

void TFramePacer::GuardSwap(const TPacingTimer& timer)
{
    if (!Paces())
        return;
    Step();
    const int32_t now = timer.now();
    const int32_t lead = WrapDiff(due_, now);
    if (slide_credit_ < kFramesPerSlide)
        ++slide_credit_;
    if (lead < 0) {
        due_ = now; // the display is slower than the rate: it sets the pace
    } else if (lead > kEarlySwapMs) {
        timer.sleep(lead);
    } else if (lead > 0 && slide_credit_ == kFramesPerSlide) {
        due_ = WrapAdd(due_, -1);
        slide_credit_ = 0;
    }
}
