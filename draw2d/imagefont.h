#pragma once
#include <memory>
#include <string>

// A font for framework text. The game draws its own text from an image strip, so a font here is
// only the drawing state's current-font value.
class TImageFont {
public:
    explicit TImageFont(std::string name) : name(std::move(name)) {}
    std::string name;

    // The built-in font, made on first request.
    static std::shared_ptr<TImageFont> Default();
};
