#pragma once

// The small "Demo" caption over a demo frame, in the game's text.
void DrawDemoCaption();
