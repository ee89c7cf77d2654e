#pragma once
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What the player asked for on the command line. Every member has the value the game uses
// when the option is not given.
struct TCommandLine {
    bool help = false;
    bool version = false;
    std::string dataDir; // --data-dir: empty when not given
    int scale = 0;       // --scale: 0 when not given
    bool fullscreen = false;
    bool windowed = false; // wins over fullscreen when both are given
    bool integerScale = false;
    bool bot = false;      // --bot: the built-in player plays
    bool headless = false; // --headless: with --bot, no window, audio or pacing
    int frames = 216000;   // --frames: how long a headless run plays, one hour of game time
    std::string challenge; // --challenge: with --headless --bot, the challenge to play; empty when not given
    std::string keep;      // --keep: with --challenge, the table name its play is kept under; empty when not given
    std::string replay;  // --replay: the replay file to show, empty when not given
    std::vector<std::string> verify; // --verify: the replay files to check
};

// Option targets: a switch sets a member to a fixed value, a text option stores its argument, a
// number option stores its argument when it is a whole number in [min, max].
struct TSwitchTarget {
    bool TCommandLine::*member;
    bool value = true;
};
using TTextTarget = std::string TCommandLine::*;
// A list option takes its argument and every argument after it up to the next word starting
// with "--".
using TListTarget = std::vector<std::string> TCommandLine::*;
struct TNumberTarget {
    int TCommandLine::*member;
    int min;
    int max;
};

// One option: adding an option to the game is adding one of these to CommandLineOptions().
struct TOption {
    std::string_view name;     // "--data-dir"
    std::string_view argument; // name of its argument in the help ("DIR"), empty for a switch
    std::string_view help;     // one line for --help
    std::variant<TSwitchTarget, TTextTarget, TNumberTarget, TListTarget> target;
};

// Every option the game knows, in the order --help lists them.
std::span<const TOption> CommandLineOptions();

struct TParsedCommandLine {
    TCommandLine options;
    std::string error; // empty when every argument was understood
};

// Reads the arguments after the program name. "--name value" and "--name=value" are both
// accepted; anything unknown, a missing argument or a stray word is an error.
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// "Usage: brimstrand [OPTION]..." followed by one aligned line per option.
std::string OptionsUsage();
