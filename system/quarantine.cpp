#include "system/quarantine.h"

#include <cstdio>
#include <sys/stat.h>

#include "system/stream.h"

namespace {

std::string Numbered(const std::string& bad, int n) { return n == 0 ? bad : bad + "." + std::to_string(n); }

} // namespace

bool MoveAside(const std::string& path)
{
    const std::string native = NativePath(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0)
        return false;
    const std::string bad = native + ".bad";
    for (int n = QuarantineKept - 1; n > 0; --n)
        std::rename(Numbered(bad, n - 1).c_str(), Numbered(bad, n).c_str()); // a gap is no error
    return std::rename(native.c_str(), bad.c_str()) == 0;
}
