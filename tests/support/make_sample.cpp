// Writes the demo sound package: make_sample OUTPUT (the checked-in copy is samples/Demo.uax).
#include <cstdio>
#include <exception>

#include "runtime/file_io.h"
#include "support/package_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_sample OUTPUT\n", stderr);
    return 2;
  }
  try {
    quarrix::WriteFileAtomic(
        argv[1], quarrix::testing::WritePackage(quarrix::testing::MakeDemoPackage()).bytes);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_sample: %s\n", error.what());
    return 3;
  }
  return 0;
}
