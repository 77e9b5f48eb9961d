#include "controls/check_images.h"

#include <gtest/gtest.h>

#include <string>

namespace quarrix {
namespace {

// Renders an image back into the table notation, one row per string.
std::string Row(const CheckImagePixels& pixels, int y) {
  std::string row;
  for (int x = 0; x < kCheckImageSize; ++x) {
    const Rgb p = pixels[static_cast<std::size_t>(y * kCheckImageSize + x)];
    if (p == kClFuchsia)
      row += '.';
    else if (p == kClGray)
      row += 'D';
    else if (p == kClBlack)
      row += 'K';
    else if (p == kClSilver)
      row += 'S';
    else if (p == kClWhite)
      row += 'o';
    else if (p == kClBlue)
      row += 'B';
    else if (p == kClNavy)
      row += 'N';
    else
      row += '?';
  }
  return row;
}

TEST(CheckImages, EveryNamedImageExistsWithAFuchsiaKeyPixel) {
  for (std::string_view name : kCheckImageNames) {
    const auto image = CheckImage(name);
    ASSERT_TRUE(image.has_value()) << name;
    EXPECT_EQ((*image)[15 * 16 + 0], kClFuchsia) << name;
  }
  EXPECT_FALSE(CheckImage("blank").has_value());
  EXPECT_FALSE(CheckImage("Checked").has_value());
}

TEST(CheckImages, RowsMatchTheDrawings) {
  struct Case {
    const char* name;
    int row;
    const char* text;
  };
  const Case cases[] = {
      {"Blank", 0, "................"},       {"Blank", 1, ".DDDDDDDDDDDDDo."},
      {"Blank", 2, ".DKKKKKKKKKKKSo."},       {"Blank", 7, ".DKooooooooooSo."},
      {"Blank", 13, ".DSSSSSSSSSSSSo."},      {"Blank", 14, ".oooooooooooooo."},
      {"Enabled", 2, ".DKKKKKKKKKKKSo."},     {"Enabled", 3, ".DK..........So."},
      {"Enabled", 12, ".DK..........So."},    {"Enabled", 13, ".DSSSSSSSSSSSSo."},
      {"BlankFlat", 1, "................"},   {"BlankFlat", 2, "..DDDDDDDDDDDD.."},
      {"BlankFlat", 5, "..DooooooooooD.."},   {"BlankFlat", 13, "..DDDDDDDDDDDD.."},
      {"EnabledFlat", 4, "..D..........D.."}, {"EnabledFlat", 14, "................"},
      {"CheckOk", 0, "...............B"},     {"CheckOk", 1, ".............BBN"},
      {"CheckOk", 5, ".........BBBN..."},     {"CheckOk", 6, "...BN....BBN...."},
      {"CheckOk", 7, "...BBBN.BBBN...."},     {"CheckOk", 8, "....BBBBBBN....."},
      {"CheckOk", 12, ".......BN......."},    {"CheckOk", 13, "................"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Row(*CheckImage(c.name), c.row), c.text) << c.name << " row " << c.row;
  }
}

TEST(CheckImages, HollowImagesDifferFromTheirBoxesOnlyInTheInterior) {
  const std::pair<const char*, const char*> pairs[] = {{"Blank", "Enabled"},
                                                       {"BlankFlat", "EnabledFlat"}};
  for (const auto& [box, hollow] : pairs) {
    const CheckImagePixels a = *CheckImage(box);
    const CheckImagePixels b = *CheckImage(hollow);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * 16 + x);
        const bool interior = x >= 3 && x <= 12 && y >= 3 && y <= 12;
        EXPECT_EQ(a[i], interior ? kClWhite : b[i]) << box << " " << x << "," << y;
        if (interior) {
          EXPECT_EQ(b[i], kClFuchsia) << hollow << " " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quarrix
