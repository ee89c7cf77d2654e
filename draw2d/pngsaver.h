#pragma once
#include <memory>
#include <string>

class TPixmap;

// Writes the pixmap as an 8-bit RGBA PNG file at path (made anew, replacing any file there).
// On failure returns false with the reason in error and leaves no partial file behind.
bool SavePixmapPNG(const std::shared_ptr<TPixmap>& pixmap, const std::string& path, std::string& error);
