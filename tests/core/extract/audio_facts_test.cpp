#include "extract/audio_facts.h"

#include <gtest/gtest.h>

#include <string>

#include "support/error_of.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::MakeWave;
using testing::WaveShape;

std::string Chunk(std::string id, std::string body) {
  const auto size = static_cast<std::uint32_t>(body.size());
  std::string chunk = std::move(id);
  for (int shift = 0; shift < 32; shift += 8) chunk += static_cast<char>((size >> shift) & 0xFF);
  chunk += body;
  if (body.size() % 2 == 1) chunk += '\0';
  return chunk;
}

TEST(WaveFacts, ComeFromTheFmtAndDataChunks) {
  const std::string mono = MakeWave({11025, 1, 8, 32, 0, ""});
  const std::string stereo = MakeWave({44100, 2, 16, 4410, 1, ""});
  const std::string deep = MakeWave({48000, 1, 24, 480, 2, ""});
  // An odd-sized chunk is padded to an even length before the next chunk.
  const std::string listed = MakeWave({22050, 1, 16, 441, 3, Chunk("LIST", "abc")});
  const std::string far_data =
      MakeWave({22050, 1, 16, 441, 3, Chunk("junk", std::string(90, 'j'))});
  // Players take the first fmt chunk; a second one changes nothing.
  const std::string second_fmt =
      MakeWave({8000, 1, 8, 80, 4, MakeWave({44100, 2, 16, 0, 0, ""}).substr(12, 24)});
  std::string silent_rate = mono;
  silent_rate.replace(28, 4, std::string(4, '\0'));  // a byte rate of 0
  struct Case {
    const char* what;
    std::string head;
    std::uint64_t size;
    AudioFacts facts;
  };
  const Case cases[] = {
      {"8-bit mono", mono, mono.size(), {11025, 1, 8, 32.0 / 11025}},
      {"16-bit stereo", stereo, stereo.size(), {44100, 2, 16, 0.1}},
      {"24-bit mono", deep, deep.size(), {48000, 1, 24, 0.01}},
      {"a chunk before the data", listed, listed.size(), {22050, 1, 16, 0.02}},
      {"data cut short",
       mono.substr(0, mono.size() - 10),
       mono.size() - 10,
       {11025, 1, 8, 22.0 / 11025}},
      {"data chunk past the head", far_data.substr(0, 60), far_data.size(), {22050, 1, 16, {}}},
      {"fmt fields past the head", mono.substr(0, 30), mono.size(), {}},
      {"a second fmt chunk", second_fmt, second_fmt.size(), {8000, 1, 8, 0.01}},
      {"a byte rate of 0", silent_rate, silent_rate.size(), {11025, 1, 8, {}}},
      {"bytes after the file's end ignored",
       mono + "RIFF",
       mono.size(),
       {11025, 1, 8, 32.0 / 11025}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    EXPECT_EQ(ReadWaveFacts(test.head, test.size), test.facts);
  }
}

TEST(WaveFacts, DataThatIsNoWaveFileIsAnError) {
  const std::string wave = MakeWave({});
  const std::string header = wave.substr(0, 12);
  const std::string fmt = wave.substr(12, 24);
  const std::string data = wave.substr(36);
  const std::pair<std::string, std::string> cases[] = {
      {"", "its WAV data is no RIFF WAVE file"},
      {"RIFF", "its WAV data is no RIFF WAVE file"},
      {"RIFX" + wave.substr(4), "its WAV data is no RIFF WAVE file"},
      {"RIFF\x04\0\0\0AVI " + wave.substr(12), "its WAV data is no RIFF WAVE file"},
      {header + data, "its WAV data has no fmt chunk"},
      {header + fmt, "its WAV data has no data chunk"},
      {header + fmt + "dat", "its WAV data has no data chunk"},
  };
  for (const auto& [bytes, problem] : cases) {
    EXPECT_EQ(testing::ErrorOf<AudioDataError>([&] { ReadWaveFacts(bytes, bytes.size()); }),
              problem)
        << bytes.size();
  }
}

TEST(VorbisFacts, ComeFromTheFirstAndTheLastPage) {
  const std::string ogg = testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  const std::size_t last_page = ogg.rfind("OggS");
  ASSERT_EQ(last_page, 3710u);
  std::string bad_last_page = ogg;
  bad_last_page[last_page + 40] ^= 1;
  const std::string look_alike = ogg + "OggS" + std::string(40, '\0');
  const AudioFacts whole{22050, 2, std::nullopt, 5512.0 / 22050};
  struct Case {
    const char* what;
    std::string head;
    std::string tail;
    AudioFacts facts;
  };
  const Case cases[] = {
      {"the whole stream", ogg, ogg, whole},
      {"its first and last bytes", ogg.substr(0, 100), ogg.substr(last_page - 5), whole},
      {"a tail without a whole page", ogg, ogg.substr(ogg.size() - 100), {22050, 2, {}, {}}},
      {"a look-alike page after the last", look_alike, look_alike, whole},
      // The page before it ends no audio packet: its granule position is 0.
      {"a last page with a wrong checksum", ogg, bad_last_page, {22050, 2, {}, 0.0}},
      // Thousands of would-be pages: the true ones are found by the prefix checksums.
      {"fake pages after the last", ogg, testing::WithFakeOggPages(ogg, 60000), whole},
      {"fake pages after a wrong last page",
       ogg,
       testing::WithFakeOggPages(bad_last_page, 60000),
       {22050, 2, {}, 0.0}},
      {"only fake pages", ogg, testing::WithFakeOggPages("", 65536), {22050, 2, {}, {}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    EXPECT_EQ(ReadVorbisFacts(test.head, test.tail), test.facts);
  }
}

TEST(VorbisFacts, AStreamWithoutAVorbisHeaderIsAnError) {
  const std::string ogg = testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  std::string opus = ogg;
  opus.replace(29, 6, "Opus..");
  std::string bad_checksum = ogg;
  bad_checksum[22] ^= 1;
  for (const std::string& head :
       {std::string(), std::string("OggS"), ogg.substr(1), opus, bad_checksum, ogg.substr(0, 50)}) {
    EXPECT_EQ(testing::ErrorOf<AudioDataError>([&] { ReadVorbisFacts(head, ogg); }),
              "its OGG data is no Ogg Vorbis stream")
        << head.size();
  }
}

}  // namespace
}  // namespace quarrix
