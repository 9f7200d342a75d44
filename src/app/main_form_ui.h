#pragma once

class QAction;
class QCheckBox;
class QMenu;
class QToolButton;
class QWidget;

namespace tarvola::view {
class TGpsTreeView;
}

namespace tarvola::app {

class TWaitPanel;

// The controls of the main window, owned by it through Qt's parent-child ownership.
struct TMainFormUi {
  QWidget* TopPanel = nullptr;
  QToolButton* OpenBt = nullptr;
  QToolButton* SaveBt = nullptr;
  QToolButton* OptionsBt = nullptr;
  QToolButton* AboutBt = nullptr;
  QCheckBox* WaypointsCheck = nullptr;
  QCheckBox* RoutesCheck = nullptr;
  QCheckBox* TracksCheck = nullptr;
  QCheckBox* TimeCheck = nullptr;
  QCheckBox* JoinSegsCheck = nullptr;
  view::TGpsTreeView* GpxTreeView = nullptr;
  TWaitPanel* WaitPanel = nullptr;
  QMenu* OptionPopup = nullptr;
  QAction* OpenGeBt = nullptr;
  QAction* OpenLastSavedBt = nullptr;
  // The keyboard's way to the buttons: Ctrl+O, Ctrl+S (while SaveBt is enabled), Ctrl+Q, F1.
  QAction* OpenAction = nullptr;
  QAction* SaveAction = nullptr;
  QAction* CloseAction = nullptr;
  QAction* AboutAction = nullptr;
};

// Builds the controls at their design places on `form`, whose client area is 400 x 380.
TMainFormUi BuildMainFormUi(QWidget* form);

// The About button keeps its distance to the right edge.
void AnchorAboutButton(const TMainFormUi& ui);

}  // namespace tarvola::app
