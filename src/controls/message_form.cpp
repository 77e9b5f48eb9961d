#include "controls/message_form.h"

#include "controls/message_layout.h"

namespace quarrix {

TMessageForm::TMessageForm(QWidget* parent) : QDialog(parent) {}

void TMessageForm::reject() { done(kMrCancel); }

}  // namespace quarrix
