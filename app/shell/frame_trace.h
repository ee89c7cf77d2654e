#pragma once

// With BRIM_TRACE_FRAMES=1 in the environment, every 60th frame prints "frames: <count> cpu <ms>"
// on stderr (the process's CPU time, every thread, llvmpipe's among them), so a benchmark can
// tell the CPU time per frame of any screen. With BRIM_TRACE_FRAMES=every, every frame prints
// its line, so a test driving the game can wait until it has drawn the frames that take in an
// input. A line follows the frame's swap, so a picture taken after it shows that frame. Without
// it nothing is installed.
void InstallFrameTrace();
