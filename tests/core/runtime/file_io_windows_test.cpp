// Windows file sharing as other programs meet it: a trigger file is read while an editor
// holds it open, a package being read keeps writers out, a save over a file held open or
// marked read-only fails and loses nothing, and pipes are refused. Windows only.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listedit/trigger_file.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Slurp;
using testing::TempDir;

// Another program's handle on a file, held while the object lives.
class OtherHandle {
 public:
  OtherHandle(const std::string& path, DWORD access, DWORD share)
      : handle_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)),
        error_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS) {}
  OtherHandle(const OtherHandle&) = delete;
  OtherHandle& operator=(const OtherHandle&) = delete;
  ~OtherHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  // ERROR_SUCCESS when the file was opened.
  DWORD error() const { return error_; }

 private:
  HANDLE handle_;
  DWORD error_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

TEST(WindowsTriggerFile, IsReadWhileAnotherProgramHoldsItOpenForWriting) {
  TempDir dir;
  const std::string path = dir.Write("Q_Demo.txt", "[QuoomTriggers]\r\nA=B\r\n");
  const struct {
    const char* holder;
    DWORD access;
    DWORD share;
    bool readable;
  } cases[] = {
      {"writer sharing reads", GENERIC_WRITE, FILE_SHARE_READ, true},
      {"reader and writer sharing reads and writes", GENERIC_READ | GENERIC_WRITE,
       FILE_SHARE_READ | FILE_SHARE_WRITE, true},
      {"writer sharing everything", GENERIC_WRITE, kShareAll, true},
      {"writer sharing nothing", GENERIC_WRITE, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.holder);
    const OtherHandle other(path, c.access, c.share);
    ASSERT_EQ(other.error(), static_cast<DWORD>(ERROR_SUCCESS));
    if (c.readable) {
      const TriggerFileText text = ReadTriggerFile(path);
      EXPECT_EQ(text.lines, (std::vector<std::string>{"[QuoomTriggers]", "A=B", ""}));
      EXPECT_EQ(text.format, TSynEditFileFormat::sffDos);
    } else {
      EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadTriggerFile(path); }),
                "Cannot open file " + path);
    }
  }
}

TEST(WindowsPackageFile, ReadingKeepsWritersOutAndLetsReadersIn) {
  TempDir dir;
  const std::string path = dir.Write("Demo.uax", "package bytes");
  {
    RangedFile package(path);
    EXPECT_EQ(OtherHandle(path, GENERIC_WRITE, kShareAll).error(),
              static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(OtherHandle(path, GENERIC_READ, kShareAll).error(),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(package.Read(8, 5), "bytes");
  }
  EXPECT_EQ(OtherHandle(path, GENERIC_WRITE, kShareAll).error(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(WindowsPackageFile, APackageAnotherProgramIsWritingIsNotRead) {
  TempDir dir;
  const std::string path = dir.Write("Demo.uax", "package bytes");
  const OtherHandle writer(path, GENERIC_WRITE, kShareAll);
  ASSERT_EQ(writer.error(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadFileBytes(path); }),
            "Cannot open file " + path);
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { RangedFile{path}; }), "Cannot open file " + path);
  // A trigger file shares every kind of access, so the same file reads as a list.
  EXPECT_EQ(ReadWholeFile(path, 100), "package bytes");
}

TEST(WindowsTriggerFile, ASaveOverAFileHeldOpenFailsAndLosesNothing) {
  TempDir dir;
  const std::string path = dir.Write("Q_Demo.txt", "old\r\n");
  {
    const OtherHandle editor(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_EQ(editor.error(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(testing::ErrorOf<FileCreateError>([&] {
                WriteTriggerFile(path, std::vector<std::string>{"new"}, TSynEditFileFormat::sffDos);
              }),
              "Cannot create file " + path + ": permission denied");
  }
  EXPECT_EQ(Slurp(path), "old\r\n");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
  // Once the other program lets go, the same save goes through.
  WriteTriggerFile(path, std::vector<std::string>{"new", ""}, TSynEditFileFormat::sffDos);
  EXPECT_EQ(Slurp(path), "new\r\n");
}

TEST(WindowsTriggerFile, AReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const struct {
    const char* name;
    DWORD attributes;
    bool replaced;
  } cases[] = {
      {"read-only", FILE_ATTRIBUTE_READONLY, false},
      {"read-only and archived", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, false},
      {"archived", FILE_ATTRIBUTE_ARCHIVE, true},
      {"normal", FILE_ATTRIBUTE_NORMAL, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Write("list.txt", "old");
    ASSERT_NE(SetFileAttributesA(path.c_str(), c.attributes), 0);
    EXPECT_EQ(testing::ErrorOf<FileCreateError>([&] { WriteFileAtomic(path, "new"); }),
              c.replaced ? "no error" : "Cannot create file " + path + ": permission denied");
    ASSERT_NE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL), 0);
    EXPECT_EQ(Slurp(path), c.replaced ? "new" : "old");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    std::filesystem::remove(path);
  }
}

TEST(WindowsFileIo, APipeIsRefusedNotWaitedOn) {
  const std::string name = "\\\\.\\pipe\\quarrix-test-" + std::to_string(GetCurrentProcessId());
  // Enough free instances that every reader below can connect, none of them ever written to.
  const DWORD instances = 3;
  std::vector<HANDLE> servers;
  for (DWORD i = 0; i < instances; ++i) {
    servers.push_back(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE,
                                       instances, 0, 0, 0, nullptr));
    ASSERT_NE(servers.back(), INVALID_HANDLE_VALUE);
  }
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadFileBytes(name); }),
            "Cannot open file " + name);
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFile(name, 100); }),
            "Cannot open file " + name);
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { RangedFile{name}; }), "Cannot open file " + name);
  for (HANDLE server : servers) CloseHandle(server);
}

}  // namespace
}  // namespace quarrix
