#include "game/effects.h"

TEffects effects;
