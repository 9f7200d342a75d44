#pragma once

#include <cstdint>
#include <memory>

#include <QAbstractItemModel>

#include "gps/gps_data.h"
#include "view/tree_images.h"
#include "view/tree_layout.h"
#include "view/tree_node_id.h"

namespace tarvola::view {

// The data tree over an immutable snapshot of the loaded data: every node's text, image and
// children are worked out when the view asks, so a file of a million points costs the tree
// a few numbers per track segment, not a million items.
class TGpsTreeModel : public QAbstractItemModel {
  Q_OBJECT

public:
  static constexpr int ImageRole = Qt::UserRole + 1;  // the image index, an int

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
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
  QModelIndex Make(int row, const TNodeId& id) const;
  std::uint64_t Rows(const TNodeId& id) const;
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
};

}  // namespace tarvola::view
