#pragma once
// Answers the modal windows of a command as they come up, in order, from a timer, so tests
// can drive the real dialogs while the command waits in their modal loops.
#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarrix::testing {

class ModalSteps {
 public:
  using Step = std::function<bool(QWidget* modal)>;  // true once it answered the window
  explicit ModalSteps(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }
  std::size_t answered() const { return next_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // A guarded pointer: the next window may be created where the answered one was.
    if (modal == nullptr || modal == last_.data() || next_ >= steps_.size()) return;
    if (steps_[next_](modal)) {
      last_ = modal;
      ++next_;
    }
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  QPointer<QWidget> last_;
  QTimer timer_;
};

// Picks the path in Qt's own file dialog and accepts it, or cancels the dialog.
inline ModalSteps::Step ChooseFile(std::optional<std::string> path) {
  return [path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return false;
    if (path) {
      dialog->selectFile(QString::fromStdString(*path));
      QMetaObject::invokeMethod(dialog, "accept");
    } else {
      dialog->reject();
    }
    return true;
  };
}

}  // namespace quarrix::testing
