#include "runtime/file_batch.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "runtime/file_io.h"

namespace quarrix {
namespace {

struct Written {
  std::string path;
  std::optional<std::string> old_bytes;  // none: the file was new
};

void Undo(const std::vector<Written>& written) {
  for (auto file = written.rbegin(); file != written.rend(); ++file) {
    try {
      if (file->old_bytes) {
        WriteFileAtomic(file->path, *file->old_bytes);
      } else {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(file->path), ignored);
      }
    } catch (const std::exception&) {
      // Nothing more can be done for this file; the others are still undone.
    }
  }
}

}  // namespace

void WriteAllOrNothing(std::span<const BatchFile> files) {
  std::vector<Written> written;
  try {
    for (const BatchFile& file : files) {
      Written entry{file.path, std::nullopt};
      if (IsExistingFile(file.path)) entry.old_bytes = ReadFileBytes(file.path);
      WriteFileAtomic(file.path, file.bytes());
      written.push_back(std::move(entry));
    }
  } catch (...) {
    Undo(written);
    throw;
  }
}

}  // namespace quarrix
