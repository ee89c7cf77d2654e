#pragma once
#include <cstdint>

// What the screens draw under their own items: the turning background, the frame picture, the
// logo, the flash, and the music that goes with them.

// Every screen with the background lets Tab switch Visibility first, so the frame already shows
// the new setting.
void ToggleVisibilityOnTab();
void DrawBackground();         // the turning background with its clock
enum TMusicTrack : int32_t { MusicPlay = 0, MusicTitle = 1 };
void PlayMusic(TMusicTrack which); // keeps that track playing and the other stopped
void DrawFlash();              // the full-window flash
void DrawFramePicture();       // "gfx\hud.png", dimmed at Low visibility
void DrawLogo();               // the logo above the items of the title and menu screens
void SetCaptionColor();        // the tint of the "PAUSED" and "LOADING" captions, readable at either visibility
// The top of a pause, table or options frame: title music, background, fireworks, the frame
// picture and the logo.
void DrawBackdrop();
