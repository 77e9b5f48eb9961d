#include "app/ending_signals.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#endif

namespace quarrix {

#ifndef _WIN32
namespace {

constexpr std::array<int, 3> kEndingSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe's ends: [0] read by the event loop, [1] written by the handler.
std::array<int, 2> signal_pipe = {-1, -1};
std::array<struct sigaction, kEndingSignals.size()> previous{};

void OnEndingSignal(int signal_number) {
  const int saved_errno = errno;
  const auto byte = static_cast<unsigned char>(signal_number);
  // A full pipe already holds a signal the loop has yet to read: this one may be lost.
  [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &byte, 1);
  errno = saved_errno;
}

}  // namespace

EndingSignals::EndingSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(signal_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &EndingSignals::ReadPipe);
  struct sigaction action {};
  action.sa_handler = OnEndingSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    ::sigaction(kEndingSignals[i], &action, &previous[i]);
  }
}

EndingSignals::~EndingSignals() {
  if (notifier_ == nullptr) return;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    ::sigaction(kEndingSignals[i], &previous[i], nullptr);
  }
  notifier_->setEnabled(false);  // before its pipe closes
  ::close(signal_pipe[0]);
  ::close(signal_pipe[1]);
  signal_pipe = {-1, -1};
}

void EndingSignals::ReadPipe() {
  unsigned char byte = 0;
  while (::read(signal_pipe[0], &byte, 1) == 1) emit Received(byte);
}

#else

EndingSignals::EndingSignals(QObject* parent) : QObject(parent) {}
EndingSignals::~EndingSignals() = default;
void EndingSignals::ReadPipe() {}

#endif

}  // namespace quarrix
