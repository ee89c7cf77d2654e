#pragma once
#include <string>

// The whole --help text: usage and options, the controls, and where this copy keeps its files
// (an empty folder stands for one not found).
std::string HelpText(const std::string& assetFolder, const std::string& dataFolder, const std::string& configFolder);
