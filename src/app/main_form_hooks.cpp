// The window's attachment points for the About window, the Google Earth launcher and the
// service channel, which live in their own subsystems.
#include "app/main_form.h"

namespace tarvola::app {

void TMainForm::AboutBtClick() {}

void TMainForm::OpenGeBtClick() {}

void TMainForm::OpenLastSavedBtClick() {}

void TMainForm::FormShowFirst() {}

void TMainForm::FormCloseQuery() {}

void TMainForm::ServiceStart() {}

void TMainForm::ServiceDone(QEvent*) {}

}  // namespace tarvola::app
