// The game's 512-pixel canvas in a real OpenGL window, for tests that draw the game's own
// pictures and read the pixels back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "draw2d/image.h"

// Where the build leaves the game's pictures: BRIM_BIN_DIR's gfx/, empty when that is not set.
std::string BuiltPictures();

// Opens the canvas with alpha blending, offscreen when there is no X display. At scale 0 the
// window is the canvas; above it, the scalable window at that many times its size, which draws
// the pictures' denser versions.
::testing::AssertionResult OpenTestCanvas(int scale = 0);
void CloseTestCanvas();

// A built picture as start-up loads it: unfiltered and centred, with its denser versions on demand.
std::shared_ptr<TImage> LoadCentredPicture(const std::string& name, bool denser = false);
