// Writes sample sound packages:
//   make_sample OUTPUT                        the demo package (the checked-in samples/Demo.uax)
//   make_sample --sound-packages DIR OGG      the sound test packages, OGG the Ogg Vorbis file
//                                             they store (tests/data/tiny.ogg)
//   make_sample --browser-packages DIR OGG    the sound browser's sample packages
#include <cstdio>
#include <exception>
#include <string>

#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"

int main(int argc, char** argv) {
  const bool sound_packages = argc == 4 && std::string(argv[1]) == "--sound-packages";
  const bool browser_packages = argc == 4 && std::string(argv[1]) == "--browser-packages";
  if (argc != 2 && !sound_packages && !browser_packages) {
    std::fputs(
        "usage: make_sample OUTPUT | make_sample --sound-packages DIR OGG | make_sample "
        "--browser-packages DIR OGG\n",
        stderr);
    return 2;
  }
  try {
    if (sound_packages || browser_packages) {
      const std::string ogg = quarrix::ReadFileBytes(argv[3]);
      for (const auto& [name, bytes] : sound_packages
                                           ? quarrix::testing::MakeSoundTestPackages(ogg)
                                           : quarrix::testing::MakeBrowserPackages(ogg)) {
        quarrix::WriteFileAtomic(std::string(argv[2]) + "/" + name, bytes);
      }
    } else {
      quarrix::WriteFileAtomic(
          argv[1], quarrix::testing::WritePackage(quarrix::testing::MakeDemoPackage()).bytes);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_sample: %s\n", error.what());
    return 3;
  }
  return 0;
}
