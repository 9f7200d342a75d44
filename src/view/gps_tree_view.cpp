#include "view/gps_tree_view.h"
#include "view/tree_branch_style.h"

#include <vector>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "ui/ui_fonts.h"
#include "ui/ui_platform.h"

namespace tarvola::view {

namespace {

constexpr int TreeIndent = 19;
const QColor TreeBackground(237, 238, 241);

// Suspends painting for the life of the guard.
class TNoRepaint {
public:
  explicit TNoRepaint(QWidget* widget) : FWidget(widget) { FWidget->setUpdatesEnabled(false); }
  ~TNoRepaint() { FWidget->setUpdatesEnabled(true); }
  TNoRepaint(const TNoRepaint&) = delete;
  TNoRepaint& operator=(const TNoRepaint&) = delete;

private:
  QWidget* FWidget;
};

// Calls `step` on `top` and on every node below it that can have children, parents first.
template <typename TStep>
void EachOpenableBelow(const TGpsTreeModel& model, const QModelIndex& top, const TStep& step) {
  std::vector<QModelIndex> pending{top};
  while (!pending.empty()) {
    const QModelIndex node = pending.back();
    pending.pop_back();
    step(node);
    const int rows = model.rowCount(node);
    for (int row = 0; row < rows; ++row) {
      const QModelIndex child = model.index(row, 0, node);
      if (model.CanHaveChildren(child)) pending.push_back(child);
    }
  }
}

}  // namespace

TGpsTreeView::TGpsTreeView(QWidget* parent)
    : QTreeView(parent), FModel(new TGpsTreeModel(this)), FTreePopup(new QMenu(this)) {
  auto* branchStyle = new TTreeBranchStyle;
  branchStyle->setParent(this);
  setStyle(branchStyle);
  setModel(FModel);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setIndentation(TreeIndent);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setFont(ui::ClassicFont());
  QPalette colours = palette();
  colours.setColor(QPalette::Base, TreeBackground);
  setPalette(colours);

  FUtilsExpand = FTreePopup->addAction(MainIcon("menu/tree_open"), QStringLiteral("Expand items"));
  FUtilsContract = FTreePopup->addAction(MainIcon("menu/tree_shut"), QStringLiteral("Contract items"));
  FTreePopup->setFont(ui::PanelFont());
  connect(FUtilsExpand, &QAction::triggered, this, &TGpsTreeView::UtilsExpandClick);
  connect(FUtilsContract, &QAction::triggered, this, &TGpsTreeView::UtilsContractClick);
  connect(this, &QTreeView::collapsed, this, &TGpsTreeView::KeepRootOpen);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { FTreeSelected = current; });
}

void TGpsTreeView::SetMenuStyle(QStyle* style) { FTreePopup->setStyle(style); }

void TGpsTreeView::Fill(std::shared_ptr<const gps::TGpsData> gpsData, const TTreeOptions& options) {
  TNoRepaint noRepaint(this);
  FModel->Fill(std::move(gpsData), options);
  FTreeSelected = QPersistentModelIndex();
  FMarks.clear();
  collapseAll();
  expand(FModel->RootIndex());
}

void TGpsTreeView::KeepRootOpen(const QModelIndex& index) {
  if (FModel->IsRoot(index)) expand(index);
}

void TGpsTreeView::ExpandBelow(const QModelIndex& top) {
  EachOpenableBelow(*FModel, top, [this](const QModelIndex& node) { expand(node); });
}

void TGpsTreeView::CollapseBelow(const QModelIndex& top) {
  EachOpenableBelow(*FModel, top, [this](const QModelIndex& node) { collapse(node); });
}

void TGpsTreeView::Mark(const QModelIndex& top, bool open) {
  // A mark below `top` says no more than the new one.
  std::erase_if(FMarks, [&](const TMark& mark) {
    for (QModelIndex node = mark.Node; node.isValid(); node = node.parent()) {
      if (node == top) return true;
    }
    return !mark.Node.isValid();
  });
  FMarks.push_back({top, open});
}

