#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "game/assets.h"

class TImage;

// The turning background: one of backcount pictures, changed every backperiod frames with the
// old one fading out over the new.
constexpr int32_t backcount = AssetCount(TAsset::Back);
constexpr int32_t backperiod = 6700;
struct TBackgroundClock {
    int32_t backtimer = 0; // frames until the next picture
    int32_t backindex = 0; // the picture shown
    int32_t backprev = 0;  // the picture fading out
    float backfade = 0;    // its opacity
    float backangle = 0;   // rotation of both, degrees

    void Reset() { *this = TBackgroundClock{}; }
};

extern TBackgroundClock background;

// Pictures of the shell, loaded once at start-up; one that failed to load stays none and draws nothing.
struct TShellPictures {
    std::array<std::shared_ptr<TImage>, backcount> backimages; // "gfx\back1.png" and on, centred
    std::shared_ptr<TImage> loadingimage;                     // "gfx\loading.png", centred
    std::shared_ptr<TImage> logoimage;                        // "gfx\logo.png", centred
    std::shared_ptr<TImage> pausedimage;                      // "gfx\paused.png", centred
    std::shared_ptr<TImage> hudimage;                         // "gfx\hud.png": the frame picture, centred
    std::array<std::shared_ptr<TImage>, AssetCount(TAsset::Menu)> menuimages;        // "gfx\menu1.png".."gfx\menu4.png", centred
    // "gfx\options.png": 78 cells of 12 by 16 pixels, handle at the top left.
    std::shared_ptr<TImage> fontimage;
};

extern TShellPictures shellpictures;
