#pragma once
// Large sound packages for the compressed-package tests and benchmarks: 16-bit WAV tones with
// a little noise, which compress as recorded sounds do, and a name table of many names, which
// compresses as text does.
#include <cstddef>
#include <string>

namespace quarrix::testing {

// A package named `name` holding about `audio_bytes` bytes of WAV sounds (one per 256 KiB)
// and one name per 200 audio bytes; different for each seed.
std::string MakeLargeSoundPackage(const std::string& name, std::size_t audio_bytes, int seed);

}  // namespace quarrix::testing
