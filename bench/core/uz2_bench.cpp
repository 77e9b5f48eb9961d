// Compressed packages (.uz2): compressing 200 MB of made packages on every core against
// single-threaded zlib level 9 over the same chunks (compare the two figures of one run),
// unpacking, and the lazy read of a 100 MB package's first 1,000,000 bytes. Each compression
// iteration takes seconds; run them with --benchmark_repetitions for a spread. Last, files of
// one-byte chunks, whose cost must grow only linearly.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "extract/uz2_reader.h"
#include "extract/uz2_writer.h"
#include "support/large_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

// Twenty packages of 10 MB of sounds and their names: about 210 MB.
const std::vector<std::string>& Packages() {
  static const std::vector<std::string> packages = [] {
    std::vector<std::string> made;
    for (int i = 0; i < 20; ++i) {
      made.push_back(testing::MakeLargeSoundPackage("Pack" + std::to_string(i), 10 << 20, i));
    }
    return made;
  }();
  return packages;
}

std::int64_t TotalSize(const std::vector<std::string>& files) {
  std::int64_t total = 0;
  for (const std::string& file : files) total += static_cast<std::int64_t>(file.size());
  return total;
}

std::string Compressed(const std::string& package) {
  std::string out;
  CompressedPackagePieces(package)([&out](std::string_view piece) { out += piece; });
  return out;
}

void ReportBytes(benchmark::State& state, std::int64_t input, double output) {
  state.SetBytesProcessed(state.iterations() * input);
  state.counters["output_bytes"] = output;
}

void BM_Uz2CompressOnEveryCore(benchmark::State& state) {
  const std::vector<std::string>& packages = Packages();
  double written = 0;
  for (auto _ : state) {
    written = 0;
    for (const std::string& package : packages) {
      CompressedPackagePieces(package)(
          [&written](std::string_view piece) { written += static_cast<double>(piece.size()); });
    }
  }
  ReportBytes(state, TotalSize(packages), written);
}
BENCHMARK(BM_Uz2CompressOnEveryCore)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// What the game's own tool does: compress2 at level 9 on each 32,768-byte chunk in turn.
void BM_Uz2CompressZlibOneThread(benchmark::State& state) {
  const std::vector<std::string>& packages = Packages();
  std::string stream(compressBound(32'768), '\0');
  double written = 0;
  for (auto _ : state) {
    written = 0;
    for (const std::string& package : packages) {
      for (std::size_t at = 0; at < package.size(); at += 32'768) {
        const std::string_view chunk = std::string_view(package).substr(at, 32'768);
        uLongf length = static_cast<uLongf>(stream.size());
        compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
                  reinterpret_cast<const Bytef*>(chunk.data()), chunk.size(), 9);
        written += static_cast<double>(length + 8);
      }
    }
  }
  ReportBytes(state, TotalSize(packages), written);
}
BENCHMARK(BM_Uz2CompressZlibOneThread)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The made packages compressed, each in a file of its own.
struct CompressedFiles {
  CompressedFiles() {
    for (std::size_t i = 0; i < Packages().size(); ++i) {
      paths.push_back(
          dir.Write("Pack" + std::to_string(i) + ".uax.uz2", Compressed(Packages()[i])));
    }
  }
  testing::TempDir dir;
  std::vector<std::string> paths;
};
const CompressedFiles& Uz2Files() {
  static const CompressedFiles files;
  return files;
}

void BM_Uz2UnpackFiles(benchmark::State& state) {
  const CompressedFiles& files = Uz2Files();
  std::uint64_t unpacked = 0;
  for (auto _ : state) {
    unpacked = 0;
    for (const std::string& path : files.paths) {
      Uz2Reader reader(path);
      reader.ReadAll([&unpacked](std::string_view piece) { unpacked += piece.size(); });
    }
  }
  if (unpacked != static_cast<std::uint64_t>(TotalSize(Packages()))) {
    state.SkipWithError("unpacked a different size");
  }
  ReportBytes(state, static_cast<std::int64_t>(unpacked), static_cast<double>(unpacked));
}
BENCHMARK(BM_Uz2UnpackFiles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The walk's read: the first 1,000,000 bytes of a 100 MB package, the file opened each time.
void BM_Uz2FirstMegabyteOf100MB(benchmark::State& state) {
  static const testing::TempDir dir;
  static const std::string path =
      dir.Write("Huge.uax.uz2", Compressed(testing::MakeLargeSoundPackage("Huge", 100 << 20, 7)));
  for (auto _ : state) {
    Uz2Reader reader(path);
    benchmark::DoNotOptimize(reader.Read(0, 1'000'000));
    if (reader.inflated_chunks() != 31) state.SkipWithError("inflated more than 31 chunks");
  }
}
BENCHMARK(BM_Uz2FirstMegabyteOf100MB)->Unit(benchmark::kMicrosecond);

// A file of one-byte chunks (20 bytes each) of 1 and 4 MB: the size walk and the unpacking
// grow with the file, in time and not in memory.
void BM_Uz2OneByteChunks(benchmark::State& state) {
  const auto chunks = static_cast<std::size_t>(state.range(0));
  testing::TempDir dir;
  std::string file;
  const std::string stream("\x78\x01\x01\x01\x00\xfe\xff\x41\x00\x42\x00\x42", 12);
  for (std::size_t i = 0; i < chunks; ++i) file += std::string("\x0c\0\0\0\x01\0\0\0", 8) + stream;
  const std::string path = dir.Write("Tiny.uz2", file);
  for (auto _ : state) {
    Uz2Reader reader(path);
    std::uint64_t unpacked = 0;
    reader.ReadAll([&unpacked](std::string_view piece) { unpacked += piece.size(); });
    if (unpacked != chunks) state.SkipWithError("unpacked a different size");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_Uz2OneByteChunks)->Arg(50'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
