#pragma once
// A Sounds that plays nothing and remembers every type asked for, so a test can assert
// the exact sounds a command gave.
#include <vector>

#include "platform/sounds.h"

namespace quarrix::testing {

class RecordingSounds final : public Sounds {
 public:
  void Play(int type) override { played.push_back(type); }
  std::vector<int> played;
};

}  // namespace quarrix::testing
