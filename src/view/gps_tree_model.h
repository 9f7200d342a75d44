#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include <QAbstractItemModel>

#include "gps/gps_data.h"
#include "view/tree_images.h"
#include "view/tree_layout.h"
#include "view/tree_node_id.h"

namespace tarvola::view {

// The data tree over an immutable snapshot of the loaded data: every node's text, image and
// children are worked out when the view asks, so a file of a million points costs the tree
// a few numbers per track segment, not a million items. A node with more than FetchRows
// children shows them FetchRows at a time, as the view scrolls to them (fetchMore): a view
// keeps a row of its own for every row it shows, so that opening a million points at once
// would hold hundreds of megabytes and the window for seconds.
class TGpsTreeModel : public QAbstractItemModel {
  Q_OBJECT

public:
  static constexpr int ImageRole = Qt::UserRole + 1;  // the image index, an int
  static constexpr std::uint64_t FetchRows = 500;

  explicit TGpsTreeModel(QObject* parent = nullptr);

  // FillGpxTree: the tree now shows `data` as the options let the export see it.
  void Fill(std::shared_ptr<const gps::TGpsData> data, const TTreeOptions& options);
  // No nodes at all (the tree before the first load).
  void Clear();

  std::uint64_t NodeCount() const { return FHasRoot ? FLayout.NodeCount : 0; }
  QModelIndex RootIndex() const;
  bool IsRoot(const QModelIndex& index) const;
  // Whether the node can ever have children; leaves need not be walked.
  bool CanHaveChildren(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  // Takes back the rows shown beyond the first FetchRows of `top` and of every node below it,
  // so that closing a branch gives back what scrolling through it cost.
  void ShowFirstRowsBelow(const QModelIndex& top);
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
  QModelIndex Make(int row, const TNodeId& id) const;
  std::uint64_t Rows(const TNodeId& id) const;
  // The rows of `parent` the view has been given so far.
  std::uint64_t ShownRows(const QModelIndex& parent) const;
  bool IsAtOrBelow(QModelIndex index, const QModelIndex& top) const;
  TNodeId Child(const TNodeId& parent, std::uint32_t row) const;
  QString Text(const TNodeId& id) const;
  int Image(const TNodeId& id) const;
  const TTrackRow& TrackOf(std::uint32_t segmentRow) const;
  const gps::TTrkPt& TrackPoint(std::uint32_t segmentRow, std::uint32_t point) const;
  const gps::TPointFields& RoutePoint(std::uint32_t route, std::uint32_t point) const;

  std::shared_ptr<const gps::TGpsData> FData;
  TTreeOptions FOptions;
  TTreeLayout FLayout;
  bool FHasRoot = false;
  TTreeImages FImages;
  std::unordered_map<quintptr, std::uint64_t> FShown;  // nodes given more than FetchRows rows
};

}  // namespace tarvola::view
