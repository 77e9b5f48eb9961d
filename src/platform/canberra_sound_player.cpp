#include "platform/canberra_sound_player.h"

#include <canberra.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "runtime/errors.h"

namespace quarrix {
namespace {

// Writes all of bytes to fd; false when a write fails.
bool WriteAll(int fd, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

std::string SystemTempFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : folder.string();
}

}  // namespace

CanberraSoundPlayer::CanberraSoundPlayer(std::string temp_folder)
    : temp_folder_(temp_folder.empty() ? SystemTempFolder() : std::move(temp_folder)) {
  // Creating a context opens no device: that happens on the first play, where it can fail.
  context_error_ = ca_context_create(&context_);
  if (context_error_ != CA_SUCCESS) context_ = nullptr;
}

CanberraSoundPlayer::~CanberraSoundPlayer() {
  // Destroying the context ends every playback and waits for them; no callback comes after.
  if (context_ != nullptr) ca_context_destroy(context_);
  const std::lock_guard lock(mutex_);
  for (const auto& [id, path] : files_) std::remove(path.c_str());
  files_.clear();
}

std::string CanberraSoundPlayer::ReasonOf(int code) {
  switch (code) {
    case CA_ERROR_NOTFOUND:  // the file was just written: what is missing is the device
      return "no sound device";
    case CA_ERROR_DISCONNECTED:
      return "no sound server";
    case CA_ERROR_NODRIVER:
      return "no sound driver";
    case CA_ERROR_NOTAVAILABLE:
      return "the sound device is busy";
    case CA_ERROR_ACCESS:
      return "no access to the sound device";
    case CA_ERROR_NOTSUPPORTED:
      return "its audio encoding is not supported";
    case CA_ERROR_CORRUPT:
      return "its audio data is damaged";
    case CA_ERROR_DISABLED:
      return "sounds are turned off";
    default:
      return ca_strerror(code);
  }
}

std::string CanberraSoundPlayer::WriteTemporaryFile(const std::string& bytes,
                                                    std::string_view format,
                                                    std::string_view name) const {
  const std::string extension = IsAudioFormat(format, "OGG") ? ".ogg" : ".wav";
  std::string path = temp_folder_ + "/quarrix-sound-XXXXXX" + extension;
  std::vector<char> pattern(path.begin(), path.end());
  pattern.push_back('\0');
  const int fd = ::mkstemps(pattern.data(), static_cast<int>(extension.size()));
  if (fd < 0) throw QuarrixError(PlayRefusedMessage(name, "cannot write in " + temp_folder_));
  path.assign(pattern.data());
  const bool written = WriteAll(fd, bytes);
  if (::close(fd) != 0 || !written) {
    std::remove(path.c_str());
    throw QuarrixError(PlayRefusedMessage(name, "cannot write " + path));
  }
  return path;
}

void CanberraSoundPlayer::Play(std::string bytes, std::string_view format, std::string_view name) {
  Stop();
  if (!IsAudioFormat(format, "WAV") && !IsAudioFormat(format, "OGG")) {
    throw QuarrixError(UnsupportedFormatMessage(format));
  }
  if (context_ == nullptr) throw QuarrixError(PlayRefusedMessage(name, ReasonOf(context_error_)));

  const std::string path = WriteTemporaryFile(bytes, format, name);
  const std::uint32_t id = next_id_++;
  {
    const std::lock_guard lock(mutex_);
    files_[id] = path;
  }
  ca_proplist* properties = nullptr;
  int result = ca_proplist_create(&properties);
  if (result == CA_SUCCESS) {
    const std::string media_name(name);
    ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, path.c_str());
    ca_proplist_sets(properties, CA_PROP_MEDIA_NAME, media_name.c_str());
    ca_proplist_sets(properties, CA_PROP_MEDIA_ROLE, "event");
    // A temporary file is worth no place in the sound server's sample cache.
    ca_proplist_sets(properties, CA_PROP_CANBERRA_CACHE_CONTROL, "never");
    // The callback may run before this returns, on this thread or another: it only releases.
    result = ca_context_play_full(context_, id, properties, &CanberraSoundPlayer::Finished, this);
    ca_proplist_destroy(properties);
  }
  if (result != CA_SUCCESS) {
    Release(id);
    throw QuarrixError(PlayRefusedMessage(name, ReasonOf(result)));
  }
  playing_ = id;
}

void CanberraSoundPlayer::Stop() {
  if (playing_ == 0 || context_ == nullptr) return;
  // The cancelled playback's callback removes its file; no lock may be held here, since
  // libcanberra calls it from within the cancel.
  ca_context_cancel(context_, playing_);
  playing_ = 0;
}

void CanberraSoundPlayer::Finished(ca_context*, std::uint32_t id, int, void* player) {
  static_cast<CanberraSoundPlayer*>(player)->Release(id);
}

void CanberraSoundPlayer::Release(std::uint32_t id) {
  std::string path;
  {
    const std::lock_guard lock(mutex_);
    const auto file = files_.find(id);
    if (file == files_.end()) return;
    path = std::move(file->second);
    files_.erase(file);
  }
  std::remove(path.c_str());
}

}  // namespace quarrix
