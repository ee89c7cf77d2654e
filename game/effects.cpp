#include "game/effects.h"

float tint = 250.0f;
float wobble = 0.0f;
float wobblev = 0.0f;
float flash = 0.0f;
float glow = 0.0f;

int keyrotleft = 0;
int keyrotright = 0;
int keyleft = 0;
int keyright = 0;
int keyfast = 0;
