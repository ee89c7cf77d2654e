#include "app/shell/build_info.h"

// All come from cmake/package.cmake.
const char* GameVersion() { return BRIM_VERSION; }

const char* AppId() { return BRIM_APP_ID; }

std::string InstalledAssetFolder() { return BRIM_INSTALLED_ASSET_FOLDER; }
