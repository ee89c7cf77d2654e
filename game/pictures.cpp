#include "game/pictures.h"

std::shared_ptr<TImage> blockimage;
std::array<std::shared_ptr<TImage>, 4> powerupimages;
std::shared_ptr<TImage> shadowimage;
std::shared_ptr<TImage> pointsimage;
std::shared_ptr<TImage> flashboomimage;
std::shared_ptr<TImage> circleimage;
