#include "app/settings/registry.h"

#include <algorithm>

#include "system/key_names.h"
#include "system/pad_names.h"
#include "system/keycodes.h"

namespace {

constexpr std::array<TSettingFileDeclaration, SettingFileCount> Files = {{
    {"settings.cfg", "Brimstrand settings: key = value, one a line.", "setting"},
    {"display.cfg", "Brimstrand display settings, kept by the game.", "setting"},
    {"controls.cfg", "Brimstrand controls: \"action = Key, Key\" with SDL's key names (A, Left, Space, Keypad 4, ...).",
     "action"},
}};

std::string Trimmed(std::string text)
{
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The codes of a "Name, Name" list, each name read by codeOf (0: no such name).
std::vector<int32_t> NamedList(const std::string& text, std::string& unknown, int32_t (*codeOf)(const std::string&))
{
    std::vector<int32_t> codes;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        const std::string name = Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        const bool control = std::any_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
        const int32_t code = control ? 0 : codeOf(name);
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

} // namespace

const TSettingFileDeclaration& FileDeclaration(TSettingFile file) { return Files[static_cast<size_t>(file)]; }

std::vector<TSettingId> SettingsOf(TSettingFile file)
{
    std::vector<TSettingId> ids;
    for (int32_t i = 0; i < SettingCount; ++i)
        if (SettingDeclarations[i].file == file)
            ids.push_back(static_cast<TSettingId>(i));
    return ids;
}

std::vector<std::string> SettingWords(TSettingId id)
{
    std::vector<std::string> words;
    const std::string text = Declaration(id).words;
    for (size_t start = 0; start <= text.size();) {
        const size_t bar = text.find('|', start);
        words.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return words;
}

std::vector<int32_t> KeyList(const std::string& text, std::string& unknown)
{
    return NamedList(text, unknown, KeyCodeForName);
}

std::vector<int32_t> ButtonList(const std::string& text, std::string& unknown)
{
    return NamedList(text, unknown, PadButtonForName);
}

const char* const ReservedKeyNames = "Escape, Tab, F1, F11, F12, Alt+Enter";
const char* const ReservedPadButtonNames = "Start, Back, Guide";

bool IsReservedKey(int32_t code)
{
    return code == VK_ESCAPE || code == VK_TAB || code == VK_F1 || code == VK_F11 || code == VK_F12;
}

bool IsReservedPadButton(int32_t button)
{
    return button == PadStart || button == PadBack || button == PadGuide;
}

TSettingValue DefaultValue(TSettingId id)
{
    const TSettingDeclaration& declaration = Declaration(id);
    TSettingValue value;
    if (declaration.kind == TSettingKind::Keys || declaration.kind == TSettingKind::Buttons) {
        std::string unknown;
        value.keys = declaration.kind == TSettingKind::Keys ? KeyList(declaration.words, unknown)
                                                            : ButtonList(declaration.words, unknown);
        value.keyText = declaration.words;
    } else {
        value.number = declaration.fallback;
    }
    return value;
}

TSettingValues::TSettingValues()
{
    for (int32_t i = 0; i < SettingCount; ++i)
        values_[i] = DefaultValue(static_cast<TSettingId>(i));
}

void TSettingValues::ResetFile(TSettingFile file)
{
    for (const TSettingId id : SettingsOf(file))
        values_[id] = DefaultValue(id);
}

std::string TSettingValues::Text(TSettingId id) const
{
    switch (Declaration(id).kind) {
    case TSettingKind::Switch:
    case TSettingKind::Choice:
        return SettingWords(id).at(static_cast<size_t>(values_[id].number));
    case TSettingKind::Number:
        return std::to_string(values_[id].number);
    case TSettingKind::Keys:
    case TSettingKind::Buttons:
        return values_[id].keyText;
    }
    return {};
}

TSettingValues& CurrentSettings()
{
    static TSettingValues values;
    return values;
}
