// Feeds arbitrary bytes to the pixmap loaders (the PNG loader): every input must give a
// pixmap or none, without crashing, leaking or touching memory it does not own.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "draw2d/pixmap.h"
#include "system/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto stream = std::make_shared<TRamStream>(std::vector<uint8_t>(data, data + size), 1, 0);
    auto pixmap = LoadPixmap(stream);
    if (!pixmap)
        return 0;
    // Read every pixel back so a buffer smaller than its stated size shows up.
    volatile uint32_t sink = 0;
    for (int y = 0; y < pixmap->height; ++y)
        for (int x = 0; x < pixmap->width; ++x)
            sink = sink + pixmap->ReadPixel(x, y);
    return 0;
}
