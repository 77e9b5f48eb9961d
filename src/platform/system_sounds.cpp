#include "platform/sounds.h"

#include <QApplication>

#if defined(_WIN32)
#include <windows.h>
#elif defined(QUARRIX_HAVE_CANBERRA)
#include <canberra.h>
#endif

namespace quarrix {
namespace {

#if defined(_WIN32)

class WindowsSounds final : public Sounds {
 public:
  void Play(int type) override { MessageBeep(static_cast<UINT>(type)); }
};

#elif defined(QUARRIX_HAVE_CANBERRA)

// freedesktop sound theme event ids for the MessageBeep types.
const char* EventId(int type) {
  switch (type) {
    case Sounds::kError:
      return "dialog-error";
    case Sounds::kQuestion:
      return "dialog-question";
    case Sounds::kExclamation:
      return "dialog-warning";
    case Sounds::kAsterisk:
      return "dialog-information";
    default:
      return "bell";
  }
}

class CanberraSounds final : public Sounds {
 public:
  CanberraSounds() {
    if (ca_context_create(&context_) != CA_SUCCESS) context_ = nullptr;
  }
  CanberraSounds(const CanberraSounds&) = delete;
  CanberraSounds& operator=(const CanberraSounds&) = delete;
  ~CanberraSounds() override {
    if (context_ != nullptr) ca_context_destroy(context_);
  }

  void Play(int type) override {
    // Without a sound server the play call fails; the toolkit's beep is the next best thing.
    if (context_ == nullptr ||
        ca_context_play(context_, 0, CA_PROP_EVENT_ID, EventId(type), nullptr) != CA_SUCCESS) {
      QApplication::beep();
    }
  }

 private:
  ca_context* context_ = nullptr;
};

#endif

class ToolkitSounds final : public Sounds {
 public:
  void Play(int) override { QApplication::beep(); }
};

}  // namespace

std::unique_ptr<Sounds> MakeSystemSounds() {
#if defined(_WIN32)
  return std::make_unique<WindowsSounds>();
#elif defined(QUARRIX_HAVE_CANBERRA)
  return std::make_unique<CanberraSounds>();
#else
  return std::make_unique<ToolkitSounds>();
#endif
}

}  // namespace quarrix
