#include "extract/redirect_copy.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "extract/package_tables.h"
#include "extract/uz2_format.h"
#include "extract/uz2_package_bytes.h"
#include "extract/uz2_reader.h"
#include "runtime/ordered_work.h"

namespace quarrix {
namespace {

// A copy this large is unpacked on every thread, the smaller ones one to a thread: many small
// copies keep all threads busy without handing chunks between them.
constexpr std::uintmax_t kLargeCopy = 16ull << 20;

// The part of a reader's message that says what is wrong: after "Cannot read file PATH: " or
// "Cannot open file PATH: ".
std::string ReasonOf(const QuarrixError& error, const std::string& path) {
  const std::string_view message = error.what();
  for (const std::string_view start : {"Cannot read file ", "Cannot open file "}) {
    const std::string prefix = std::string(start) + path + ": ";
    if (message.starts_with(prefix)) return std::string(message.substr(prefix.size()));
  }
  return std::string(message);
}

std::unique_ptr<PackageBytes> OpenPackage(const std::string& path) {
  if (IsCompressedPackagePath(path)) {
    return std::make_unique<PackageUz2Bytes>(path, Uz2Check::kAsRead);
  }
  return std::make_unique<PackageFileBytes>(path);
}

void Compare(RedirectCopy& copy, unsigned threads) {
  std::optional<std::string> package_error;
  try {
    std::unique_ptr<PackageBytes> package;
    try {
      package = ReportingMemoryFor(FileWork::kRead, copy.package_path,
                                   [&] { return OpenPackage(copy.package_path); });
    } catch (const QuarrixError& error) {
      package_error = error.what();
    }
    if (package_error) {
      copy.state = RedirectCopy::State::kPackageUnreadable;
      copy.reason = *package_error;
      return;
    }
    bool same = true;
    std::uint64_t position = 0;
    ReportingMemoryFor(FileWork::kRead, copy.copy_path, [&] {
      Uz2Reader reader(copy.copy_path);
      reader.ReadAll(
          [&](std::string_view piece) {
            // After a difference the rest is still unpacked, so that a break is told as one.
            if (same && !package_error) {
              try {
                same = package->Read(position, piece.size()) == piece;
              } catch (const QuarrixError& error) {
                package_error = error.what();
              }
            }
            position += piece.size();
          },
          threads);
    });
    if (package_error) {
      copy.state = RedirectCopy::State::kPackageUnreadable;
      copy.reason = *package_error;
    } else {
      same = same && position == package->size();
      copy.state = same ? RedirectCopy::State::kSame : RedirectCopy::State::kStale;
    }
  } catch (const QuarrixError& error) {
    copy.state = RedirectCopy::State::kBroken;
    copy.reason = ReasonOf(error, copy.copy_path);
  }
}

}  // namespace

void CompareRedirectCopies(std::span<RedirectCopy> copies, unsigned threads) {
  std::vector<RedirectCopy*> small;
  for (RedirectCopy& copy : copies) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(copy.copy_path, error);
    if (!error && size >= kLargeCopy) {
      Compare(copy, threads);
    } else {
      small.push_back(&copy);
    }
  }
  std::size_t next = 0;
  struct NoState {};
  RunInOrder<RedirectCopy*, NoState>(
      WorkerThreads(threads, small.size()), 4,
      [&](RedirectCopy*& slot) {
        if (next == small.size()) return false;
        slot = small[next++];
        return true;
      },
      [](NoState&, RedirectCopy* slot) { Compare(*slot, 1); }, [](RedirectCopy*) {});
}

}  // namespace quarrix
