#pragma once
// A line list laid over another that holds every change until Commit, so a command can build
// its result in steps that may fail and change the real list only once all of them succeeded.
#include <string>
#include <string_view>
#include <vector>

#include "editor/line_list.h"

namespace quarrix {

class StagedLineList final : public LineList {
 public:
  // Reads through to base; base must not change while this list is in use.
  explicit StagedLineList(LineList& base);

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, std::string_view line) override;
  int Append(std::string_view line) override;
  void Clear() override;
  void Delete(int index) override;

  // Makes base hold this list's lines: the base lines after the first one changed are deleted
  // from the last on (all of them by one Clear), then the staged lines appended. Changes near
  // the end cost only what they changed; the same calls a direct build would have made.
  void Commit();

 private:
  // The base lines from index on move into the staged part before they are changed.
  void Unstage(int index);

  LineList& base_;
  int kept_;                         // base lines 0 .. kept_ - 1 stay as they are
  std::vector<std::string> staged_;  // the lines after them
};

}  // namespace quarrix
