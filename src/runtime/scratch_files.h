#pragma once
// The files a write keeps beside its target: the temporary file that becomes the target, and
// the old file set aside until a batch is complete. Their names are short, so a target of a
// legal name never makes one too long, and carry the process id: ".quarrix-PID-XXXXXX.tmp"
// and ".old". Each is locked (Windows: held open without delete sharing) while its process
// needs it, so a later run tells what a killed run left behind from what a run still going
// uses.
#include <cstdint>
#include <string>
#include <string_view>

namespace quarrix {

// A scratch file of this process, open while the object lives; deleted by Remove, renamed by
// the caller.
class ScratchFile {
 public:
  // A new, empty temporary file in folder (its path ends in '/' or names the folder), open
  // for writing and locked. On failure returns an invalid object and sets `error` to the
  // system's error code (errno, or GetLastError on Windows).
  static ScratchFile CreateTemp(const std::string& folder, int& error);
  // Gives the existing file at `path` a scratch name in folder (Linux: a second name, so the
  // target never goes missing; Windows: a rename) and locks it where it can. Invalid on
  // failure, as CreateTemp.
  static ScratchFile SetAside(const std::string& path, const std::string& folder, int& error);

  ScratchFile() = default;
  ScratchFile(ScratchFile&& other) noexcept;
  ScratchFile& operator=(ScratchFile&& other) noexcept;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();  // closes the file (and so unlocks it); the file stays

  bool valid() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  // The descriptor (Windows: the HANDLE) the file is open with; -1 when it is not open (a
  // set-aside file that could not be opened, or one closed).
  std::intptr_t handle() const { return handle_; }
  // Closes the file, unlocking it; the object still names it. False when the close failed (a
  // delayed write error).
  bool Close();
  // Closes and deletes the file.
  void Remove();
  // Closes the file and lets go of its name (it was renamed to its target).
  void Release();

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  ScratchFile(std::string path, std::intptr_t handle);

  std::string path_;
  std::intptr_t handle_ = kNoHandle;
};

// The folder part of path as scratch names are joined to it: "dir/" for "dir/x", "" for "x".
std::string FolderOf(const std::string& path);

// Deletes the scratch files in folder whose process has ended and that nobody holds: what a
// write killed outright left behind. Files of another name, folders, and the scratch files of
// a live process (or one held by any process, such as a writer on another machine sharing the
// folder) are left alone. Best effort: a folder that cannot be read is passed over.
void RemoveAbandonedScratchFiles(const std::string& folder);

// True when name has the form of a scratch file name; its process id in pid.
bool ParseScratchName(std::string_view name, std::uint64_t& pid);

// For a fatal signal handler: deletes the temporary files this process is writing.
// Async-signal-safe.
void RemoveTempFilesOnFatalSignal();

}  // namespace quarrix
