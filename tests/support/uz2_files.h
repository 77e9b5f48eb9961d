#pragma once
// .uz2 files made with zlib directly, chunk by chunk as the format notes say, not by our
// writer: what another tool would hand an admin.
#include <cstddef>
#include <string>
#include <string_view>

namespace quarrix::testing {

// The .uz2 of data: zlib's compress2 at `level` over chunks of `chunk` bytes, each behind its
// two little-endian size fields. The defaults are the game's own tool's.
std::string ZlibUz2(std::string_view data, std::size_t chunk = 32'768, int level = 9);

}  // namespace quarrix::testing
