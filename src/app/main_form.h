#pragma once

#include <memory>

#include <QEvent>
#include <QWidget>

#include "app/main_form_ui.h"
#include "app/workspace.h"
#include "kml/kml_builder.h"
#include "ui/user_prompts.h"
#include "view/tree_layout.h"

namespace tarvola::ui {
class TFlatMenuStyle;
}

namespace tarvola::app {

// Posted to the window by the service channel: start the download, and its end.
inline constexpr QEvent::Type ServiceStartEvent = QEvent::Type(QEvent::User + 1);
inline constexpr QEvent::Type ServiceDoneEvent = QEvent::Type(QEvent::User + 2);

// MainForm: the program's one window. The work lives in the workflows it calls.
class TMainForm : public QWidget {
  Q_OBJECT

public:
  explicit TMainForm(ui::TUserPrompts& prompts, QWidget* parent = nullptr);
  ~TMainForm() override;

  ui::TUserPrompts& Prompts() { return FPrompts; }
  TMainFormUi& Ui() { return FUi; }
  TWorkspace& Workspace() { return FWorkspace; }
  const TWorkspace& Workspace() const { return FWorkspace; }

  const QString& TempDir() const { return FWorkspace.TempDir; }
  const QString& LastSaved() const { return FWorkspace.LastSaved; }
  void SetLastSaved(const QString& path) { FWorkspace.LastSaved = path; }
  // The open dialog's current file name: the loaded file, or what the user picked last.
  const QString& SourcePath() const { return FWorkspace.SourcePath; }
  void SetSourcePath(const QString& path) { FWorkspace.SourcePath = path; }
  const QString& OpenDialogInitialDir() const { return FWorkspace.OpenInitialDir; }
  bool Initialized() const { return FInitialized; }

  kml::TExportOptions ExportOptions() const;
  view::TTreeOptions TreeOptions() const;

  // An empty name asks with the open dialog.
  void OpenGpxFile(const QString& fileName);
  // The drop steps for one dropped path; the command line goes the same way.
  void OpenDroppedFile(const QString& path);
  // The wait-panel convention: show it and let pending events run once.
  void ShowWaitPanel();
  void FillGpxTree();

  void OpenBtClick();
  void SaveBtClick();
  void OptionsBtClick();
  void ExportCheckClick();

  // Attached by the parts that own them: the About window and the Google Earth launcher.
  void AboutBtClick();
  void OpenGeBtClick();
  void OpenLastSavedBtClick();

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void Connect();
  void FormShowFirst();
  void FormCloseQuery();
  void ServiceStart();
  void ServiceDone(QEvent* event);
  void ShowError(const QString& title, const QString& text);

  ui::TUserPrompts& FPrompts;
  TWorkspace FWorkspace;
  TMainFormUi FUi;
  ui::TFlatMenuStyle* FMenuStyle;
  bool FInitialized = false;
};

}  // namespace tarvola::app
