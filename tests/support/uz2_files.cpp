#include "support/uz2_files.h"

#include <zlib.h>

#include <cstdint>
#include <stdexcept>

namespace quarrix::testing {
namespace {

void PutLittleEndian32(std::string& out, std::size_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string ZlibUz2(std::string_view data, std::size_t chunk, int level) {
  std::string out;
  for (std::size_t at = 0; at < data.size(); at += chunk) {
    const std::string_view part = data.substr(at, chunk);
    std::string stream(compressBound(static_cast<uLong>(part.size())), '\0');
    uLongf length = static_cast<uLongf>(stream.size());
    if (compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
                  reinterpret_cast<const Bytef*>(part.data()), part.size(), level) != Z_OK) {
      throw std::runtime_error("zlib could not compress a chunk");
    }
    PutLittleEndian32(out, length);
    PutLittleEndian32(out, part.size());
    out.append(stream, 0, length);
  }
  return out;
}

}  // namespace quarrix::testing
