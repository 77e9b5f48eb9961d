#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes.
#include <string>
#include <string_view>

namespace quarrix::testing {

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string File(std::string_view name) const;
  // Writes bytes to path() + "/" + name and returns that path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

// What the package lookup puts between a folder and a file name: '\\' on Windows.
#ifdef _WIN32
inline constexpr std::string_view kLookupJoin = "\\";
#else
inline constexpr std::string_view kLookupJoin = "/";
#endif

// The whole content of a file; fails the running test when it cannot be read.
std::string Slurp(const std::string& path);

}  // namespace quarrix::testing
