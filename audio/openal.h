#pragma once
#include <string>

// The OpenAL 1.1 API, loaded from the system's library at run time so that the program
// still starts where OpenAL is not installed. Every entry point is a function pointer that
// starts out bound to a stub failing with "Attempt to call uninitialized function pointer";
// LoadOpenALLibrary rebinds each one the library exports.
//
// The names live in their own namespace: they must not be mistaken for the library's
// exported symbols.
namespace openal {

using ALboolean = char;
using ALchar = char;
using ALint = int;
using ALuint = unsigned int;
using ALsizei = int;
using ALenum = int;
using ALfloat = float;
using ALdouble = double;
using ALvoid = void;
using ALCboolean = char;
using ALCchar = char;
using ALCint = int;
using ALCuint = unsigned int;
using ALCsizei = int;
using ALCenum = int;
using ALCvoid = void;
struct ALCdevice;
struct ALCcontext;

enum : ALenum {
    AL_NONE = 0,
    AL_SOURCE_RELATIVE = 0x202,
    AL_PITCH = 0x1003,
    AL_POSITION = 0x1004,
    AL_LOOPING = 0x1007,
    AL_BUFFER = 0x1009,
    AL_GAIN = 0x100A,
    AL_SOURCE_STATE = 0x1010,
    AL_INITIAL = 0x1011,
    AL_PLAYING = 0x1012,
    AL_PAUSED = 0x1013,
    AL_STOPPED = 0x1014,
    AL_FORMAT_MONO8 = 0x1100,
    AL_FORMAT_MONO16 = 0x1101,
    AL_FORMAT_STEREO8 = 0x1102,
    AL_FORMAT_STEREO16 = 0x1103,
    AL_NO_ERROR = 0,
    AL_INVALID_NAME = 0xA001,
    AL_INVALID_ENUM = 0xA002,
    AL_INVALID_VALUE = 0xA003,
    AL_INVALID_OPERATION = 0xA004,
    AL_OUT_OF_MEMORY = 0xA005,
    ALC_DEFAULT_DEVICE_SPECIFIER = 0x1004,
    ALC_DEVICE_SPECIFIER = 0x1005,
};

// Return type, name and parameters of every entry point, in the order of the OpenAL 1.1 headers.
#define BRIM_OPENAL_ENTRY_POINTS(X)                                                                            \
    X(ALCdevice*, alcOpenDevice, (const ALCchar* devicename))                                                  \
    X(ALCboolean, alcCloseDevice, (ALCdevice* device))                                                         \
    X(ALCenum, alcGetError, (ALCdevice* device))                                                               \
    X(const ALCchar*, alcGetString, (ALCdevice* device, ALCenum param))                                        \
    X(void, alcGetIntegerv, (ALCdevice* device, ALCenum param, ALCsizei size, ALCint* values))                 \
    X(ALCcontext*, alcCreateContext, (ALCdevice* device, const ALCint* attrlist))                              \
    X(ALCboolean, alcMakeContextCurrent, (ALCcontext* context))                                                \
    X(void, alcProcessContext, (ALCcontext* context))                                                          \
    X(void, alcSuspendContext, (ALCcontext* context))                                                          \
    X(void, alcDestroyContext, (ALCcontext* context))                                                          \
    X(ALCcontext*, alcGetCurrentContext, ())                                                                   \
    X(ALCdevice*, alcGetContextsDevice, (ALCcontext* context))                                                 \
    X(ALCboolean, alcIsExtensionPresent, (ALCdevice* device, const ALCchar* extname))                          \
    X(void*, alcGetProcAddress, (ALCdevice* device, const ALCchar* funcname))                                  \
    X(ALCenum, alcGetEnumValue, (ALCdevice* device, const ALCchar* enumname))                                  \
    X(ALCdevice*, alcCaptureOpenDevice,                                                                        \
      (const ALCchar* devicename, ALCuint frequency, ALCenum format, ALCsizei buffersize))                     \
    X(ALCboolean, alcCaptureCloseDevice, (ALCdevice* device))                                                  \
    X(void, alcCaptureStart, (ALCdevice* device))                                                              \
    X(void, alcCaptureStop, (ALCdevice* device))                                                               \
    X(void, alcCaptureSamples, (ALCdevice* device, ALCvoid* buffer, ALCsizei samples))                         \
    X(void, alEnable, (ALenum capability))                                                                     \
    X(void, alDisable, (ALenum capability))                                                                    \
    X(ALboolean, alIsEnabled, (ALenum capability))                                                             \
    X(const ALchar*, alGetString, (ALenum param))                                                              \
    X(void, alGetBooleanv, (ALenum param, ALboolean* values))                                                  \
    X(void, alGetIntegerv, (ALenum param, ALint* values))                                                      \
    X(void, alGetFloatv, (ALenum param, ALfloat* values))                                                      \
    X(void, alGetDoublev, (ALenum param, ALdouble* values))                                                    \
    X(ALboolean, alGetBoolean, (ALenum param))                                                                 \
    X(ALint, alGetInteger, (ALenum param))                                                                     \
    X(ALfloat, alGetFloat, (ALenum param))                                                                     \
    X(ALdouble, alGetDouble, (ALenum param))                                                                   \
    X(ALenum, alGetError, ())                                                                                  \
    X(ALboolean, alIsExtensionPresent, (const ALchar* extname))                                                \
    X(void*, alGetProcAddress, (const ALchar* fname))                                                          \
    X(ALenum, alGetEnumValue, (const ALchar* ename))                                                           \
    X(void, alListenerf, (ALenum param, ALfloat value))                                                        \
    X(void, alListener3f, (ALenum param, ALfloat v1, ALfloat v2, ALfloat v3))                                  \
    X(void, alListenerfv, (ALenum param, const ALfloat* values))                                               \
    X(void, alListeneri, (ALenum param, ALint value))                                                          \
    X(void, alListener3i, (ALenum param, ALint v1, ALint v2, ALint v3))                                        \
    X(void, alListeneriv, (ALenum param, const ALint* values))                                                 \
    X(void, alGetListenerf, (ALenum param, ALfloat* value))                                                    \
    X(void, alGetListener3f, (ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3))                            \
    X(void, alGetListenerfv, (ALenum param, ALfloat* values))                                                  \
    X(void, alGetListeneri, (ALenum param, ALint* value))                                                      \
    X(void, alGetListener3i, (ALenum param, ALint* v1, ALint* v2, ALint* v3))                                  \
    X(void, alGetListeneriv, (ALenum param, ALint* values))                                                    \
    X(void, alGenSources, (ALsizei n, ALuint* sources))                                                        \
    X(void, alDeleteSources, (ALsizei n, const ALuint* sources))                                               \
    X(ALboolean, alIsSource, (ALuint source))                                                                  \
    X(void, alSourcef, (ALuint source, ALenum param, ALfloat value))                                           \
    X(void, alSource3f, (ALuint source, ALenum param, ALfloat v1, ALfloat v2, ALfloat v3))                     \
    X(void, alSourcefv, (ALuint source, ALenum param, const ALfloat* values))                                  \
    X(void, alSourcei, (ALuint source, ALenum param, ALint value))                                             \
    X(void, alSource3i, (ALuint source, ALenum param, ALint v1, ALint v2, ALint v3))                           \
    X(void, alSourceiv, (ALuint source, ALenum param, const ALint* values))                                    \
    X(void, alGetSourcef, (ALuint source, ALenum param, ALfloat* value))                                       \
    X(void, alGetSource3f, (ALuint source, ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3))               \
    X(void, alGetSourcefv, (ALuint source, ALenum param, ALfloat* values))                                     \
    X(void, alGetSourcei, (ALuint source, ALenum param, ALint* value))                                         \
    X(void, alGetSource3i, (ALuint source, ALenum param, ALint* v1, ALint* v2, ALint* v3))                     \
    X(void, alGetSourceiv, (ALuint source, ALenum param, ALint* values))                                       \
    X(void, alSourcePlayv, (ALsizei n, const ALuint* sources))                                                 \
    X(void, alSourceStopv, (ALsizei n, const ALuint* sources))                                                 \
    X(void, alSourceRewindv, (ALsizei n, const ALuint* sources))                                               \
    X(void, alSourcePausev, (ALsizei n, const ALuint* sources))                                                \
    X(void, alSourcePlay, (ALuint source))                                                                     \
    X(void, alSourceStop, (ALuint source))                                                                     \
    X(void, alSourceRewind, (ALuint source))                                                                   \
    X(void, alSourcePause, (ALuint source))                                                                    \
    X(void, alSourceQueueBuffers, (ALuint source, ALsizei nb, const ALuint* buffers))                          \
    X(void, alSourceUnqueueBuffers, (ALuint source, ALsizei nb, ALuint* buffers))                              \
    X(void, alGenBuffers, (ALsizei n, ALuint* buffers))                                                        \
    X(void, alDeleteBuffers, (ALsizei n, const ALuint* buffers))                                               \
    X(ALboolean, alIsBuffer, (ALuint buffer))                                                                  \
    X(void, alBufferData, (ALuint buffer, ALenum format, const ALvoid* data, ALsizei size, ALsizei freq))      \
    X(void, alBufferf, (ALuint buffer, ALenum param, ALfloat value))                                           \
    X(void, alBuffer3f, (ALuint buffer, ALenum param, ALfloat v1, ALfloat v2, ALfloat v3))                     \
    X(void, alBufferfv, (ALuint buffer, ALenum param, const ALfloat* values))                                  \
    X(void, alBufferi, (ALuint buffer, ALenum param, ALint value))                                             \
    X(void, alBuffer3i, (ALuint buffer, ALenum param, ALint v1, ALint v2, ALint v3))                           \
    X(void, alBufferiv, (ALuint buffer, ALenum param, const ALint* values))                                    \
    X(void, alGetBufferf, (ALuint buffer, ALenum param, ALfloat* value))                                       \
    X(void, alGetBuffer3f, (ALuint buffer, ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3))               \
    X(void, alGetBufferfv, (ALuint buffer, ALenum param, ALfloat* values))                                     \
    X(void, alGetBufferi, (ALuint buffer, ALenum param, ALint* value))                                         \
    X(void, alGetBuffer3i, (ALuint buffer, ALenum param, ALint* v1, ALint* v2, ALint* v3))                     \
    X(void, alGetBufferiv, (ALuint buffer, ALenum param, ALint* values))                                       \
    X(void, alDopplerFactor, (ALfloat value))                                                                  \
    X(void, alDopplerVelocity, (ALfloat value))                                                                \
    X(void, alSpeedOfSound, (ALfloat value))                                                                   \
    X(void, alDistanceModel, (ALenum distanceModel))

#define BRIM_OPENAL_DECLARE(ret, name, params) extern ret(*name) params;
BRIM_OPENAL_ENTRY_POINTS(BRIM_OPENAL_DECLARE)
#undef BRIM_OPENAL_DECLARE

} // namespace openal

// Names the library file to load instead of the platform's own ("libopenal.so.1" on Linux).
// Takes effect only before the library is first loaded; tests use it to stand for a missing library.
void SetOpenALLibraryName(const std::string& name);

// Loads the library and binds the entry points it exports; only the first call does anything.
// Returns 1 when the library loaded.
int LoadOpenALLibrary();

// 1 when the library loaded.
int OpenALLoaded();

// 1 when the library exported the named entry point, so its pointer is not the stub.
int OpenALEntryPointFound(const std::string& name);
