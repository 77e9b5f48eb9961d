#pragma once
// Answers the modal windows of a command as they come up, in order, from a timer, so tests
// can drive the real dialogs while the command waits in their modal loops. A window that no
// step answers, or that stays up after its answer, is closed after a long wait, so a broken
// step fails its test instead of hanging it.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarrix::testing {

class ModalSteps {
 public:
  // Looks at the active modal window; true once it answered it. False asks again at the next
  // poll: the window is not the step's, or not yet ready for input.
  using Step = std::function<bool(QWidget* modal)>;

  explicit ModalSteps(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }
  std::size_t answered() const { return next_; }
  // The titles of the windows that had to be closed unanswered; empty when none.
  const QStringList& stuck() const { return stuck_; }

 private:
  // Far above what any dialog needs to come up and take its focus, even on a loaded machine.
  static constexpr qint64 kPatienceMs = 30'000;

  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (modal != watched_.data()) {
      watched_ = modal;
      up_since_.start();
    }
    // A guarded pointer: the next window may be created where the answered one was.
    if (modal != last_.data() && next_ < steps_.size() && steps_[next_](modal)) {
      last_ = modal;
      ++next_;
      up_since_.start();
      return;
    }
    if (up_since_.hasExpired(kPatienceMs)) {
      stuck_ << modal->windowTitle();
      modal->close();
      up_since_.start();
    }
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  QPointer<QWidget> last_;
  QPointer<QWidget> watched_;
  QElapsedTimer up_since_;
  QStringList stuck_;
  QTimer timer_;
};

// Answers Qt's own file dialog as a user does: once the dialog is active and its file-name
// box has the keyboard focus, types the path over the box's text and presses Enter; without
// a path, presses Escape. The dialog ignores selectFile() while its box has the focus, so a
// test that sets the name any other way depends on when the window manager activates it.
inline ModalSteps::Step ChooseFile(std::optional<std::string> path) {
  return [path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return false;
    if (!path) {
      // Escape needs no focus: the running dialog takes it wherever it is.
      QTest::keyClick(dialog, Qt::Key_Escape);
      return true;
    }
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (box == nullptr || !dialog->isActiveWindow() || !box->hasFocus()) return false;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QFile::decodeName(path->c_str()));
    // The user's Enter goes to the list of completions when it shows; it closes the list and
    // hands the key on to the box. It is pressed after this step returns: the dialog may
    // answer it with a modal message box, which the steps' timer must be free to answer.
    QWidget* completions = box->completer() != nullptr ? box->completer()->popup() : nullptr;
    QPointer<QWidget> target(completions != nullptr && completions->isVisible() ? completions
                                                                                : box);
    QTimer::singleShot(0, target, [target] {
      if (target) QTest::keyClick(target, Qt::Key_Return);
    });
    return true;
  };
}

// The same for several files of the dialog's folder, typed as Qt's dialog takes them: each
// name in double quotes, separated by blanks.
inline ModalSteps::Step ChooseFiles(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : " \"") + name + "\"";
  return ChooseFile(text);
}

}  // namespace quarrix::testing
