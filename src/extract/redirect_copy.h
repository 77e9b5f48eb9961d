#pragma once
// Whether a redirect's compressed copy of a package (`F.uz2`) is the server's package: it must
// unpack cleanly to exactly the package's bytes. Many copies are compared on every core: each
// small one on a thread of its own, each large one on all threads in turn.
#include <span>
#include <string>

namespace quarrix {

struct RedirectCopy {
  std::string copy_path;     // the .uz2 in the redirect folder
  std::string package_path;  // the server's package (itself a .uz2 when the server holds one)

  enum class State { kSame, kStale, kBroken, kPackageUnreadable };
  // Set by CompareRedirectCopies.
  State state = State::kSame;
  // kBroken: the copy's reader's message after "Cannot read file PATH: " (or the whole message
  // when it has another form); kPackageUnreadable: the package reader's message.
  std::string reason;
};

// Compares each copy with its package on `threads` threads (0: one per processor). Never
// throws for a file that cannot be read: that is the copy's state.
void CompareRedirectCopies(std::span<RedirectCopy> copies, unsigned threads = 0);

}  // namespace quarrix
