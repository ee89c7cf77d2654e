#include "app/shell_state.h"

float titlefade = 0;

int32_t backtimer = 0;
int32_t backindex = 0;
int32_t backprev = 0;
float backfade = 0;
float backangle = 0;

std::array<std::shared_ptr<TImage>, backcount> backimages;
std::shared_ptr<TImage> loadingimage;
std::shared_ptr<TImage> logoimage;
std::shared_ptr<TImage> pausedimage;
std::shared_ptr<TImage> hudimage;
std::array<std::shared_ptr<TImage>, 3> menuimages;
