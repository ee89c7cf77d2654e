#include "app/controls_file.h"

#include <algorithm>
#include <charconv>

#include "app/data_folder.h"
#include "system/key_names.h"

const std::array<TActionText, PlayActionCount> ActionTexts = {{
    {"move_left", "A, Left"},
    {"move_right", "D, Right"},
    {"turn_left", "Q"},
    {"turn_right", "E, Up"},
    {"drop_fast", "S, Down"},
}};

// After ActionTexts, which it is made from.
TKeyBindings keybindings = [] {
    TKeyBindings defaults;
    defaults.Reset();
    return defaults;
}();

namespace {

constexpr int32_t FramesPerSecond = 60;
constexpr int32_t MaxRepeatMillis = 10000;
const char RepeatDelayKey[] = "repeat_delay_ms";
const char RepeatIntervalKey[] = "repeat_interval_ms";

// The key codes of a "Key, Key" list; empty when any name is unknown (named in unknown).
std::vector<int32_t> KeyList(const std::string& text, std::string& unknown)
{
    std::vector<int32_t> codes;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        const int32_t code = KeyCodeForName(name);
        if (code == 0) {
            unknown = name;
            return {};
        }
        codes.push_back(code);
        if (comma == std::string::npos)
            return codes;
        start = comma + 1;
    }
}

int ActionIndex(const std::string& name)
{
    for (int i = 0; i < PlayActionCount; ++i)
        if (name == ActionTexts[i].name)
            return i;
    return -1;
}

bool ParseMillis(const std::string& text, int32_t& millis)
{
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, millis);
    return error == std::errc() && rest == end && millis >= 0 && millis <= MaxRepeatMillis;
}

std::vector<std::pair<std::string, std::string>> DefaultEntries()
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const TActionText& action : ActionTexts)
        entries.emplace_back(action.name, action.keys);
    return entries;
}

const std::vector<std::string> Header = {
    "Brimstrand controls: \"action = Key, Key\" with SDL's key names (A, Left, Space, Keypad 4, ...).",
    "A line the game cannot use is reported and leaves that action on its default keys.",
    "move_left, move_right: move the piece; turn_left / turn_right: counter-clockwise / clockwise;",
    "drop_fast: drop fast while held.",
    "Held moves repeat when both of these are set, in milliseconds (0 or missing: no repeat):",
    "repeat_delay_ms = 250",
    "repeat_interval_ms = 50",
};

} // namespace

void TKeyBindings::Reset()
{
    *this = TKeyBindings{};
    for (int i = 0; i < PlayActionCount; ++i) {
        std::string unknown;
        keys[i] = KeyList(ActionTexts[i].keys, unknown);
    }
}

int32_t FramesForMillis(int32_t millis)
{
    return std::max(1, (millis * FramesPerSecond + 500) / 1000);
}

TKeyBindings BindingsFromFile(TConfigFile& file, const std::string& path)
{
    TKeyBindings bindings;
    bindings.Reset();
    int32_t delayMillis = 0, intervalMillis = 0;
    for (const TConfigEntry& entry : file.entries) {
        if (entry.key == RepeatDelayKey || entry.key == RepeatIntervalKey) {
            int32_t& millis = entry.key == RepeatDelayKey ? delayMillis : intervalMillis;
            if (!ParseMillis(entry.value, millis))
                file.warnings.push_back(ConfigWarning(path, entry.line,
                                                      entry.key + " must be a whole number of milliseconds from 0 to " +
                                                          std::to_string(MaxRepeatMillis) + "; no repeat kept"));
            continue;
        }
        const int action = ActionIndex(entry.key);
        if (action < 0) {
            file.warnings.push_back(ConfigWarning(path, entry.line, "unknown action \"" + entry.key + "\", ignored"));
            continue;
        }
        std::string unknown;
        std::vector<int32_t> codes = KeyList(entry.value, unknown);
        if (codes.empty()) {
            const std::string fault = unknown.empty() ? "a key name missing" : "unknown key name \"" + unknown + "\"";
            file.warnings.push_back(ConfigWarning(path, entry.line, fault + "; " + entry.key + " keeps its default keys " +
                                                                        ActionTexts[action].keys));
            continue;
        }
        bindings.keys[action] = std::move(codes);
    }
    if (delayMillis > 0 && intervalMillis > 0) {
        bindings.repeatDelay = FramesForMillis(delayMillis);
        bindings.repeatInterval = FramesForMillis(intervalMillis);
    }
    return bindings;
}

void LoadControls()
{
    const std::string path = ConfigFilePath(ControlsFileName);
    if (path.empty()) {
        keybindings.Reset();
        return;
    }
    TConfigFile file = ReadConfigFile(path);
    // Where nothing can be saved start-up has said so already; the defaults file is no loss.
    if (!file.found && file.warnings.empty() && CanWriteOrCreateFolder(ConfigFolder()))
        SaveConfigFile(path, Header, DefaultEntries());
    keybindings = BindingsFromFile(file, path);
    ReportConfigWarnings(file);
}
