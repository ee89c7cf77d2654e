#pragma once
#include <functional>
#include <string>

// The rules start sound effects by file name; the application installs the player that
// actually plays them, so this layer does not depend on the audio assets or the shell.
using TSoundPlayer = std::function<void(const std::string& name)>;

// Installs the player; an empty player silences the rules again.
void SetSoundPlayer(TSoundPlayer player);
// Hands the name to the installed player; does nothing while none is installed.
void PlaySoundEffect(const std::string& name);
