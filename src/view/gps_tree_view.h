#pragma once

#include <memory>
#include <vector>

#include <QPersistentModelIndex>
#include <QTreeView>

#include "view/gps_tree_model.h"

class QMenu;
class QAction;
class QStyle;

namespace tarvola::view {

// GpxTreeView: the read-only data tree with its popup menu "Expand items" / "Contract items".
class TGpsTreeView : public QTreeView {
  Q_OBJECT

public:
  static constexpr std::uint64_t WaitPanelNodes = 1000;

  explicit TGpsTreeView(QWidget* parent = nullptr);

  TGpsTreeModel& Model() { return *FModel; }
  const TGpsTreeModel& Model() const { return *FModel; }

  // FillGpxTree: rebuilds, collapses everything and opens the root.
  void Fill(std::shared_ptr<const gps::TGpsData> data, const TTreeOptions& options);
  std::uint64_t NodeCount() const { return FModel->NodeCount(); }

  // The node the menu acts on; invalid for none. Never a node of an earlier fill.
  QModelIndex TreeSelected() const { return FTreeSelected; }

  QMenu* TreePopup() const { return FTreePopup; }
  QAction* UtilsExpand() const { return FUtilsExpand; }
  QAction* UtilsContract() const { return FUtilsContract; }
  void SetMenuStyle(QStyle* style);

  void UtilsExpandClick();
  void UtilsContractClick();

signals:
  // A long operation is about to start: the window shows its wait panel now.
  void WaitNeeded();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
  // The menu from the keyboard: below the current node, or at the tree's corner.
  void PopupAtCurrent();
  bool OnImageOrLabel(const QModelIndex& index, const QPoint& pos) const;
  void CollapseBelow(const QModelIndex& index);
  void ExpandBelow(const QModelIndex& index);
  void KeepRootOpen(const QModelIndex& index);
  // "Expand items" and "Contract items" hold for the rows a node is given later, as the tree
  // scrolls to them: the nearest marked node above a new row says whether it opens.
  void Mark(const QModelIndex& top, bool open);
  bool OpensWhenShown(const QModelIndex& parent) const;

  struct TMark {
    QPersistentModelIndex Node;
    bool Open = false;
  };
  std::vector<TMark> FMarks;

  TGpsTreeModel* FModel;
  QPersistentModelIndex FTreeSelected;
  bool FPressSwallowed = false;
  QMenu* FTreePopup;
  QAction* FUtilsExpand;
  QAction* FUtilsContract;
};

}  // namespace tarvola::view
