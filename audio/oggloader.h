#pragma once
#include <memory>

#include "audio/sample.h"

// Decodes a whole Ogg Vorbis file into a 16-bit sample: mono files give SF_MONO16LE, stereo
// files SF_STEREO16LE, at the file's own rate. Files with more channels are declined. Of a chained
// file (streams one after the other) only the first stream is decoded, whatever follows it.
class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) override;
};

// Registers the loader at the head of the chain.
void StartOggLoaderModule();
