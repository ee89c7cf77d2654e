#include "app/shell_state.h"

TBackgroundClock background;
TShellPictures shellpictures;
