#pragma once

#include <memory>

#include <QEvent>
#include <QWidget>

#include "app/long_work.h"
#include "app/main_form_ui.h"
#include "app/workspace.h"
#include "kml/kml_builder.h"
#include "service/link_opener.h"
#include "ui/user_prompts.h"
#include "view/tree_layout.h"

namespace tarvola::ui {
class TFlatMenuStyle;
}

namespace tarvola::service {
class TServiceChannel;
}

namespace tarvola::app {

class TProfileMenu;

// MainForm: the program's one window. The work lives in the workflows it calls.
class TMainForm : public QWidget {
  Q_OBJECT

public:
  // `opener` opens the About window's links and the service channel's pages; empty: the
  // user's browser.
  explicit TMainForm(ui::TUserPrompts& prompts, service::TLinkOpener opener = {},
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  ui::TUserPrompts& Prompts() { return FPrompts; }
  TMainFormUi& Ui() { return FUi; }
  TWorkspace& Workspace() { return FWorkspace; }
  const TWorkspace& Workspace() const { return FWorkspace; }

  const QString& TempDir() const { return FWorkspace.TempDir; }
  const QString& LastSaved() const { return FWorkspace.LastSaved; }
  // The open dialog's current file name: the loaded file, or what the user picked last.
  const QString& SourcePath() const { return FWorkspace.SourcePath; }
  bool Initialized() const { return FInitialized; }

  kml::TExportOptions ExportOptions() const;
  TProfileMenu& ProfileMenu() { return *FProfileMenu; }
  view::TTreeOptions TreeOptions() const;

  // An empty name asks with the open dialog.
  void OpenGpxFile(const QString& fileName);
  // The drop steps for one dropped path; the command line goes the same way.
  void OpenDroppedFile(const QString& path);
  // The command line's file: opened as a dropped one once the window has been painted.
  void OpenWhenShown(const QString& path);
  // The caption names the loaded file: "trip.gpx - Tarvola", or "Tarvola" when none is loaded.
  void ShowLoadedFileName();
  // The wait-panel convention: show it and let pending events run once.
  void ShowWaitPanel();
  void FillGpxTree();
  // Long work beside the event loop, with progress and Cancel in the wait panel; closing the
  // window cancels it.
  void RunLongWork(std::uint64_t total, const TLongWork& work);
  bool Working() const { return FWork != nullptr; }

  void OpenBtClick();
  void SaveBtClick();
  void OptionsBtClick();
  void ExportCheckClick();

  const service::TServiceChannel& ServiceChannel() const { return *FService; }

  void AboutBtClick();
  void OpenGeBtClick();
  void OpenLastSavedBtClick();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void Connect();
  void FormShowFirst();
  void FormCloseQuery();

  ui::TUserPrompts& FPrompts;
  TWorkspace FWorkspace;
  TMainFormUi FUi;
  ui::TFlatMenuStyle* FMenuStyle;
  TProfileMenu* FProfileMenu = nullptr;
  service::TLinkOpener FOpener;
  // Destroyed before the widgets, so a running download is stopped first.
  std::unique_ptr<service::TServiceChannel> FService;
  TWorkProgress* FWork = nullptr;  // the long work under way
  bool FInitialized = false;
  bool FPainted = false;
  QString FStartFile;  // waits for the first paint
};

}  // namespace tarvola::app
