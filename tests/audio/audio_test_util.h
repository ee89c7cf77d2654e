#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/sample.h"
#include "audio/sound.h"

// Interleaved 16-bit sine tone, the same on every channel.
std::vector<int16_t> Tone(double hertz, int frames, int rate, int channels, double amplitude = 0.5);

// A sample of the tone in the given format (mono or stereo, 8 or 16 bits).
std::shared_ptr<TAudioSample> ToneSample(double hertz, int frames, int rate, int32_t format);

// Writes bytes to a file under the tests' working folder and returns its path.
std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadTestFile(const std::string& path);

// An Ogg Vorbis file of a tone.
std::vector<uint8_t> OggTone(double hertz, int frames, int rate, int channels);

// Polls until the channel stops playing; false if it still plays after limitMs.
bool WaitUntilStopped(const std::shared_ptr<TChannel>& channel, int limitMs = 5000);

// Expects call to fail with a TRuntimeError (or a subclass) carrying exactly this message.
void ExpectRuntimeError(const std::function<void()>& call, const std::string& message);

// Runs body in a new process of this test program, where no audio module has started yet, and
// expects it to finish without failures.
void InFreshProcess(const std::function<void()>& body);
