#include "app/shell/build_info.h"

// Both come from cmake/package.cmake.
const char* GameVersion() { return BRIM_VERSION; }

std::string InstalledAssetFolder() { return BRIM_INSTALLED_ASSET_FOLDER; }
