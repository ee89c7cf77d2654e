#include "app/help_text.h"

#include "app/command_line.h"

namespace {

const char Controls[] = "Controls:\n"
                        "  A / D       move the piece left / right\n"
                        "  Q / E       turn counter-clockwise / clockwise\n"
                        "  S (hold)    drop fast\n"
                        "  Escape      pause during play (again on the pause screen: quit);\n"
                        "              back from a menu screen; quit from the title\n"
                        "  Tab         switch Visibility between High and Low\n"
                        "  Mouse       choose menu items; click to resume from pause\n"
                        "  F11, Alt+Enter  switch between the window and desktop fullscreen\n"
                        "  F12         save a screenshot in screenshots/ in the data folder\n";

const char Environment[] = "Environment:\n"
                           "  BRIMSTRAND_DATA_DIR   the data folder, unless --data-dir is given\n"
                           "  XDG_DATA_HOME, HOME   where the data folder is otherwise\n";

std::string OrElse(const std::string& folder, const char* missing) { return folder.empty() ? missing : folder; }

} // namespace

std::string HelpText(const std::string& assetFolder, const std::string& dataFolder)
{
    return OptionsUsage() + "\n" + Controls + "\n" +
           "Files:\n"
           "  pictures and sounds (gfx/, sfx/): " +
           OrElse(assetFolder, "not found") +
           "\n"
           "  settings and high scores (preferences.dat, highscores.dat, display.cfg): " +
           OrElse(dataFolder, "none, nothing is saved") +
           "\n"
           "  The data folder is data/ beside the program when the pictures are there and it can\n"
           "  be written, else $XDG_DATA_HOME/brimstrand (by default ~/.local/share/brimstrand).\n\n" +
           Environment;
}
