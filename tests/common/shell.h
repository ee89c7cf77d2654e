#pragma once
#include <string>

// Runs a shell command and returns what it wrote to its standard output.
std::string Shell(const std::string& command);

// Runs a shell command and returns its exit status, or -1 when it did not exit normally.
int ShellStatus(const std::string& command);

// Whether the shell finds the named command.
bool HaveCommand(const std::string& name);
