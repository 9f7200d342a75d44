#include "app/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QTimer>
#include <QToolTip>
#include <QScopeGuard>
#include <QUrl>

#include <utility>

#include "app/app_identity.h"
#include "app/browser_opener.h"
#include "app/main_form_view.h"
#include "app/open_workflow.h"
#include "app/path_text.h"
#include "app/profile_menu.h"
#include "app/service_notices.h"
#include "app/save_command.h"
#include "app/wait_panel.h"
#include "app/workflow_view.h"
#include "service/service_channel.h"
#include "ui/flat_menu_style.h"
#include "ui/hint_time.h"
#include "ui/task_dialog.h"
#include "ui/ui_fonts.h"
#include "ui/ui_platform.h"
#include "view/gps_tree_view.h"

namespace tarvola::app {

namespace {

const QSize ClientSize(400, 380);
const QColor HintColour(237, 238, 241);
constexpr int HintTime = 10000;

void SetHintColour() {
  QPalette colours = QToolTip::palette();
  colours.setColor(QPalette::ToolTipBase, HintColour);
  QToolTip::setPalette(colours);
}

}  // namespace

TMainForm::TMainForm(ui::TUserPrompts& prompts, service::TLinkOpener opener, QWidget* parent)
    : QWidget(parent),
      FPrompts(prompts),
      FMenuStyle(new ui::TFlatMenuStyle),
      FOpener(opener ? std::move(opener) : BrowserOpener()) {
  FMenuStyle->setParent(this);
  ui::RegisterCompatibleFonts();
  setWindowTitle(ProductName());
  QFont font;
  ui::SetSystemUiFont(font);
  setFont(font);
  FUi = BuildMainFormUi(this);
  ui::SetExplorerTheme(FUi.GpxTreeView);
  SetHintColour();
  ui::SetApplicationHintTime(HintTime);
  FWorkspace.TempDir = SystemTempDir();
  resize(ClientSize);
  setMinimumSize(ClientSize);
  FService = std::make_unique<service::TServiceChannel>(
      FWorkspace.TempDir,
      [this](const service::TServiceNotices& notices) { PresentServiceNotices(this, FPrompts, FOpener, notices); });
  FUi.OptionPopup->setStyle(FMenuStyle);
  FProfileMenu = new TProfileMenu(FUi.OptionPopup);
  FUi.GpxTreeView->SetMenuStyle(FMenuStyle);
  setAcceptDrops(true);
  Connect();
}

TMainForm::~TMainForm() = default;

void TMainForm::Connect() {
  connect(FUi.OpenBt, &QToolButton::clicked, this, &TMainForm::OpenBtClick);
  connect(FUi.SaveBt, &QToolButton::clicked, this, &TMainForm::SaveBtClick);
  connect(FUi.OptionsBt, &QToolButton::clicked, this, &TMainForm::OptionsBtClick);
  connect(FUi.OptionsBt, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { FUi.OptionPopup->popup(FUi.OptionsBt->mapToGlobal(pos)); });
  connect(FUi.AboutBt, &QToolButton::clicked, this, &TMainForm::AboutBtClick);
  for (QCheckBox* box : {FUi.WaypointsCheck, FUi.RoutesCheck, FUi.TracksCheck, FUi.JoinSegsCheck}) {
    connect(box, &QCheckBox::clicked, this, &TMainForm::ExportCheckClick);
  }
  connect(FUi.OpenGeBt, &QAction::triggered, this, &TMainForm::OpenGeBtClick);
  connect(FUi.OpenLastSavedBt, &QAction::triggered, this, &TMainForm::OpenLastSavedBtClick);
  connect(FUi.WaitPanel, &TWaitPanel::CancelRequested, this, [this] {
    if (FWork) FWork->Cancel();
  });
  connect(FUi.GpxTreeView, &view::TGpsTreeView::WaitNeeded, this, &TMainForm::ShowWaitPanel);
  connect(FUi.OpenAction, &QAction::triggered, this, &TMainForm::OpenBtClick);
  connect(FUi.SaveAction, &QAction::triggered, this, &TMainForm::SaveBtClick);
  connect(FUi.CloseAction, &QAction::triggered, this, &QWidget::close);
  connect(FUi.AboutAction, &QAction::triggered, this, &TMainForm::AboutBtClick);
}

kml::TExportOptions TMainForm::ExportOptions() const {
  kml::TExportOptions options;
  options.Waypoints = FUi.WaypointsCheck->isChecked();
  options.Routes = FUi.RoutesCheck->isChecked();
  options.Tracks = FUi.TracksCheck->isChecked();
  options.JoinSegments = FUi.JoinSegsCheck->isChecked();
  options.TimeStamps = FUi.TimeCheck->isChecked();
  options.Output = FProfileMenu->Profile();
  return options;
}

view::TTreeOptions TMainForm::TreeOptions() const {
  return {FUi.WaypointsCheck->isChecked(), FUi.RoutesCheck->isChecked(), FUi.TracksCheck->isChecked(),
          FUi.JoinSegsCheck->isChecked()};
}

void TMainForm::OpenGpxFile(const QString& fileName) {
  if (Working()) return;
  try {
    TMainFormView view(*this);
    RunOpenWorkflow(FWorkspace, view, fileName);
  } catch (const std::exception& error) {
    ShowError(FPrompts, this, QStringLiteral("Load file..."), QStringLiteral("Error loading GPX file."),
              FileAndReason(FWorkspace.SourcePath, error.what()));
  }
}

void TMainForm::OpenDroppedFile(const QString& path) {
  if (FWorkspace.Loading || Working()) return;
  const QString name = TrimDroppedPath(path);
  if (name.isEmpty()) return;
  FWorkspace.SourcePath = name;
  OpenGpxFile(name);
}

void TMainForm::OpenWhenShown(const QString& path) {
  FStartFile = path;
  if (FPainted) update();
}

void TMainForm::ShowLoadedFileName() {
  if (!FWorkspace.Data) {
    setWindowTitle(ProductName());
    return;
  }
  // A doubled placeholder is shown as written, a single one would vanish from the caption.
  QString name = QFileInfo(FWorkspace.SourcePath).fileName();
  name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  setWindowTitle(name + QStringLiteral(" - ") + ProductName());
}

void TMainForm::ShowWaitPanel() { FUi.WaitPanel->ShowNow(); }

void TMainForm::FillGpxTree() { FUi.GpxTreeView->Fill(FWorkspace.Data, TreeOptions()); }

void TMainForm::RunLongWork(std::uint64_t total, const TLongWork& work) {
  TWorkProgress progress;
  FWork = &progress;
  FUi.WaitPanel->BeginWork(total);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const auto end = qScopeGuard([this] {
    QApplication::restoreOverrideCursor();
    FUi.WaitPanel->EndWork();
    FWork = nullptr;
  });
  RunBesideEventLoop(progress, work, [this, &progress] { FUi.WaitPanel->ShowDone(progress.Done()); });
}

void TMainForm::OpenBtClick() { OpenGpxFile(QString()); }

void TMainForm::SaveBtClick() {
  if (Working()) return;
  try {
    TMainFormView view(*this);
    RunSaveCommand(FWorkspace, view);
  } catch (const std::exception& error) {
    ShowError(FPrompts, this, QStringLiteral("Save file..."), QStringLiteral("Error saving KML file."),
              QString::fromUtf8(error.what()));
  }
}

void TMainForm::OptionsBtClick() {
  const QToolButton* button = FUi.OptionsBt;
  FUi.OptionPopup->popup(button->mapToGlobal(QPoint(button->width() / 2, button->height() / 2)));
}

void TMainForm::ExportCheckClick() {
  if (FUi.SaveBt->isEnabled() && !Working()) FillGpxTree();
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FInitialized) return;
  FInitialized = true;
  FormShowFirst();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FWork) FWork->Cancel();
  FormCloseQuery();
  event->accept();
}

void TMainForm::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  FPainted = true;
  if (FStartFile.isEmpty()) return;
  // After this paint reaches the screen: the user sees the window, then the wait panel.
  QTimer::singleShot(0, this, [this, path = std::exchange(FStartFile, QString())] { OpenDroppedFile(path); });
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AnchorAboutButton(FUi);
  FUi.WaitPanel->Place(size());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !FWorkspace.Loading && !Working()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  // One load at a time: a drop while a file is being read is refused.
  if (FWorkspace.Loading || Working()) {
    event->ignore();
    return;
  }
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    event->acceptProposedAction();
    // The system's own separators, as the open dialog gives them and messages show them.
    OpenDroppedFile(QDir::toNativeSeparators(url.toLocalFile()));
    return;
  }
}

}  // namespace tarvola::app
