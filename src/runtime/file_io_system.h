#pragma once
// What file_io.cpp shares with its system parts, file_io_posix.cpp and file_io_windows.cpp
// (CMake builds the one of the target system).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace quarrix {

// Which other access a file being read still allows (Windows; elsewhere reads lock nothing).
enum class ReadSharing { kReaders, kEverything };

// Where a read puts a file's bytes: memory for the size asked, filled by the read.
using ReadRoom = std::function<char*(std::size_t size)>;

// System part: reads the first max_bytes bytes of the regular file at path into the memory
// room(size) gives and returns how many were read (fewer when the file shrank meanwhile);
// refused as ReadWholeFile refuses it when larger than `largest`.
std::size_t ReadSystemFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                           ReadSharing sharing, const ReadRoom& room);

// file_io.cpp: tells the test observer of a read of file data.
void ObserveRead(const std::string& path, std::uint64_t offset, std::size_t length);

}  // namespace quarrix
