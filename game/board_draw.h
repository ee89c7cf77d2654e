#pragma once

// Draws the score strip "gfx\points.png" at (x, y): mode 0 the label, mode 1 the value with its
// first digit at x, any higher mode the label followed by the value on the same line.
void DrawPoints(int x, int y, int value, int mode);
