#pragma once

// The intro, then the title menu for ever.
[[noreturn]] void TitleScreen();
