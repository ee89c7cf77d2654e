#include "game/pictures.h"

TBoardPictures pictures;
