#include "extract/uz2_package_bytes.h"

#include <utility>

namespace quarrix {

PackageUz2Bytes::PackageUz2Bytes(const std::string& path, Uz2Check check)
    : PackageUz2Bytes(Uz2Reader(path), check) {}

PackageUz2Bytes::PackageUz2Bytes(Uz2Reader reader, Uz2Check check) : reader_(std::move(reader)) {
  if (check == Uz2Check::kEveryChunk) reader_.ReadAll([](std::string_view) {});
}

}  // namespace quarrix
