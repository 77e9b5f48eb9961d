#pragma once
// A sound package written by hand in hex from docs/package-format.md, not by the package
// writer of tests/support, so a misreading that the writer and a reader share cannot pass:
// a UT2004 package (version 128, licensee 29) with 13 names, two imports and one Sound
// export, Beep, whose data holds a float, a bool with no value bytes and a struct, then an
// 8-bit WAV file of 4 samples at 8000 Hz. Both readers (the name walk and the table reader)
// and the sound reader read it. hand_made_package.cpp holds the bytes with their offsets.
#include <cstddef>
#include <string>
#include <string_view>

namespace quarrix::testing {

// The bytes of hex digits; blanks and everything else that is no hex digit are skipped.
std::string FromHex(std::string_view hex);

// The 326 bytes of the package.
extern const std::string kHandMadePackage;

// Where Beep's audio lies: a RIFF WAVE file of 48 bytes at offset 263.
inline constexpr std::size_t kHandMadeAudioAt = 263;
inline constexpr std::size_t kHandMadeAudioSize = 48;

}  // namespace quarrix::testing
