// Fuzzes the decoder of recovery copies over arbitrary file bytes. Besides crashes and reads
// outside the bytes, it checks that a copy taken as whole is exactly what the encoder writes
// for what was decoded, so no two files decode to one copy.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "listedit/recovery_copy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const quarrix::DecodedRecovery decoded = quarrix::DecodeRecoveryCopy(bytes);
  if (decoded.fault != quarrix::RecoveryFault::kNone) return 0;
  if (quarrix::RecoveryHeader(decoded.copy) + decoded.copy.text != bytes) __builtin_trap();
  return 0;
}
