#pragma once
// The editor's line list as commands see it: the text's lines, changed without the change
// event and without undo, each change followed by the editor's view rules.
#include "editor/line_list.h"

namespace quarrix {

class TSynEdit;

class SynEditLines final : public LineList {
 public:
  explicit SynEditLines(TSynEdit& editor) : editor_(editor) {}

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, std::string_view line) override;
  int Append(std::string_view line) override;
  void Clear() override;
  void Delete(int index) override;
  std::vector<std::string> Snapshot() const override;
  void Assign(std::vector<std::string> lines) override;
  bool Rearrange(std::span<const std::uint32_t> picks,
                 std::span<const std::string_view> extras) override;

 private:
  TSynEdit& editor_;
};

}  // namespace quarrix
