#pragma once

// Returns when the player clicks (or presses Return, Space, pad A or Start) to resume.
void PauseScreen();
