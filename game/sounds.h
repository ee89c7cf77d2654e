#pragma once
#include <functional>
#include <string>

// The rules start sound effects by file name; the application installs the player that
// actually plays them, so this layer does not depend on the audio assets or the shell.
using TSoundPlayer = std::function<void(const std::string& name)>;

// Installs the player and returns the one it replaces, so a caller can silence the rules for a
// while and put the player back; an empty player silences them.
TSoundPlayer SetSoundPlayer(TSoundPlayer player);
// Hands the name to the installed player; does nothing while none is installed.
void PlaySoundEffect(const std::string& name);
