#pragma once
#include <cstdint>

#include "draw2d/pixmap.h"

// The largest width or height a PNG may declare; larger headers are refused before any
// pixel memory is allocated.
constexpr int PNGMaxSide = 16384;

// The most memory one decoded picture may take (the game's largest takes 4 MiB). A small file
// can declare a huge picture that deflate fills cheaply; such headers are refused before any
// pixel memory is allocated, like a missing file.
constexpr int64_t PNGMaxDecodedBytes = int64_t{64} << 20;

// Decodes PNG files with libpng: 16-bit samples cut to 8, palettes, low bit depths and
// transparency chunks expanded. Grey gives I8, RGB gives RGB888, RGB or grey with alpha gives
// RGBA8888. Anything libpng rejects gives none.
class TPixmapLoaderPNG : public TPixmapLoader {
public:
    std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override;
};

// Creates the PNG loader once. Loading calls it, so the loader is present whenever the
// pixmap module is linked in.
void StartPNGLoader();
