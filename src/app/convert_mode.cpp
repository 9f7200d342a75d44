#include "app/convert_mode.h"

#include "app/open_workflow.h"
#include "app/path_text.h"
#include "app/profile_menu.h"
#include "app/workflow_view.h"
#include "kml/gpx_to_kml.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

namespace {

// "Error loading GPX file: the file is empty", as the converter words it.
QString Reason(const std::string& words, const std::string& why) {
  const QString what = QString::fromStdString(words);
  if (why.empty()) return what;
  return (what.endsWith(QLatin1Char('.')) ? what.chopped(1) : what) + QStringLiteral(": ") + QString::fromStdString(why);
}

// Empty when the file was saved; else what went wrong and why, for the line that names it.
// The window's export defaults, in the kind of document the user last chose in the window.
QString ConvertOne(const QString& file, const kml::TExportOptions& options) {
  std::filesystem::path target = ToFsPath(file);
  target.replace_extension(".kmz");
  try {
    const kml::TConversion done = kml::ConvertGpxFile(ToFsPath(file), options, target, kml::TKmlFileType::Kmz);
    if (done.Loaded.Code != gps::TLoadResult::Loaded) return Reason(gps::LoadFailureText(done.Loaded.Code), done.Loaded.Reason);
    if (done.Saved.Code == kml::TSaveResult::Saved) return {};
    return Reason(kml::SaveFailureText(done.Saved.Code), done.Saved.Reason);
  } catch (const std::exception& error) {
    return Reason(kml::SaveFailureText(kml::TSaveResult::BuildFailed), error.what());
  }
}

}  // namespace

int ConvertToKmz(const QStringList& files, ui::TUserPrompts& prompts) {
  QStringList failures;
  kml::TExportOptions options;
  options.Output = ReadOutputProfile();
  for (const QString& file : files) {
    const QString why = ConvertOne(file, options);
    if (!why.isEmpty()) failures << FileAndReason(file, why.toStdString());
  }
  if (failures.isEmpty()) return 0;
  const QString text = failures.size() == 1 ? QStringLiteral("A GPX file could not be converted.")
                                            : QStringLiteral("%1 GPX files could not be converted.").arg(failures.size());
  ShowError(prompts, nullptr, QStringLiteral("Convert to KMZ"), text, failures.join(QLatin1Char('\n')));
  return 1;
}

}  // namespace tarvola::app
