#include "app/settings/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace {

const std::array options = {
    TOption{"--help", "", "show this help and exit", TSwitchTarget{&TCommandLine::help}},
    TOption{"--version", "", "show the version and exit", TSwitchTarget{&TCommandLine::version}},
    TOption{"--data-dir", "DIR", "keep settings and high scores in DIR (overrides BRIMSTRAND_DATA_DIR)",
            TTextTarget{&TCommandLine::dataDir}},
    TOption{"--scale", "N", "open the window at N times 512 by 512 pixels (1 to 8)",
            TNumberTarget{&TCommandLine::scale, 1, 8}},
    TOption{"--fullscreen", "", "start in desktop fullscreen (F11 or Alt+Enter switches)",
            TSwitchTarget{&TCommandLine::fullscreen}},
    TOption{"--windowed", "", "start in a window", TSwitchTarget{&TCommandLine::windowed}},
    TOption{"--integer-scale", "", "show the game at whole-number scales only",
            TSwitchTarget{&TCommandLine::integerScale}},
    TOption{"--bot", "", "watch the built-in player play", TSwitchTarget{&TCommandLine::bot}},
    TOption{"--headless", "", "with --bot: play with no window, audio or pacing and print the figures",
            TSwitchTarget{&TCommandLine::headless}},
    TOption{"--frames", "N", "with --headless --bot: frames to play (default 216000, an hour)",
            TNumberTarget{&TCommandLine::frames, 1, 2147483647}},
    TOption{"--challenge", "NAME", "with --headless --bot: play one challenge (sprint, ultra, daily) and print the result",
            TTextTarget{&TCommandLine::challenge}},
    TOption{"--keep", "NAME", "with --challenge: keep the play's replay and enter its result in the challenge's table as NAME",
            TTextTarget{&TCommandLine::keep}},
    TOption{"--replay", "FILE", "show a recorded play (Space: four times the speed, Escape: leave)",
            TTextTarget{&TCommandLine::replay}},
    TOption{"--verify", "FILE...", "play recordings again without a window and say whether each repeats exactly",
            TListTarget{&TCommandLine::verify}},
};

const TOption* FindOption(std::string_view name)
{
    const auto it = std::find_if(options.begin(), options.end(), [&](const TOption& o) { return o.name == name; });
    return it == options.end() ? nullptr : &*it;
}

std::optional<int> WholeNumber(const std::string& text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// The column the help texts start in: past the longest "--name ARG".
size_t HelpColumn()
{
    size_t widest = 0;
    for (const TOption& o : options)
        widest = std::max(widest, o.name.size() + (o.argument.empty() ? 0 : o.argument.size() + 1));
    return widest + 4;
}

} // namespace

std::span<const TOption> CommandLineOptions() { return options; }

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    TParsedCommandLine parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const TOption* option = word.starts_with("--") ? FindOption(name) : nullptr;
        if (!option) {
            parsed.error = (word.starts_with("-") ? "unknown option: " : "unexpected argument: ") + word;
            return parsed;
        }
        if (const auto* target = std::get_if<TSwitchTarget>(&option->target)) {
            if (equals != std::string::npos) {
                parsed.error = "option " + name + " takes no argument";
                return parsed;
            }
            parsed.options.*(target->member) = target->value;
            continue;
        }
        std::string value;
        if (equals != std::string::npos)
            value = word.substr(equals + 1);
        else if (i + 1 < arguments.size() &&
                 !(std::holds_alternative<TListTarget>(option->target) && arguments[i + 1].starts_with("--")))
            value = arguments[++i];
        if (value.empty()) {
            parsed.error = "option " + name + " needs " + std::string(option->argument);
            return parsed;
        }
        if (const auto* target = std::get_if<TNumberTarget>(&option->target)) {
            const std::optional<int> number = WholeNumber(value);
            if (!number || *number < target->min || *number > target->max) {
                parsed.error = "option " + name + " needs a whole number from " + std::to_string(target->min) +
                               " to " + std::to_string(target->max) + ", not " + value;
                return parsed;
            }
            parsed.options.*(target->member) = *number;
            continue;
        }
        if (const auto* target = std::get_if<TListTarget>(&option->target)) {
            auto& list = parsed.options.*(*target);
            list.push_back(value);
            while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--"))
                list.push_back(arguments[++i]);
            continue;
        }
        parsed.options.*std::get<TTextTarget>(option->target) = value;
    }
    return parsed;
}

std::string OptionsUsage()
{
    std::string text = "Usage: brimstrand [OPTION]...\n\nOptions:\n";
    const size_t column = HelpColumn();
    for (const TOption& o : options) {
        std::string left(2, ' ');
        left += o.name;
        if (!o.argument.empty())
            left.append(" ").append(o.argument);
        left.resize(std::max(left.size() + 2, column + 2), ' ');
        text += left + std::string(o.help) + "\n";
    }
    return text;
}
