#include "game/settings.h"

float musicvolume = 0.75f;
float soundvolume = 0.75f;
int32_t visibility = 1;