bool TGpsTreeView::OpensWhenShown(const QModelIndex& parent) const {
  for (QModelIndex node = parent; node.isValid(); node = node.parent()) {
    for (const TMark& mark : FMarks) {
      if (mark.Node == node) return mark.Open;
    }
  }
  return false;
}

void TGpsTreeView::rowsInserted(const QModelIndex& parent, int start, int end) {
  QTreeView::rowsInserted(parent, start, end);
  if (!OpensWhenShown(parent)) return;
  scheduleDelayedItemsLayout();
  for (int row = start; row <= end; ++row) {
    const QModelIndex child = FModel->index(row, 0, parent);
    if (FModel->CanHaveChildren(child)) ExpandBelow(child);
  }
}

void TGpsTreeView::UtilsExpandClick() {
  if (NodeCount() == 0) return;
  if (NodeCount() > WaitPanelNodes) emit WaitNeeded();
  TNoRepaint noRepaint(this);
  const QModelIndex selected = FTreeSelected;
  Mark(selected.isValid() ? selected : FModel->RootIndex(), true);
  if (!selected.isValid()) {
    expandAll();
    return;
  }
  // With a layout pending, expand() and collapse() only record the state; one layout follows.
  scheduleDelayedItemsLayout();
  ExpandBelow(selected);
  executeDelayedItemsLayout();
}

void TGpsTreeView::UtilsContractClick() {
  if (NodeCount() == 0) return;
  if (NodeCount() > WaitPanelNodes) emit WaitNeeded();
  {
    TNoRepaint noRepaint(this);
    const QModelIndex selected = FTreeSelected;
    Mark(selected.isValid() ? selected : FModel->RootIndex(), false);
    if (selected.isValid()) {
      scheduleDelayedItemsLayout();
      CollapseBelow(selected);
      executeDelayedItemsLayout();
    } else {
      collapseAll();
    }
  }
  FModel->ShowFirstRowsBelow(FTreeSelected);
  const QModelIndex root = FModel->RootIndex();
  if (!isExpanded(root)) expand(root);
  ui::ReturnFreedMemory();
}

bool TGpsTreeView::OnImageOrLabel(const QModelIndex& index, const QPoint& pos) const {
  const QRect cell = visualRect(index);
  if (!cell.contains(pos)) return false;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = cell;
  const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
  return pos.x() < cell.left() + width;
}

void TGpsTreeView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QModelIndex index = indexAt(pos);
  FPressSwallowed = false;
  if (index.isValid() && OnImageOrLabel(index, pos)) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    FTreeSelected = index;
    QTreeView::mousePressEvent(event);
    return;
  }
  selectionModel()->clear();
  FTreeSelected = QPersistentModelIndex();
  // The expand button left of a node still works; nothing else selects.
  if (index.isValid() && pos.x() < visualRect(index).left()) {
    QTreeView::mousePressEvent(event);
  } else {
    FPressSwallowed = true;
  }
}

void TGpsTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (FPressSwallowed) {
    FPressSwallowed = false;
    return;
  }
  QTreeView::mouseReleaseEvent(event);
}

void TGpsTreeView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) {
    PopupAtCurrent();
  } else {
    FTreePopup->popup(event->globalPos());
  }
}

void TGpsTreeView::keyPressEvent(QKeyEvent* event) {
  const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
  if (shiftF10 || event->key() == Qt::Key_Menu) {
    PopupAtCurrent();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void TGpsTreeView::PopupAtCurrent() {
  const QRect cell = visualRect(FTreeSelected);
  const QPoint at = cell.isValid() ? cell.bottomLeft() + QPoint(cell.height() / 2, 0) : QPoint(0, 0);
  FTreePopup->popup(viewport()->mapToGlobal(at));
}

}  // namespace tarvola::view
