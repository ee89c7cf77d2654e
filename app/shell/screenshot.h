#pragma once
#include <ctime>
#include <string>

// "brimstrand-YYYY-MM-DD_HH-MM-SS.png" for the local time given.
std::string ScreenshotName(const std::tm& local);

// Writes what the window shows, at its pixel size, as a PNG in the data folder's screenshots/
// folder and prints "Screenshot: <path>" on stdout; a failure is told on stderr and play goes
// on. Two in the same second get "-2", "-3", ... before the extension. Returns the path, or
// empty text on failure.
std::string TakeScreenshot();
