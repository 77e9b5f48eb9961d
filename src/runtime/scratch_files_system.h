#pragma once
// What scratch_files.cpp shares with its system parts, scratch_files_posix.cpp and
// scratch_files_windows.cpp (CMake builds the one of the target system).
#include <cstdint>
#include <string>
#include <string_view>

namespace quarrix {

inline constexpr std::string_view kScratchPrefix = ".quarrix-";
inline constexpr std::string_view kTempEnd = ".tmp";
inline constexpr std::string_view kAsideEnd = ".old";
// Tries at a fresh name before a clash is taken for a failure.
inline constexpr int kScratchNameTries = 64;

// scratch_files.cpp: ".quarrix-PID-XXXXXX" + end, the letters different at every call.
std::string ScratchName(std::string_view end);

// System part: the id of this process.
std::uint64_t ProcessId();

}  // namespace quarrix
