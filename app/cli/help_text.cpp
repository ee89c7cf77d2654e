#include "app/cli/help_text.h"

#include "app/settings/command_line.h"
#include "app/settings/registry.h"

namespace {

const char Controls[] =
    "Controls:\n"
    "  A / D, Left / Right   move the piece left / right\n"
    "  Q / E, Up             turn counter-clockwise / clockwise (Up: clockwise)\n"
    "  S, Down (hold)        drop fast\n"
    "  Space, W              hard drop, when the play option is on\n"
    "  C, Left Shift         hold the piece, when the play option is on\n"
    "  Escape                pause during play (again on the pause screen: quit);\n"
    "                        back from a menu screen; quit from the title\n"
    "  Tab                   switch Visibility between High and Low (a notice says which)\n"
    "  Mouse                 choose menu items; click to resume from pause\n"
    "  F1                    the Keys page, every key and pad button of every screen,\n"
    "                        from the title menu or the pause (Escape or Return: back)\n"
    "  F11, Alt+Enter        switch between the window and desktop fullscreen\n"
    "  F12                   save a screenshot in screenshots/ in the data folder\n"
    "  Up / Down             highlight a menu item (a bright bar marks it); Return, Enter\n"
    "                        or Space chooses it (and resumes from pause; on the title\n"
    "                        with nothing highlighted, plays); Left / Right set a volume;\n"
    "                        Right on a challenge shows its table; on a table they reach\n"
    "                        the replays; Space speeds a replay\n"
    "  Name entry            type the letters, Backspace takes the last one back, Enter\n"
    "                        finishes\n"
    "\n"
    "Gamepad:\n"
    "  D-pad or left stick   move left / right, down drops fast; menus: choose an item\n"
    "  A / B                 turn clockwise / counter-clockwise; menus: choose\n"
    "  Start                 pause and resume; finishes the name entry\n"
    "  Back                  back from a menu screen, quit from the title (never in play)\n"
    "  Name entry            up / down change the letter, A or right moves on\n";

const char Environment[] = "Environment:\n"
                           "  BRIMSTRAND_DATA_DIR   the data folder, unless --data-dir is given\n"
                           "  XDG_DATA_HOME, HOME   where the data folder is otherwise\n"
                           "  XDG_CONFIG_HOME       where the settings are otherwise\n";

std::string OrElse(const std::string& folder, const char* missing) { return folder.empty() ? missing : folder; }

// Every settings file with its keys, as the registry declares them.
std::string SettingsFiles(const std::string& configFolder)
{
    std::string text = "  settings (plain \"key = value\" lines; a line the game cannot use is reported and\n"
                       "  keeps its default):\n";
    for (int32_t f = 0; f < SettingFileCount; ++f) {
        const auto file = static_cast<TSettingFile>(f);
        const std::string name = FileDeclaration(file).name;
        text += "    " + (configFolder.empty() ? name : configFolder + "/" + name) + "\n";
        for (const TSettingId id : SettingsOf(file))
            text += "      " + std::string(Declaration(id).key) + ": " + Declaration(id).help + "\n";
    }
    return text;
}

} // namespace

std::string HelpText(const std::string& assetFolder, const std::string& dataFolder, const std::string& configFolder)
{
    return OptionsUsage() + "\n" + Controls + "\n" +
           "Files:\n"
           "  pictures and sounds (gfx/, sfx/): " +
           OrElse(assetFolder, "not found") +
           "\n"
           "  data folder (preferences.dat, highscores.dat, replays/, screenshots/): " +
           OrElse(dataFolder, "none, nothing is saved") + "\n" + SettingsFiles(configFolder) +
           "  The data folder is data/ beside the program when the pictures are there and it can\n"
           "  be written, else $XDG_DATA_HOME/brimstrand (by default ~/.local/share/brimstrand).\n"
           "  The settings are in the data folder when it is data/ beside the program or was\n"
           "  chosen, else in $XDG_CONFIG_HOME/brimstrand (by default ~/.config/brimstrand).\n\n" +
           Environment;
}
