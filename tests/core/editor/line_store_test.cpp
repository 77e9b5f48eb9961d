#include "editor/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/text_ops.h"

namespace quarrix {
namespace {

using Lines = std::vector<std::string>;

int Widest(const Lines& lines) {
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, DisplayWidth(line));
  return widest;
}

// The lines one after another in a block of their own, and views of them into that block,
// as a file's lines are held after it was read.
FileBlock BlockOf(const Lines& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line;
  FileBlock block{std::make_unique<char[]>(joined.size()), joined.size()};
  std::copy(joined.begin(), joined.end(), block.data.get());
  return block;
}
std::vector<std::string_view> ViewsOf(const Lines& lines, const FileBlock& block) {
  std::vector<std::string_view> views;
  const char* at = block.data.get();
  for (const std::string& line : lines) {
    views.emplace_back(at, line.size());
    at += line.size();
  }
  return views;
}

// Every read agrees with a plain vector that took the same changes.
void ExpectSame(const LineStore& store, const Lines& model, int step) {
  ASSERT_EQ(store.Count(), static_cast<int>(model.size())) << "step " << step;
  for (int i = 0; i < store.Count(); ++i) {
    ASSERT_EQ(store.At(i), model[static_cast<std::size_t>(i)]) << "step " << step;
  }
  ASSERT_EQ(store.WidestWidth(), Widest(model)) << "step " << step;
  ASSERT_EQ(store.Copy(), model) << "step " << step;
}

TEST(LineStore, WidestWidthCountsTabStopsAndFollowsRemovals) {
  LineStore store;
  EXPECT_EQ(store.WidestWidth(), 0);
  store.Assign(Lines{"abc", "a\tb", "abcdefghij"});
  EXPECT_EQ(store.WidestWidth(), 10);
  store.Replace(2, 1, {});
  EXPECT_EQ(store.WidestWidth(), 9);  // the tab runs to cell 8
  store.Set(1, "ab");
  EXPECT_EQ(store.WidestWidth(), 3);
  store.Append(std::string(1500, 'w'));  // rare widths are counted apart
  store.Append(std::string(1200, 'w'));
  EXPECT_EQ(store.WidestWidth(), 1500);
  store.Replace(2, 1, {});
  EXPECT_EQ(store.WidestWidth(), 1200);
  store.Set(2, "abcd");
  EXPECT_EQ(store.WidestWidth(), 4);
  store.Clear();
  EXPECT_EQ(store.WidestWidth(), 0);
}

TEST(LineStore, AFileBlockIsMeasuredWithOrWithoutTabsAndOutlivesEditsOfItsLines) {
  const struct {
    Lines lines;
    int widest;
  } cases[] = {
      {{"abc", "", "abcdefgh"}, 8},
      {{"a\tb", "abcdefgh"}, 9},
      {{std::string(1500, 'w'), "ab"}, 1500},
      {{}, 0},
  };
  for (const auto& c : cases) {
    LineStore store;
    FileBlock block = BlockOf(c.lines);
    std::vector<std::string_view> views = ViewsOf(c.lines, block);
    store.AssignBlock(std::move(block), std::move(views));
    EXPECT_EQ(store.WidestWidth(), c.widest);
    EXPECT_EQ(store.Copy(), c.lines);
  }
  LineStore store;
  const Lines lines = {"one", "two", "three"};
  FileBlock block = BlockOf(lines);
  std::vector<std::string_view> views = ViewsOf(lines, block);
  store.AssignBlock(std::move(block), std::move(views));
  store.Set(1, "2");
  store.Set(1, "second");  // an edited line replaced again frees its own copy
  store.Append("four");
  const std::string_view extras[] = {"[head]"};
  const std::uint32_t picks[] = {4, 2, 1, 0, 3};
  EXPECT_TRUE(store.Rearrange(picks, extras));
  EXPECT_EQ(store.Copy(), (Lines{"[head]", "three", "second", "one", "four"}));
}

TEST(LineStore, SpanGivesTheLinesInOrderAfterEditsInTheMiddle) {
  LineStore store;
  store.Assign(Lines{"a", "b", "c", "d"});
  const Lines two = {"x", "y"};
  store.Replace(1, 1, two);  // the gap now sits after "x"
  store.Replace(3, 1, {});
  const std::span<const std::string_view> span = store.Span();
  EXPECT_EQ(Lines(span.begin(), span.end()), (Lines{"a", "x", "y", "d"}));
  store.Append("e");
  EXPECT_EQ(store.Copy(), (Lines{"a", "x", "y", "d", "e"}));
}

// Random changes at random places, hundreds of lines inserted at one place (so the gap has
// to grow) and whole replacements, each checked against a vector.
TEST(LineStore, AgreesWithAVectorThroughRandomChanges) {
  std::mt19937 engine(7);
  const auto below = [&engine](int n) {
    return static_cast<int>(engine() % static_cast<unsigned>(n));
  };
  const auto line = [&] {
    std::string text(static_cast<std::size_t>(below(12)), 'a');
    if (below(4) == 0)
      text.insert(static_cast<std::size_t>(below(static_cast<int>(text.size()) + 1)), "\t");
    return text;
  };
  LineStore store;
  Lines model;
  for (int step = 0; step < 3000; ++step) {
    const int count = static_cast<int>(model.size());
    switch (below(10)) {
      case 0:
        if (below(20) == 0) {
          Lines lines(static_cast<std::size_t>(below(50)), "z");
          for (std::string& each : lines) each = line();
          model = lines;
          if (below(2) == 0) {
            store.Assign(lines);
          } else {
            FileBlock block = BlockOf(lines);
            std::vector<std::string_view> views = ViewsOf(lines, block);
            store.AssignBlock(std::move(block), std::move(views));
          }
        } else if (below(50) == 0) {
          model.clear();
          store.Clear();
        } else if (below(5) == 0) {
          // Some lines in a new order, the others dropped, an extra here and there.
          std::vector<std::uint32_t> picks(model.size());
          for (std::uint32_t i = 0; i < picks.size(); ++i) picks[i] = i;
          std::shuffle(picks.begin(), picks.end(), engine);
          picks.resize(static_cast<std::size_t>(below(count + 1)));
          const std::string extras[] = {line(), std::string(1100, 'e') + "\t"};
          const std::string_view extra_views[] = {extras[0], extras[1]};
          for (int added = below(3); added > 0; --added) {
            picks.push_back(static_cast<std::uint32_t>(model.size()) +
                            static_cast<std::uint32_t>(below(2)));
          }
          Lines rearranged;
          for (const std::uint32_t pick : picks) {
            rearranged.push_back(pick < model.size() ? model[pick] : extras[pick - model.size()]);
          }
          ASSERT_EQ(store.Rearrange(picks, extra_views), rearranged != model) << "step " << step;
          model = rearranged;
        }
        break;
      case 1:
        model.push_back(line());
        store.Append(model.back());
        break;
      case 2:
        if (count > 0) {
          const int index = below(count);
          model[static_cast<std::size_t>(index)] = line();
          store.Set(index, model[static_cast<std::size_t>(index)]);
        }
        break;
      default: {
        const int first = below(count + 1);
        const int removed = below(std::min(count - first, 4) + 1);
        Lines inserted(static_cast<std::size_t>(below(step % 500 == 0 ? 300 : 4)));
        for (std::string& each : inserted) each = line();
        model.erase(model.begin() + first, model.begin() + first + removed);
        model.insert(model.begin() + first, inserted.begin(), inserted.end());
        store.Replace(first, removed, inserted);
      }
    }
    ExpectSame(store, model, step);
    if (below(50) == 0) {
      const std::span<const std::string_view> span = store.Span();
      ASSERT_EQ(Lines(span.begin(), span.end()), model) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace quarrix
