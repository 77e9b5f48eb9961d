#pragma once
// Steps that answer the real options dialog of Get Quooms (see modal_steps.h).
#include <QTest>
#include <QToolButton>
#include <vector>

#include "controls/lum_check_box.h"
#include "extract/frm_config.h"
#include "support/modal_steps.h"

namespace quarrix::testing {

// Clicks the named boxes in the real options dialog, as a user does, then presses Submit.
inline ModalSteps::Step SubmitOptions(std::vector<const char*> toggles) {
  return [toggles](QWidget* modal) {
    auto* dialog = qobject_cast<TfrmConfig*>(modal);
    if (dialog == nullptr) return false;
    for (const char* name : toggles) {
      QTest::mouseClick(dialog->findChild<TLumCheckBox*>(name), Qt::LeftButton, {}, QPoint(30, 9));
    }
    QTest::mouseClick(dialog->btnSubmit, Qt::LeftButton);
    return true;
  };
}

// Closes the options dialog by its close box.
inline ModalSteps::Step CloseOptionsByTheCloseBox() {
  return [](QWidget* modal) {
    auto* dialog = qobject_cast<TfrmConfig*>(modal);
    if (dialog == nullptr) return false;
    dialog->close();
    return true;
  };
}

}  // namespace quarrix::testing
