#pragma once

#include "app/workflow_view.h"

namespace tarvola::app {

class TMainForm;

// The main window as the open and save workflows see it.
class TMainFormView final : public TWorkflowView {
public:
  explicit TMainFormView(TMainForm& form) : FForm(form) {}

  std::optional<ui::TFileDialogAnswer> AskOpenFile(const ui::TFileDialogRequest& request) override;
  std::optional<ui::TFileDialogAnswer> AskSaveFile(const ui::TFileDialogRequest& request) override;
  void ShowError(const QString& title, const QString& text, const QString& content) override;
  void BringToFront() override;
  void SetReading(bool reading) override;
  void SetSaveEnabled(bool enabled) override;
  void EnableOptions(const TApplicability& applicable) override;
  void ShowWaitPanel() override;
  std::uint64_t TreeNodeCount() const override;
  void ShowLoadedFileName() override;
  void FillGpxTree() override;
  kml::TExportOptions ExportOptions() const override;
  void RunLongWork(std::uint64_t total, const TLongWork& work) override;

private:
  TMainForm& FForm;
};

}  // namespace tarvola::app
