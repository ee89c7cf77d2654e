#pragma once
#include <cstdint>
#include <string>

#include "app/settings/command_line.h"
#include "app/settings/display_settings.h"

// How the game's 512 by 512 drawing reaches the screen: the window's first size, desktop
// fullscreen, whole-number scales, the keys that change them (F11, Alt+Enter) and the screenshot
// key (F12), and what of it is remembered in display.cfg.

// The first window size for a desktop whose usable height is given (0 when unknown): the largest
// whole scale of the drawing that fits in three quarters of it, at least 1.
TWindowSize AutomaticWindowSize(int32_t usableHeight);

// The largest whole scale at which OpenGL drawing in software on that many threads still draws
// 60 frames a second, at least 1.
int32_t LargestSmoothSoftwareScale(int32_t threads);

// How the window opens: the command line over the remembered settings, a remembered size over
// the automatic one; never larger than the usable desktop (zero when unknown): a scale that does
// not fit opens at the largest one that does, a remembered size that does not fit is passed over.
// An automatic size in a window larger than softwareScale (0: none) opens at that scale instead when
// OpenGL turns out to draw in software.
TWindowPlan ChooseWindowPlan(const TCommandLine& options, const TDisplaySettings& remembered, TWindowSize usable,
                             int32_t softwareScale = 0);

// Whether a window of that size fits the usable desktop (zero when unknown: anything fits).
bool FitsDesktop(TWindowSize size, TWindowSize usable);

// Reads display.cfg (a damaged file gives the defaults and one warning on stderr) and keeps the
// command line's display options for the window start-up opens.
void ChooseDisplay(const TCommandLine& options);

// Plans the window and sets the scaling; right before the window opens, once the video system runs.
void PrepareWindow();
// Says once on stderr when the window opened smaller because OpenGL draws in software; right after
// it opened.
void NoteSoftwareWindow();

// From now on every frame answers F12 (screenshot) and saves a fullscreen switch the window made
// (on F11 or Alt+Enter).
void InstallDisplayKeys();

// Saves display.cfg when the window's size or fullscreen differs from what the file holds; a
// size larger than the usable desktop is not remembered.
void KeepDisplaySettings();

// The Display page's choices, each in force at once and kept in display.cfg.
// The whole scale of the windowed size (the largest that fits in it, at least 1), and the
// largest whole scale whose window fits the desktop (8 when it is unknown).
int32_t WindowScale();
int32_t LargestWindowScale();
// The windowed size to that scale of the drawing; saved.
void SetWindowScale(int32_t scale);
// Whole-number scales only, or not; saved.
void SetIntegerScale(bool on);
