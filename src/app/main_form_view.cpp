#include "app/main_form_view.h"

#include <QCheckBox>
#include <QToolButton>

#include "app/main_form.h"
#include "view/gps_tree_view.h"

namespace tarvola::app {

std::optional<ui::TFileDialogAnswer> TMainFormView::AskOpenFile(const ui::TFileDialogRequest& request) {
  return FForm.Prompts().AskOpenFile(&FForm, request);
}

std::optional<ui::TFileDialogAnswer> TMainFormView::AskSaveFile(const ui::TFileDialogRequest& request) {
  return FForm.Prompts().AskSaveFile(&FForm, request);
}

void TMainFormView::ShowError(const QString& title, const QString& text, const QString& content) {
  app::ShowError(FForm.Prompts(), &FForm, title, text, content);
}

void TMainFormView::BringToFront() {
  FForm.raise();
  FForm.activateWindow();
}

void TMainFormView::SetReading(bool reading) {
  TMainFormUi& ui = FForm.Ui();
  ui.OpenBt->setEnabled(!reading);
  if (!reading) return;
  ui.SaveBt->setEnabled(false);
  for (QCheckBox* box : {ui.WaypointsCheck, ui.RoutesCheck, ui.TracksCheck, ui.TimeCheck, ui.JoinSegsCheck}) {
    box->setEnabled(false);
  }
}

void TMainFormView::SetSaveEnabled(bool enabled) { FForm.Ui().SaveBt->setEnabled(enabled); }

void TMainFormView::EnableOptions(const TApplicability& a) {
  TMainFormUi& ui = FForm.Ui();
  ui.WaypointsCheck->setEnabled(a.Waypoints);
  ui.RoutesCheck->setEnabled(a.Routes);
  ui.TracksCheck->setEnabled(a.Tracks);
  ui.JoinSegsCheck->setEnabled(a.JoinSegments);
  ui.TimeCheck->setEnabled(a.TimeStamps);
  ui.SaveBt->setEnabled(a.Save);
}

void TMainFormView::ShowWaitPanel() { FForm.ShowWaitPanel(); }

std::uint64_t TMainFormView::TreeNodeCount() const { return FForm.Ui().GpxTreeView->NodeCount(); }

void TMainFormView::ShowLoadedFileName() { FForm.ShowLoadedFileName(); }

void TMainFormView::FillGpxTree() { FForm.FillGpxTree(); }

kml::TExportOptions TMainFormView::ExportOptions() const { return FForm.ExportOptions(); }

void TMainFormView::RunLongWork(std::uint64_t total, const TLongWork& work) { FForm.RunLongWork(total, work); }

}  // namespace tarvola::app
