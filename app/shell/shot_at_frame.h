#pragma once

// With BRIM_SHOT_FRAME=N in the environment, the Nth frame is saved as a screenshot (as F12
// saves one) and the game ends: the build takes the picture its AppStream data shows this way.
// Without it nothing is installed.
void InstallShotAtFrame();
