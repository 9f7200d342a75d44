#include <QApplication>
#include <QTimer>

#include "app/app_identity.h"
#include "app/main_form.h"
#include "ui/qt_prompts.h"
#include "ui/ui_fonts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tarvola::app::SetApplicationIdentity();
  tarvola::ui::RegisterCompatibleFonts();

  tarvola::ui::TQtPrompts prompts;
  tarvola::app::TMainForm form(prompts);
  form.show();

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) form.OpenWhenShown(arguments.at(1));
  return QApplication::exec();
}
