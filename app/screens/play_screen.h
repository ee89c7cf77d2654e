#pragma once

// One play from its start to its end, including the name entry after a lost play.
void PlayScreen();
