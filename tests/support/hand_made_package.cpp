#include "support/hand_made_package.h"

#include <cctype>

namespace quarrix::testing {

std::string FromHex(std::string_view hex) {
  std::string bytes;
  int high = -1;
  for (const char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10;
    if (high < 0) {
      high = digit;
    } else {
      bytes += static_cast<char>(high * 16 + digit);
      high = -1;
    }
  }
  return bytes;
}

const std::string kHandMadePackage = FromHex(
    // 0: tag, version 128, licensee 29, flags; names 13 at 64; exports 1 at 311; imports 2 at
    // 215; GUID; one generation of 1 export and 13 names.
    "C1832A9E 8000 1D00 01000000 0D000000 40000000 01000000 37010000 02000000 D7000000"
    "00000000000000000000000000000000 01000000 01000000 0D000000"
    // 64: names: None Core Engine Package Class Sound WAV Hand BaseRadius Beep Looping Vector
    // Location, each a length byte, the characters, a zero byte and the flags 0x00070010.
    "05 4E6F6E65 00 10000700   05 436F7265 00 10000700   07 456E67696E65 00 10000700"
    "08 5061636B616765 00 10000700   06 436C617373 00 10000700   06 536F756E64 00 10000700"
    "04 574156 00 10000700   05 48616E64 00 10000700   0B 4261736552616469757300 10000700"
    "05 42656570 00 10000700   08 4C6F6F70696E67 00 10000700   07 566563746F72 00 10000700"
    "09 4C6F636174696F6E 00 10000700"
    // 215: imports: Core.Package Engine; Core.Class Sound in Engine.
    "01 03 00000000 02   01 04 FFFFFFFF 05"
    // 229: Beep's data. BaseRadius: float (type 4, size code 2), 300.0.
    "08 24 00009643"
    // Looping: bool (type 3, size code 0) with bit 7 set: true, and no value bytes.
    "0A 83"
    // Location: struct (type 10, size code 3: 12 bytes) of the struct Vector, 12 zero bytes.
    "0C 3A 0B 000000000000000000000000"
    // None; format WAV; the float 1.0; the end offset 311; the audio size 48.
    "00 06 0000803F 37010000 30"
    // 263: the audio: RIFF, 40, WAVE, fmt chunk of 16 (PCM, 1 channel, 8000 Hz, 8000 bytes
    // per second, block 1, 8 bits), data chunk of 4 bytes.
    "52494646 28000000 57415645 666D7420 10000000 0100 0100 401F0000 401F0000 0100 0800"
    "64617461 04000000 80FF0080"
    // 311: the export: class -2 (Engine.Sound), super 0, outer 0, name 9 (Beep), flags
    // 0x00070004, serial size 82, serial offset 229.
    "82 00 00000000 09 04000700 5201 6503");

}  // namespace quarrix::testing
