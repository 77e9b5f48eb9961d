#pragma once
// The sounds of the packages a user browses, one row per Sound object: packages in the order
// given, sounds in export order, each with what its audio's headers say and, when its name can
// hold no trigger entry, why. Rows map back to the sounds Get Quooms with Sounds Only takes,
// so the ticked rows pick the entries.
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "extract/package_extraction.h"
#include "extract/package_tables.h"
#include "extract/sound_reader.h"

namespace quarrix {

struct BrowsedPackage {
  std::string path;
  std::string file_name;  // without .uz2
  PackageTables tables;
  // A .uz2's package, inflated once: its sounds are read from here, never by inflating again.
  std::shared_ptr<const std::string> unpacked;
  std::vector<SoundExport> sounds;  // in export order
};

struct SoundRow {
  std::size_t package = 0;  // into SoundRows::packages
  std::size_t sound = 0;    // into that package's sounds
  // Why no entry can hold the sound's name; empty when it can.
  std::string no_entry_reason;
  // The audio's place and facts; unset when the sound's data is broken, with the reason.
  std::optional<SoundListing> listing;
  std::string data_problem;
};

struct SoundRows {
  std::vector<BrowsedPackage> packages;
  std::vector<SoundRow> rows;
  // The audio bytes of every row whose data could be read: what the browser may come to hold.
  std::uint64_t audio_bytes = 0;

  const SoundExport& SoundOf(const SoundRow& row) const {
    return packages[row.package].sounds[row.sound];
  }
  const BrowsedPackage& PackageOf(const SoundRow& row) const { return packages[row.package]; }
};

// Why no trigger entry can hold the name, as Sounds Only leaves it out; empty when one can.
std::string NoEntryReason(const PackageName& name);

// Reads the tables of each package and the start of each sound's data. Throws FileOpenError or
// PackageFormatError for the first package that cannot be read; a sound whose data is broken
// keeps its row.
SoundRows ReadSoundRows(std::span<const std::string> paths);

// The stored audio of a row, the bytes export writes. Throws the sound reader's SoundDataError
// (a QuarrixError with the row's data problem for a row whose data is broken) and
// FileOpenError.
std::string ReadRowAudio(const SoundRows& rows, const SoundRow& row);

// Keeps, from the packages the rows were read from, the sounds of the given rows.
SoundPick PickRows(const SoundRows& rows, std::span<const std::size_t> picked);

}  // namespace quarrix
