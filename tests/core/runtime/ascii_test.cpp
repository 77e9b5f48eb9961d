#include "runtime/ascii.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

TEST(AsciiCase, OnlyLettersAToZFold) {
  // The bytes either side of a..z, and a Windows-1252 letter, stay as they are.
  EXPECT_EQ(AsciiUpper("`az{ m\xE9lo AZ@[ \xFF"), "`AZ{ M\xE9LO AZ@[ \xFF");
  std::string reused = "longer than the text";
  AssignAsciiUpper(reused, "laugh1");
  EXPECT_EQ(reused, "LAUGH1");
}

TEST(AsciiCase, EqualIgnoringAsciiCase) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"Laugh", "LAUGH", true}, {"", "", true},           {"Laugh", "Laugh ", false},
      {"\xE9", "\xC9", false},  {"a.uax", "A.UAX", true}, {"`", "@", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace quarrix
