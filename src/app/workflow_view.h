#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "app/long_work.h"
#include "app/workspace.h"
#include "kml/kml_builder.h"
#include "ui/user_prompts.h"

class QWidget;

namespace tarvola::app {

// What the open and save workflows need of the window.
class TWorkflowView {
public:
  virtual ~TWorkflowView() = default;
  // The dialogs and the error message, over the window.
  virtual std::optional<ui::TFileDialogAnswer> AskOpenFile(const ui::TFileDialogRequest& request) = 0;
  virtual std::optional<ui::TFileDialogAnswer> AskSaveFile(const ui::TFileDialogRequest& request) = 0;
  virtual void ShowError(const QString& title, const QString& text, const QString& content = {}) = 0;
  virtual void BringToFront() = 0;
  // A read under way disables the open and save buttons and the options; its end gives back
  // the open button alone.
  virtual void SetReading(bool reading) = 0;
  virtual void SetSaveEnabled(bool enabled) = 0;
  virtual void EnableOptions(const TApplicability& applicable) = 0;
  virtual void ShowWaitPanel() = 0;
  virtual std::uint64_t TreeNodeCount() const = 0;
  virtual void ShowLoadedFileName() = 0;
  virtual void FillGpxTree() = 0;
  virtual kml::TExportOptions ExportOptions() const = 0;
  // Runs `work` away from the event thread while the window answers and shows how far it has
  // come out of `total` (0 when unknown), with Cancel; returns when it has ended.
  virtual void RunLongWork(std::uint64_t total, const TLongWork& work) = 0;
};

// The window's one error message: an error icon and an OK button.
void ShowError(ui::TUserPrompts& prompts, QWidget* owner, const QString& title, const QString& text,
               const QString& content = {});

}  // namespace tarvola::app
