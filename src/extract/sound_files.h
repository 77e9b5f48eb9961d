#pragma once
// The file names exported sounds are written to: NAME.EXT after the sound's format, or
// GROUP.NAME.EXT for sounds whose names are equal but for ASCII case, and the test that such a
// name is a plain file name on Windows and Linux alike, so a sound can never be written outside
// the chosen folder.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extract/package_tables.h"

namespace quarrix {

// The stem of each sound's file name, in order: the sound's name, or its group, a dot and its
// name when another sound's name equals it but for ASCII case (a sound at the package's top
// level takes the package's file name without its extension as its group). Kept as the
// package's bytes on Windows; elsewhere as UTF-8, 8-bit names read as Windows-1252.
std::vector<std::string> SoundFileStems(std::span<const SoundExport> sounds,
                                        std::string_view package_file_name);

// The names of file_names that would name one file on a file system that ignores ASCII case:
// the indexes of each such name, in order, the names by their first index. Linear in the
// number of names.
std::vector<std::vector<std::size_t>> FileNameClashes(std::span<const std::string> file_names);

// Why stem + "." + a plain extension cannot be a file name within a folder, or empty when it
// can: it is empty, holds a path separator, "..", a control character or a character Windows
// refuses (< > : " | ? *), or names a device on Windows (CON, PRN, AUX, NUL, COM1-9, LPT1-9,
// whatever follows a dot).
std::string FileNameProblem(std::string_view stem);

}  // namespace quarrix
