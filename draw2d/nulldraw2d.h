#pragma once

class TDraw2DDriver;

// The one 2D driver that draws nothing, for running frame code where nothing is shown (a replay
// checked without a window). Its surfaces keep the size they were made with, so everything that
// places by the surface size places as it would in a window; images are never loaded for it.
TDraw2DDriver* NullDraw2DDriverInstance();
