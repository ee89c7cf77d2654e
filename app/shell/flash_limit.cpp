#include "app/shell/flash_limit.h"

#include <algorithm>

#include "app/settings/registry.h"

namespace {

TFlashLimiter g_limiter;

} // namespace

float TFlashLimiter::Opacity(float flash)
{
    sinceOnset_ = std::min(sinceOnset_ + 1, FlashOnsetFrames);
    const bool begins = flash > previous_;
    previous_ = flash;
    if (begins && sinceOnset_ >= FlashOnsetFrames) {
        shown_ = std::min(flash, ReducedFlashOpacity);
        sinceOnset_ = 0;
    } else {
        // Between onsets the tint only fades, with the flash once the flash is the fainter.
        shown_ = std::max(0.0f, std::min(shown_, flash));
    }
    return shown_;
}

float FlashOpacity(float flash)
{
    // The limiter runs at Full too, so switching to Reduced mid-flash starts from the truth.
    const float limited = g_limiter.Opacity(flash);
    return CurrentSettings().On(SettingReducedFlashes) ? limited : flash;
}
