#pragma once
#include <string>

// How many damaged copies of one file are kept: "<file>.bad" (the latest), then "<file>.bad.1"
// up to "<file>.bad.4" (the oldest).
constexpr int QuarantineKept = 5;

// Renames a damaged file to path + ".bad" for inspection. Earlier ones move one number up
// first, so none is overwritten; only the oldest beyond QuarantineKept is dropped. False when
// there is nothing at path or it cannot be renamed.
bool MoveAside(const std::string& path);
