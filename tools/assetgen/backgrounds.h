#pragma once
#include "tools/assetgen/image.h"

constexpr int kBackgroundSize = 1024;

// "back1.png" and on (index from 1): subdued, opaque 1024 by 1024 scenes. The
// game turns them slowly about their centre with unfiltered sampling, so they hold no fine
// detail that would shimmer, and they cover the window at any angle. Within the disc that a
// turn brings behind the well they are calm, dim and soft, and ease back into their mood beyond.
Image MakeBackground(int index);
