#pragma once
// SIGTERM, SIGHUP and SIGINT as a Qt signal on the UI thread: the handler only writes the
// signal's number into a pipe, and a socket notifier reads it from the event loop, where
// anything may be done. Elsewhere than on Unix the signals keep their usual effect.
#include <QObject>

class QSocketNotifier;

namespace quarrix {

class EndingSignals : public QObject {
  Q_OBJECT

 public:
  // Catches the signals for the life of the object; one at a time in a process.
  explicit EndingSignals(QObject* parent = nullptr);
  ~EndingSignals() override;

 signals:
  void Received(int signal_number);

 private:
  void ReadPipe();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quarrix
