#pragma once
#include <string>

// The folder holding the running executable, without a trailing "/"; empty when unknown.
std::string ExecutableFolder();
