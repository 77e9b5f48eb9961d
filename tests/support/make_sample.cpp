// Writes sample sound packages:
//   make_sample OUTPUT                        the demo package (the checked-in samples/Demo.uax)
//   make_sample --sound-packages DIR OGG      the sound test packages, OGG the Ogg Vorbis file
//                                             they store (tests/data/tiny.ogg)
//   make_sample --browser-packages DIR OGG    the sound browser's sample packages
//   make_sample --large-packages DIR COUNT MIB COUNT packages PackN.uax of about MIB MiB
//                                             each, for the .uz2 timings (bench-uz2-cli)
#include <cstdio>
#include <exception>
#include <string>

#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "support/large_packages.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"

int main(int argc, char** argv) {
  const bool sound_packages = argc == 4 && std::string(argv[1]) == "--sound-packages";
  const bool browser_packages = argc == 4 && std::string(argv[1]) == "--browser-packages";
  const bool large_packages = argc == 5 && std::string(argv[1]) == "--large-packages";
  if (argc != 2 && !sound_packages && !browser_packages && !large_packages) {
    std::fputs(
        "usage: make_sample OUTPUT | make_sample --sound-packages DIR OGG | make_sample "
        "--browser-packages DIR OGG | make_sample --large-packages DIR COUNT MIB\n",
        stderr);
    return 2;
  }
  try {
    if (large_packages) {
      for (int i = 0; i < std::stoi(argv[3]); ++i) {
        const std::string name = "Pack" + std::to_string(i);
        quarrix::WriteFileAtomic(std::string(argv[2]) + "/" + name + ".uax",
                                 quarrix::testing::MakeLargeSoundPackage(
                                     name, static_cast<std::size_t>(std::stoi(argv[4])) << 20, i));
      }
    } else if (sound_packages || browser_packages) {
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
