#include "game/settings.h"

TSettings settings;
