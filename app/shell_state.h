#pragma once
#include <array>
#include <cstdint>
#include <memory>

class TImage;

// State the screens share across the run.
extern float titlefade; // fade of the title intro and menu, 0 to 1

// The turning background: one of backcount pictures, changed every backperiod frames with the
// old one fading out over the new.
constexpr int32_t backcount = 10;
constexpr int32_t backperiod = 6700;
extern int32_t backtimer;
extern int32_t backindex;
extern int32_t backprev;
extern float backfade;
extern float backangle;

// Pictures of the shell, loaded once at start-up; one that failed to load stays none and draws nothing.
extern std::array<std::shared_ptr<TImage>, backcount> backimages; // "gfx\back1.png".."gfx\back10.png", centred
extern std::shared_ptr<TImage> loadingimage;                     // "gfx\loading.png", centred
extern std::shared_ptr<TImage> logoimage;                        // "gfx\logo.png", centred
extern std::shared_ptr<TImage> pausedimage;                      // "gfx\paused.png", centred
extern std::shared_ptr<TImage> hudimage;                         // "gfx\hud.png": the frame picture, centred
extern std::array<std::shared_ptr<TImage>, 3> menuimages;        // "gfx\menu1.png".."gfx\menu3.png", centred
