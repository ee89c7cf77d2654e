#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The settings registry: every setting of the game's settings files, declared once in
// app/settings/settings.inc with its file, key, kind, default and help, and the values the
// running game uses. preferences.dat and highscores.dat are not settings files: their bytes are
// their own.

enum class TSettingFile : int32_t { Game, Display, Controls };
constexpr int32_t SettingFileCount = 3;

enum class TSettingKind : int32_t { Switch, Choice, Number, Keys, Buttons };

enum TSettingId : int32_t {
#define BRIM_SETTING(id, file, key, kind, words, minimum, maximum, fallback, help) Setting##id,
#include "app/settings/settings.inc"
#undef BRIM_SETTING
    SettingCount
};

struct TSettingDeclaration {
    TSettingFile file;
    const char* key;
    TSettingKind kind;
    const char* words;        // Switch, Choice: "off|on", "a|b|c"; Keys, Buttons: the default keys or pad buttons
    int32_t minimum, maximum; // Number: the range
    int32_t fallback;         // the default: a word's index, or a number
    const char* help;         // one line
};

inline constexpr std::array<TSettingDeclaration, SettingCount> SettingDeclarations = {{
#define BRIM_SETTING(id, file, key, kind, words, minimum, maximum, fallback, help)                                      \
    {TSettingFile::file, key, TSettingKind::kind, words, minimum, maximum, fallback, help},
#include "app/settings/settings.inc"
#undef BRIM_SETTING
}};

inline const TSettingDeclaration& Declaration(TSettingId id) { return SettingDeclarations[id]; }

struct TSettingFileDeclaration {
    const char* name;    // "settings.cfg"
    const char* title;   // the first comment line of a new file
    const char* keyNoun; // what a line's key names, for the warning about an unknown one
};
const TSettingFileDeclaration& FileDeclaration(TSettingFile file);
// The settings of a file, in declaration order.
std::vector<TSettingId> SettingsOf(TSettingFile file);

// The words of a Switch or Choice.
std::vector<std::string> SettingWords(TSettingId id);

// One setting's value: a word's index or a number, or the key codes (or pad buttons) and the text
// they came from.
struct TSettingValue {
    int32_t number = 0;
    std::vector<int32_t> keys;
    std::string keyText;
    bool operator==(const TSettingValue&) const = default;
};

// The key codes of a "Key, Key" list as SDL names keys; empty when a name is unknown (named in
// unknown, empty when a name is missing). A name with a control character is no key's name.
std::vector<int32_t> KeyList(const std::string& text, std::string& unknown);
// The pad buttons (PadA...) of a "Button, Button" list as the controls file names them; empty and
// unknown as KeyList.
std::vector<int32_t> ButtonList(const std::string& text, std::string& unknown);
// Keys the game keeps for itself on every screen (pause and back, Visibility, the keys page,
// fullscreen, screenshots), which no play action may take; Alt+Enter is the fullscreen switch too.
bool IsReservedKey(int32_t code);
// The pad buttons every screen keeps for itself: Start pauses, Back goes back, Guide is the system's.
bool IsReservedPadButton(int32_t button);
// The names of the reserved keys and pad buttons, for the messages that refuse them.
extern const char* const ReservedKeyNames;
extern const char* const ReservedPadButtonNames;

// A value of every setting, each at its default until set.
class TSettingValues {
public:
    TSettingValues();
    const TSettingValue& Value(TSettingId id) const { return values_[id]; }
    int32_t Number(TSettingId id) const { return values_[id].number; }
    bool On(TSettingId id) const { return values_[id].number != 0; }
    const std::vector<int32_t>& Keys(TSettingId id) const { return values_[id].keys; }
    void Set(TSettingId id, TSettingValue value) { values_[id] = std::move(value); }
    void SetNumber(TSettingId id, int32_t number) { values_[id].number = number; }
    // Every setting of the file back to its default.
    void ResetFile(TSettingFile file);
    // The value as the file writes it.
    std::string Text(TSettingId id) const;

private:
    std::array<TSettingValue, SettingCount> values_;
};

TSettingValue DefaultValue(TSettingId id);

// The values the running game plays by.
TSettingValues& CurrentSettings();
