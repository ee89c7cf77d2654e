#pragma once
#include <string>
#include <vector>

struct TReplay;

// The one start-up sequence: drivers, window, loading screen, every picture and sound, the piece
// templates, the preferences; it ends in the title screen, or in the built-in player's plays,
// and never returns. Given a replay, it shows that instead and ends after it. Fatal conditions
// (no OpenAL driver, no window) are thrown as TRuntimeError before anything is drawn.
enum class TOpening { Title, BotPlay };
[[noreturn]] void StartUp(TOpening opening = TOpening::Title, const TReplay* watch = nullptr);
