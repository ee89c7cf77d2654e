#include "audio/openal.h"

#include <set>

#include "system/error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace openal {

namespace {

// Stands in for an entry point the library did not export.
template <class F>
struct Stub;
template <class R, class... A>
struct Stub<R (*)(A...)> {
    static R Call(A...) { throw TRuntimeError("Attempt to call uninitialized function pointer"); }
};

} // namespace

#define BRIM_OPENAL_DEFINE(ret, name, params) ret(*name) params = Stub<ret(*) params>::Call;
BRIM_OPENAL_ENTRY_POINTS(BRIM_OPENAL_DEFINE)
#undef BRIM_OPENAL_DEFINE

} // namespace openal

namespace {

#if defined(_WIN32)
std::string g_libraryName = "OpenAL32.dll";
#elif defined(__APPLE__)
std::string g_libraryName = "/System/Library/Frameworks/OpenAL.framework/OpenAL";
#else
std::string g_libraryName = "libopenal.so.1";
#endif

bool g_attempted = false;
bool g_loaded = false;
std::set<std::string> g_found;

#if defined(_WIN32)
using Library = HMODULE;
Library OpenLibrary(const std::string& name) { return LoadLibraryA(name.c_str()); }
void* LibrarySymbol(Library lib, const char* name) { return reinterpret_cast<void*>(GetProcAddress(lib, name)); }
#else
using Library = void*;
Library OpenLibrary(const std::string& name) { return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* LibrarySymbol(Library lib, const char* name) { return dlsym(lib, name); }
#endif

} // namespace

void SetOpenALLibraryName(const std::string& name)
{
    g_libraryName = name;
}

int LoadOpenALLibrary()
{
    if (g_attempted)
        return g_loaded ? 1 : 0;
    g_attempted = true;
    // The library stays loaded for the life of the process: sounds may outlive any driver.
    Library lib = OpenLibrary(g_libraryName);
    if (!lib)
        return 0;
    g_loaded = true;
#define BRIM_OPENAL_BIND(ret, name, params)                           \
    if (void* symbol = LibrarySymbol(lib, #name)) {                   \
        openal::name = reinterpret_cast<ret(*) params>(symbol);       \
        g_found.insert(#name);                                        \
    }
    using namespace openal;
    BRIM_OPENAL_ENTRY_POINTS(BRIM_OPENAL_BIND)
#undef BRIM_OPENAL_BIND
    return 1;
}

int OpenALLoaded()
{
    return g_loaded ? 1 : 0;
}

int OpenALEntryPointFound(const std::string& name)
{
    return g_found.count(name) ? 1 : 0;
}
