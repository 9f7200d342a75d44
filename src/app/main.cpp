#include <QApplication>

#include "app/app_identity.h"
#include "app/command_options.h"
#include "app/convert_mode.h"
#include "app/main_form.h"
#include "ui/qt_prompts.h"
#include "ui/ui_fonts.h"

int main(int argc, char* argv[]) {
  if (tarvola::app::AsksForHelpOrVersion(argc, argv)) {
    QCoreApplication text(argc, argv);
    tarvola::app::SetProgramNames();
    tarvola::app::ParseCommandLine(text);  // prints and ends the program
    return 0;
  }
  QApplication app(argc, argv);
  tarvola::app::SetApplicationIdentity();
  const tarvola::app::TCommandOptions options = tarvola::app::ParseCommandLine(app);
  tarvola::ui::RegisterCompatibleFonts();
  tarvola::ui::TQtPrompts prompts;
  if (options.ConvertToKmz) return tarvola::app::ConvertToKmz(options.Files, prompts);

  tarvola::app::TMainForm form(prompts);
  form.show();
  if (!options.Files.isEmpty()) form.OpenWhenShown(options.Files.first());
  return QApplication::exec();
}
