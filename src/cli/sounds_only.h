#pragma once
// --sounds-only: the sounds of a package found through its tables rather than by the walk.
#include <span>
#include <string>
#include <string_view>

#include "extract/package_tables.h"
#include "extract/sound_selection.h"

namespace quarrix::cli {

// The sounds of the package at path that can be trigger entries, with their groups and variant
// counts. Each sound name that cannot be one is reported on standard error, one line each.
// Throws FileOpenError or PackageFormatError.
TriggerSounds ReadTriggerSounds(const std::string& path, VariantSearch search);

// Reports on standard error each sound of the package at path that was skipped, one line each.
void ReportSkippedSounds(const std::string& path, std::span<const SoundExport> skipped);

// The name for a message: bytes outside 0x20..0x7E as \xHH (the UTF-8 of a UTF-16 name
// kept), a double quote and a backslash escaped.
std::string EscapedName(const PackageName& name);

}  // namespace quarrix::cli
