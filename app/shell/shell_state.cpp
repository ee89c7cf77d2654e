#include "app/shell/shell_state.h"

TBackgroundClock background;
TShellPictures shellpictures;
