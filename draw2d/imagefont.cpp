#include "draw2d/imagefont.h"

std::shared_ptr<TImageFont> TImageFont::Default()
{
    static const std::shared_ptr<TImageFont> font = std::make_shared<TImageFont>("default");
    return font;
}
