// The .uz2 reader and writer: round trips at the chunk edges, files written by hand from the
// format notes and by zlib with other levels and chunk sizes, every kind of break with its
// message, and reads that inflate only the chunks they need.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>

#include "extract/package_tables.h"
#include "extract/sound_reader.h"
#include "extract/uz2_package_bytes.h"
#include "extract/uz2_writer.h"
#include "support/error_of.h"
#include "support/hand_made_package.h"
#include "support/large_packages.h"
#include "support/temp_dir.h"
#include "support/uz2_files.h"

namespace quarrix {
namespace {

using testing::ErrorOf;
using testing::FromHex;
using testing::ZlibUz2;

const std::string& BigPackage() {
  static const std::string bytes = testing::MakeLargeSoundPackage("Big", 10 << 20, 1);
  return bytes;
}

std::string LittleEndian32(std::uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string Fields(std::uint32_t compressed, std::uint32_t uncompressed) {
  return LittleEndian32(compressed) + LittleEndian32(uncompressed);
}

// A zlib stream written from RFC 1950 and 1951: the header 78 01, `empty` empty stored blocks,
// the data in stored blocks of at most `block` bytes, the Adler-32 of the data big-endian.
std::string StoredStream(std::string_view data, std::size_t block = 65'535, int empty = 0) {
  std::string out = "\x78\x01";
  const auto stored = [&out](std::string_view part, bool last) {
    const auto length = static_cast<std::uint16_t>(part.size());
    out += static_cast<char>(last ? 1 : 0);
    out += LittleEndian32(length | (static_cast<std::uint32_t>(~length & 0xFFFF) << 16));
    out += part;
  };
  for (int i = 0; i < empty; ++i) stored({}, data.empty() && i == empty - 1);
  for (std::size_t at = 0; at < data.size(); at += block) {
    stored(data.substr(at, block), at + block >= data.size());
  }
  std::uint32_t a = 1, b = 0;
  for (const char c : data) {
    a = (a + static_cast<unsigned char>(c)) % 65521;
    b = (b + a) % 65521;
  }
  const std::uint32_t adler = (b << 16) | a;
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((adler >> shift) & 0xFF);
  return out;
}

std::string Chunk(std::string_view stream, std::size_t uncompressed) {
  return Fields(static_cast<std::uint32_t>(stream.size()),
                static_cast<std::uint32_t>(uncompressed)) +
         std::string(stream);
}

std::string Compressed(std::string_view package, unsigned threads) {
  std::string out;
  CompressedPackagePieces(package, threads)([&out](std::string_view piece) { out += piece; });
  return out;
}

std::string Unpacked(Uz2Reader& reader, unsigned threads = 0) {
  std::string out;
  reader.ReadAll([&out](std::string_view piece) { out += piece; }, threads);
  return out;
}

// Full chunks of stored blocks: each takes 32,787 bytes of the file.
std::string StoredUz2(std::string_view package) {
  std::string uz2;
  for (std::size_t at = 0; at < package.size(); at += 32'768) {
    uz2 += Chunk(StoredStream(package.substr(at, 32'768)), 32'768);
  }
  return uz2;
}

// Two chunks written by hand: "Quoom" in one stored block, "Trig" in two.
const std::string kHandMadeUz2 = FromHex(
    "10000000 05000000  7801  01 0500 faff 51756f6f6d  06060212"
    "14000000 04000000  7801  00 0200 fdff 5472  01 0200 fdff 6967  03e30197");

TEST(Uz2, RoundTripsAtTheChunkEdgesAsZlibCompressesEachChunkAtLevel9) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{32'767}, std::size_t{32'768},
                                 std::size_t{32'769}, BigPackage().size()}) {
    SCOPED_TRACE(size);
    const std::string package = BigPackage().substr(0, size);
    const std::string uz2 = Compressed(package, 1);
    EXPECT_EQ(uz2, ZlibUz2(package, 32'768, 9));
    EXPECT_EQ(Compressed(package, 3), uz2);
    Uz2Reader reader(uz2, "Big.uax.uz2");
    EXPECT_EQ(reader.size(), size);
    EXPECT_EQ(Unpacked(reader), package);
    EXPECT_TRUE(reader.InflatesTo(package));
    EXPECT_FALSE(reader.InflatesTo(package + "x"));
    if (size > 0) {
      EXPECT_FALSE(reader.InflatesTo(package.substr(0, size - 1) + "x"));
    }
  }
}

TEST(Uz2, ReadsFilesOfOtherWritersChunkingsAndLevels) {
  const std::string data = BigPackage().substr(0, 100'000);
  const std::string limit_chunk = BigPackage().substr(0, 32'765);
  std::string bytewise;  // 1-byte chunks over 70,000 bytes of package
  for (const char c : BigPackage().substr(0, 70'000)) bytewise += Chunk(StoredStream({&c, 1}), 1);
  struct Row {
    const char* writer;
    std::string uz2;
    std::string package;
  } rows[] = {
      {"by hand", kHandMadeUz2, "QuoomTrig"},
      {"level 1, 10,000-byte chunks", ZlibUz2(data, 10'000, 1), data},
      {"level 0, 32,768-byte chunks", ZlibUz2(data, 32'768, 0), data},
      {"level 6, 1-byte chunks", ZlibUz2(data.substr(0, 50), 1, 6), data.substr(0, 50)},
      {"stored, 1-byte chunks", bytewise, BigPackage().substr(0, 70'000)},
      {"the largest chunk: 33,096 bytes in 65 stored blocks",
       Chunk(StoredStream(limit_chunk, 508), limit_chunk.size()), limit_chunk},
  };
  EXPECT_EQ(rows[5].uz2.size(), 8u + 33'096);
  for (Row& row : rows) {
    SCOPED_TRACE(row.writer);
    Uz2Reader reader(row.uz2, "Other.uz2");
    EXPECT_EQ(reader.size(), row.package.size());
    EXPECT_EQ(reader.Read(3, 4), row.package.substr(3, 4));
    const std::size_t middle = row.package.size() / 2;
    EXPECT_EQ(reader.Read(middle, 40'000), row.package.substr(middle, 40'000));
    EXPECT_EQ(Unpacked(reader), row.package);
  }
}

TEST(Uz2, EachBreakNamesItsChunkAndWhereItStarts) {
  const std::string& good = kHandMadeUz2;  // chunk 2 at byte 24, 52 bytes in all
  const std::string quoom = StoredStream("Quoom");
  const std::string trig = good.substr(32);
  std::string too_much;
  for (int i = 0; i < 32'769; ++i) too_much += Fields(1, 32'768) + "x";
  std::string two_broken = StoredUz2(BigPackage().substr(0, 10 * 32'768));
  for (const int chunk : {4, 8}) two_broken[(chunk + 1) * 32'787 - 1] ^= 1;  // Adler-32
  struct Row {
    const char* fault;
    std::string uz2;
    const char* where;
    bool in_size_fields;  // size() finds it too
  } rows[] = {
      {"cut inside a size field", good.substr(0, 29), "chunk 2 at byte 24", true},
      {"cut inside a stream", good.substr(0, 40), "chunk 2 at byte 24", true},
      {"a byte after the last chunk", good + "\x01", "chunk 3 at byte 52", true},
      {"8 bytes after the last chunk", good + std::string(8, '\0'), "chunk 3 at byte 52", true},
      {"uncompressed 0", Fields(16, 0) + quoom, "chunk 1 at byte 0", true},
      {"uncompressed 32,769", Fields(16, 32'769) + quoom, "chunk 1 at byte 0", true},
      {"compressed 0", Fields(0, 5) + quoom, "chunk 1 at byte 0", true},
      {"compressed 33,097", Fields(33'097, 32'768) + std::string(33'097, 'x'), "chunk 1 at byte 0",
       true},
      {"over 1 GiB in all", too_much, "chunk 32769 at byte 294912", true},
      {"inflates short", good.substr(0, 24) + Fields(20, 5) + trig, "chunk 2 at byte 24", false},
      {"inflates long", good.substr(0, 24) + Fields(20, 3) + trig, "chunk 2 at byte 24", false},
      {"a bad Adler-32", good.substr(0, 51) + "\x96", "chunk 2 at byte 24", false},
      {"a byte after the stream", Fields(17, 5) + quoom + "x", "chunk 1 at byte 0", false},
      {"no zlib stream", Fields(5, 5) + "Quoom", "chunk 1 at byte 0", false},
      {"chunks 5 and 9 broken", two_broken, "chunk 5 at byte 131148", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fault);
    const std::string message = "Cannot read file Broken.uax.uz2: broken compressed package (" +
                                std::string(row.where) + ")";
    Uz2Reader reader(row.uz2, "Broken.uax.uz2");
    EXPECT_EQ(ErrorOf<CompressedPackageError>([&] { reader.size(); }),
              row.in_size_fields ? message : "no error");
    for (const unsigned threads : {1u, 3u}) {
      EXPECT_EQ(ErrorOf<CompressedPackageError>([&] { Unpacked(reader, threads); }), message);
    }
  }
}

TEST(Uz2, ReadsInflateOnlyTheChunksThatHoldTheBytes) {
  const std::string package = BigPackage().substr(0, 128 * 32'768);
  testing::TempDir dir;
  const std::string path = dir.Write("Lazy.uax.uz2", StoredUz2(package));
  std::uint64_t read_end = 0;
  int reads = 0;
  SetFileReadObserverForTesting([&](const std::string&, std::uint64_t offset, std::size_t length) {
    read_end = std::max<std::uint64_t>(read_end, offset + length);
    ++reads;
  });
  Uz2Reader reader(path);
  EXPECT_EQ(reader.Read(0, 1'000'000), package.substr(0, 1'000'000));
  EXPECT_EQ(reader.inflated_chunks(), 31u);
  EXPECT_EQ(read_end, 31u * 32'787 + 8);  // 31 chunks and the next one's size fields
  EXPECT_EQ(reads, 32);
  // Reads in order inflate each chunk once: chunk 30 is kept, 31 to 39 are new.
  for (std::uint64_t at = 1'000'000; at + 5'000 <= 40 * 32'768; at += 5'000) {
    EXPECT_EQ(reader.Read(at, 5'000), package.substr(at, 5'000));
  }
  EXPECT_EQ(reader.inflated_chunks(), 40u);
  EXPECT_EQ(reader.size(), package.size());
  EXPECT_EQ(reader.inflated_chunks(), 40u);
  SetFileReadObserverForTesting({});
}

TEST(Uz2, TheTableAndSoundReadersReadACompressedPackageAsThePackage) {
  testing::TempDir dir;
  const std::string& package = BigPackage();
  const std::string path = dir.Write("Big.uax", package);
  RangedFile file(path);
  WriteFileAtomic(path + ".uz2", CompressedPackagePieces(file));
  PackageUz2Bytes compressed(path + ".uz2", Uz2Check::kEveryChunk);
  PackageFileBytes plain(path);
  const PackageTables tables = ReadPackageTables(compressed, "Big.uax.uz2");
  const PackageTables expected = ReadPackageTables(plain, "Big.uax");
  EXPECT_EQ(tables.file_size, package.size());
  EXPECT_EQ(tables.names, expected.names);
  EXPECT_EQ(tables.exports, expected.exports);
  const std::vector<SoundExport> sounds = FindSoundExports(tables);
  ASSERT_EQ(sounds.size(), 40u);
  for (const SoundExport* sound : {&sounds.front(), &sounds.back()}) {
    const SoundAudio audio = LocateSoundAudio(compressed, tables, *sound);
    EXPECT_EQ(audio, LocateSoundAudio(plain, expected, *sound));
    EXPECT_EQ(ReadSoundAudio(compressed, tables, *sound, audio),
              package.substr(audio.offset, audio.size));
  }
  // Only readers of the whole package check every chunk when they start.
  const std::string trailing = kHandMadeUz2 + "x";
  for (const Uz2Check check : {Uz2Check::kAsRead, Uz2Check::kEveryChunk}) {
    EXPECT_EQ(ErrorOf<CompressedPackageError>(
                  [&] { PackageUz2Bytes unused(Uz2Reader(trailing, "B.uz2"), check); }),
              check == Uz2Check::kAsRead
                  ? "no error"
                  : "Cannot read file B.uz2: broken compressed package (chunk 3 at byte 52)");
  }
}

TEST(Uz2, CompressingAFileThatShrinksMeanwhileFailsOnAnyNumberOfThreads) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows lets nobody shorten a file that is open for reading";
#endif
  testing::TempDir dir;
  const std::string path = dir.Write("Shrinks.uax", BigPackage().substr(0, 1'000'000));
  for (const unsigned threads : {1u, 2u}) {
    RangedFile package(path);
    std::filesystem::resize_file(path, 500'000);
    EXPECT_EQ(ErrorOf<FileOpenError>(
                  [&] { CompressedPackagePieces(package, threads)([](std::string_view) {}); }),
              "Cannot open file " + path);
    std::filesystem::resize_file(path, 1'000'000);
  }
}

TEST(Uz2, APathIsCompressedWhenItsNameEndsInUz2) {
  struct Row {
    const char* path;
    bool compressed;
    const char* package;
  } rows[] = {
      {"AmbCity.uax.uz2", true, "AmbCity.uax"},
      {"/srv/redirect/AmbCity.UAX.Uz2", true, "/srv/redirect/AmbCity.UAX"},
      {"AmbCity.uax", false, "AmbCity.uax"},
      {"AmbCity.uz2.uax", false, "AmbCity.uz2.uax"},
      {"AmbCity.uz2 ", false, "AmbCity.uz2 "},
      {"uz2", false, "uz2"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(IsCompressedPackagePath(row.path), row.compressed) << row.path;
    EXPECT_EQ(PackagePathOf(row.path), row.package);
  }
  EXPECT_EQ(CompressedPathOf("AmbCity.uax"), "AmbCity.uax.uz2");
}

}  // namespace
}  // namespace quarrix
