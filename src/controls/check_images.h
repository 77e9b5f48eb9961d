#pragma once
// The five 16 x 16 images of the flat check box, pixel for pixel. The program keeps them
// as resources; these tables are where those images come from and what they are tested
// against.
#include <array>
#include <optional>
#include <string_view>

#include "controls/rgb.h"

namespace quarrix {

inline constexpr int kCheckImageSize = 16;
using CheckImagePixels = std::array<Rgb, kCheckImageSize * kCheckImageSize>;  // row by row

// "Blank", "Enabled", "BlankFlat", "EnabledFlat", "CheckOk".
inline constexpr std::array<std::string_view, 5> kCheckImageNames = {
    "Blank", "Enabled", "BlankFlat", "EnabledFlat", "CheckOk"};

// The image of that name, or nothing for any other name. In every image the bottom-left
// pixel holds the transparent colour (fuchsia).
std::optional<CheckImagePixels> CheckImage(std::string_view name);

}  // namespace quarrix
