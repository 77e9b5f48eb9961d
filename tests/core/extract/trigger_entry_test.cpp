#include "extract/trigger_entry.h"

#include <gtest/gtest.h>

#include "extract/trigger_list.h"

namespace quarrix {
namespace {

// Every option of the list builder, and names with quotes, parentheses and commas (entries
// escape nothing): what the builder writes is read back to the values it was built from.
TEST(ParseTriggerEntry, ReadsBackWhatTheBuilderWrites) {
  const struct {
    TriggerOptions options;
    std::string sound, file;
    TriggerEntry expected;
  } cases[] = {
      {{}, "Laugh", "Fun.uax", {"Laugh", "Laugh", true, false, false, "7", "Fun.uax"}},
      {{.no_trigger_names = true}, "Go", "A.uax", {"Go", "", true, false, false, "7", "A.uax"}},
      {{.dedicated = false}, "Go", "A.uax", {"Go", "Go", false, false, false, "7", "A.uax"}},
      {{.hide_in_menu = true}, "Go", "A.uax", {"Go", "Go", true, true, false, "7", "A.uax"}},
      {{.admin_only = true}, "Go", "A.uax", {"Go", "Go", true, false, true, "7", "A.uax"}},
      {{.no_trigger_names = true, .dedicated = false, .hide_in_menu = true, .admin_only = true},
       "Go",
       "A.uax",
       {"Go", "", false, true, true, "7", "A.uax"}},
      {{},
       "Say \"hi\"",
       "a\"b.uax",
       {"Say \"hi\"", "Say \"hi\"", true, false, false, "7", "a\"b.uax"}},
      {{}, "x\",y", "Q\").uax", {"x\",y", "x\",y", true, false, false, "7", "Q\").uax"}},
  };
  for (const auto& c : cases) {
    const std::string line = TriggerEntryFormat(c.options, c.file).Entry(c.sound, 7);
    EXPECT_EQ(ParseTriggerEntry(line), c.expected) << line;
  }
}

const std::string kGood =
    "Quooms=(SoundName=\"Laugh\",TriggerName=\"Laugh\",DedicatedOnly=True,HideInMenu=False,"
    "AdminOnly=False,Random=3,Filename=\"Fun.uax\")";

// kGood with its first `from` replaced by `to`.
std::string Changed(const std::string& from, const std::string& to) {
  std::string line = kGood;
  line.replace(line.find(from), from.size(), to);
  return line;
}

// Values end at the first piece that can end them, the file name at the `")` that ends the
// line; every other change to the shape makes the line no entry.
TEST(ParseTriggerEntry, ReadsLeftToRightAndRefusesAnyOtherShape) {
  const TriggerEntry good{"Laugh", "Laugh", true, false, false, "3", "Fun.uax"};
  const std::pair<std::string, std::optional<TriggerEntry>> cases[] = {
      {Changed("TriggerName=\"Laugh", "TriggerName=\"a\",TriggerName=\"b"),
       TriggerEntry{"Laugh", "a\",TriggerName=\"b", true, false, false, "3", "Fun.uax"}},
      {Changed("Fun.uax", "a\"),Filename=\"b"),
       TriggerEntry{"Laugh", "Laugh", true, false, false, "3", "a\"),Filename=\"b"}},
      {Changed("SoundName=\"Laugh", "SoundName=\""),
       TriggerEntry{"", "Laugh", true, false, false, "3", "Fun.uax"}},
      {Changed("Random=3", "Random=0042"),
       TriggerEntry{"Laugh", "Laugh", true, false, false, "0042", "Fun.uax"}},
      {kGood, good},
      {"", std::nullopt},
      {" " + kGood, std::nullopt},
      {kGood + " ", std::nullopt},
      {Changed("Quooms=", "quooms="), std::nullopt},
      {Changed("\",TriggerName=\"", "\", TriggerName=\""), std::nullopt},
      {Changed("=True", "=true"), std::nullopt},
      {Changed("Random=3", "Random="), std::nullopt},
      {Changed(",Filename=", ",FileName="), std::nullopt},
      {Changed(",AdminOnly=False", ""), std::nullopt},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(ParseTriggerEntry(line), expected) << line;
}

}  // namespace
}  // namespace quarrix
