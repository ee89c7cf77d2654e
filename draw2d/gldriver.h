#pragma once

class TDraw2DDriver;

// The one OpenGL 2D driver, made on first call, for SetGraphicsDriver; none when there is no
// OpenGL video. Declared apart from the driver itself so that its users need no OpenGL headers.
TDraw2DDriver* GLDraw2DDriverInstance();
