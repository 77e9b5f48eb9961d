#include "controls/check_images.h"

#include <stdexcept>

namespace quarrix {
namespace {

using Rows = std::array<std::string_view, kCheckImageSize>;

// '.' transparent, D dark grey, K black, S silver, o white, B blue, N navy.
constexpr Rows kBlank = {
    "................", ".DDDDDDDDDDDDDo.", ".DKKKKKKKKKKKSo.", ".DKooooooooooSo.",
    ".DKooooooooooSo.", ".DKooooooooooSo.", ".DKooooooooooSo.", ".DKooooooooooSo.",
    ".DKooooooooooSo.", ".DKooooooooooSo.", ".DKooooooooooSo.", ".DKooooooooooSo.",
    ".DKooooooooooSo.", ".DSSSSSSSSSSSSo.", ".oooooooooooooo.", "................"};

constexpr Rows kBlankFlat = {
    "................", "................", "..DDDDDDDDDDDD..", "..DooooooooooD..",
    "..DooooooooooD..", "..DooooooooooD..", "..DooooooooooD..", "..DooooooooooD..",
    "..DooooooooooD..", "..DooooooooooD..", "..DooooooooooD..", "..DooooooooooD..",
    "..DooooooooooD..", "..DDDDDDDDDDDD..", "................", "................"};

constexpr Rows kCheckOk = {
    "...............B", ".............BBN", "............BBN.", "...........BBN..",
    "..........BBN...", ".........BBBN...", "...BN....BBN....", "...BBBN.BBBN....",
    "....BBBBBBN.....", ".....BBBBBN.....", "......BBBN......", "......BBBN......",
    ".......BN.......", "................", "................", "................"};

Rgb ColourOf(char code) {
  switch (code) {
    case '.':
      return kClFuchsia;
    case 'D':
      return kClGray;
    case 'K':
      return kClBlack;
    case 'S':
      return kClSilver;
    case 'o':
      return kClWhite;
    case 'B':
      return kClBlue;
    case 'N':
      return kClNavy;
    default:
      throw std::logic_error("check image table holds an unknown colour code");
  }
}

CheckImagePixels FromRows(const Rows& rows) {
  CheckImagePixels pixels{};
  for (int y = 0; y < kCheckImageSize; ++y) {
    for (int x = 0; x < kCheckImageSize; ++x) {
      pixels[static_cast<std::size_t>(y * kCheckImageSize + x)] =
          ColourOf(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    }
  }
  return pixels;
}

// The disabled look: the box with its white interior (rows and columns 3 to 12) made
// transparent.
CheckImagePixels Hollow(CheckImagePixels pixels) {
  for (int y = 3; y <= 12; ++y) {
    for (int x = 3; x <= 12; ++x) {
      pixels[static_cast<std::size_t>(y * kCheckImageSize + x)] = kClFuchsia;
    }
  }
  return pixels;
}

}  // namespace

std::optional<CheckImagePixels> CheckImage(std::string_view name) {
  if (name == "Blank") return FromRows(kBlank);
  if (name == "Enabled") return Hollow(FromRows(kBlank));
  if (name == "BlankFlat") return FromRows(kBlankFlat);
  if (name == "EnabledFlat") return Hollow(FromRows(kBlankFlat));
  if (name == "CheckOk") return FromRows(kCheckOk);
  return std::nullopt;
}

}  // namespace quarrix
