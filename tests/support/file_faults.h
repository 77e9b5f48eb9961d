#pragma once
// Injects file faults (runtime/file_io.h) for as long as it lives, and clears them however a
// test ends.
#include <utility>

#include "runtime/file_io.h"

namespace quarrix::testing {

class FaultGuard {
 public:
  explicit FaultGuard(FileFaults faults) { SetFileFaultsForTesting(std::move(faults)); }
  FaultGuard(const FaultGuard&) = delete;
  FaultGuard& operator=(const FaultGuard&) = delete;
  ~FaultGuard() { SetFileFaultsForTesting({}); }
};

}  // namespace quarrix::testing
