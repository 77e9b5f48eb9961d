#include "extract/trigger_entry.h"

#include <gtest/gtest.h>

#include "extract/trigger_list.h"

namespace quarrix {
namespace {

struct BuiltCase {
  TriggerOptions options;
  std::string sound;
  int variants;
  std::string file;
  TriggerEntry expected;
};

// Every line the list builder writes is read back to the values it was built from.
TEST(ParseTriggerEntry, ReadsBackWhatTheBuilderWrites) {
  const BuiltCase cases[] = {
      {{}, "Laugh", 3, "Fun.uax", {"Laugh", "Laugh", true, false, false, "3", "Fun.uax"}},
      {{.no_trigger_names = true}, "Go", 0, "A.uax", {"Go", "", true, false, false, "0", "A.uax"}},
      {{.dedicated = false}, "Go", 12, "A.uax", {"Go", "Go", false, false, false, "12", "A.uax"}},
      {{.hide_in_menu = true}, "Go", 2, "A.uax", {"Go", "Go", true, true, false, "2", "A.uax"}},
      {{.admin_only = true}, "Go", 2, "A.uax", {"Go", "Go", true, false, true, "2", "A.uax"}},
      {{.no_random = true}, "Go", 0, "A.uax", {"Go", "Go", true, false, false, "0", "A.uax"}},
      {{.no_trigger_names = true, .dedicated = false, .hide_in_menu = true, .admin_only = true},
       "Go",
       100,
       "A.uax",
       {"Go", "", false, true, true, "100", "A.uax"}},
      // Nothing is escaped: quotes, parentheses and commas stay in the values.
      {{},
       "Say \"hi\"",
       0,
       "a\"b c.uax",
       {"Say \"hi\"", "Say \"hi\"", true, false, false, "0", "a\"b c.uax"}},
      {{}, "x\",y", 0, "Q\").uax", {"x\",y", "x\",y", true, false, false, "0", "Q\").uax"}},
      {{}, "m\xE9lo", 0, "", {"m\xE9lo", "m\xE9lo", true, false, false, "0", ""}},
  };
  for (const BuiltCase& c : cases) {
    const std::string line = TriggerEntryFormat(c.options, c.file).Entry(c.sound, c.variants);
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

TEST(ParseTriggerEntry, RefusesEveryLineThatBreaksTheShape) {
  const std::string lines[] = {
      "",
      "[QuoomTriggers]",
      " " + kGood,
      kGood + " ",
      kGood + "\r",
      kGood.substr(0, kGood.size() - 1),
      kGood.substr(0, kGood.size() - 2) + ")",
      Changed("Quooms=", "quooms="),
      Changed("SoundName", "Soundname"),
      Changed("\",TriggerName=\"", "\", TriggerName=\""),
      Changed("\",DedicatedOnly=", "\",DedicatedOnly ="),
      Changed("=True", "=true"),
      Changed("=True", "=1"),
      Changed("HideInMenu=False", "HideInMenu=Fals"),
      Changed("AdminOnly=False", "AdminOnly="),
      Changed("Random=3", "Random="),
      Changed("Random=3", "Random=-3"),
      Changed("Random=3", "Random=3x"),
      Changed("Random=3", "Random= 3"),
      Changed(",Filename=", ",FileName="),
      Changed(",AdminOnly=False", ""),
      "Quooms=(SoundName=\"Laugh\",TriggerName=\"Laugh\")",
  };
  for (const std::string& line : lines) EXPECT_EQ(ParseTriggerEntry(line), std::nullopt) << line;
}

struct ReadCase {
  std::string line;
  TriggerEntry expected;
};

// Values end at the first piece that can end them; the file name runs to the `")` at the end.
TEST(ParseTriggerEntry, ReadsLeftToRight) {
  const ReadCase cases[] = {
      {Changed("TriggerName=\"Laugh", "TriggerName=\"a\",TriggerName=\"b"),
       {"Laugh", "a\",TriggerName=\"b", true, false, false, "3", "Fun.uax"}},
      {Changed("Fun.uax", "a\"),Filename=\"b"),
       {"Laugh", "Laugh", true, false, false, "3", "a\"),Filename=\"b"}},
      {Changed("SoundName=\"Laugh", "SoundName=\""),
       {"", "Laugh", true, false, false, "3", "Fun.uax"}},
      {Changed("Random=3", "Random=0042"),
       {"Laugh", "Laugh", true, false, false, "0042", "Fun.uax"}},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(ParseTriggerEntry(c.line), c.expected) << c.line;
}

}  // namespace
}  // namespace quarrix
