#include "view/gps_tree_model.h"

#include <limits>
#include <vector>

#include "gps/iso8601.h"

namespace tarvola::view {

namespace {

constexpr int PointDetails = 6;
constexpr int TrackPointDetails = 4;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Counted(const QString& name, std::size_t count) {
  return name + QStringLiteral(" (") + QString::number(count) + QLatin1Char(')');
}

QString TimeText(const gps::TDateTimeZ& time) { return Q(gps::DateTimeZToText(time, false)); }

QString PointDetail(const gps::TPointFields& p, int line) {
  switch (line) {
    case 0: return QStringLiteral("Lat: ") + Q(p.Lat);
    case 1: return QStringLiteral("Lon: ") + Q(p.Lon);
    case 2: return QStringLiteral("Ele: ") + Q(p.Alt);
    case 3: return QStringLiteral("Time: ") + TimeText(p.Time);
    case 4: return QStringLiteral("Desc: ") + Q(p.Desc);
    default: return QStringLiteral("Cmt: ") + Q(p.Cmt);
  }
}

QString TrackPointDetail(const gps::TTrkPt& p, int line) {
  switch (line) {
    case 0: return QStringLiteral("Lat: ") + Q(p.Lat);
    case 1: return QStringLiteral("Lon: ") + Q(p.Lon);
    case 2: return QStringLiteral("Ele: ") + Q(p.Alt);
    default: return QStringLiteral("Time: ") + TimeText(p.Time);
  }
}

}  // namespace

TGpsTreeModel::TGpsTreeModel(QObject* parent) : QAbstractItemModel(parent), FImages(LoadTreeImages()) {}

void TGpsTreeModel::Fill(std::shared_ptr<const gps::TGpsData> data, const TTreeOptions& options) {
  beginResetModel();
  FData = std::move(data);
  FOptions = options;
  FLayout = FData ? TTreeLayout(*FData, options) : TTreeLayout();
  FLayout.NodeCount = std::max<std::uint64_t>(FLayout.NodeCount, 1);
  FHasRoot = true;
  FShown.clear();
  endResetModel();
}

void TGpsTreeModel::Clear() {
  beginResetModel();
  FData.reset();
  FLayout = TTreeLayout();
  FHasRoot = false;
  FShown.clear();
  endResetModel();
}

QModelIndex TGpsTreeModel::RootIndex() const { return FHasRoot ? Make(0, {TNodeKind::Root}) : QModelIndex(); }

bool TGpsTreeModel::IsRoot(const QModelIndex& index) const {
  return index.isValid() && TNodeId::Unpack(index.internalId()).Kind == TNodeKind::Root;
}

bool TGpsTreeModel::CanHaveChildren(const QModelIndex& index) const {
  if (!index.isValid()) return FHasRoot;
  switch (TNodeId::Unpack(index.internalId()).Kind) {
    case TNodeKind::WaypointDetail:
    case TNodeKind::RoutePointDetail:
    case TNodeKind::TrackPointDetail:
      return false;
    default:
      return Rows(TNodeId::Unpack(index.internalId())) > 0;
  }
}

QModelIndex TGpsTreeModel::Make(int row, const TNodeId& id) const {
  return createIndex(row, 0, quintptr(id.Pack()));
}

const TTrackRow& TGpsTreeModel::TrackOf(std::uint32_t segmentRow) const {
  return FLayout.TrackRows[FLayout.Segments[segmentRow].TrackRow];
}

const gps::TTrkPt& TGpsTreeModel::TrackPoint(std::uint32_t segmentRow, std::uint32_t point) const {
  const TSegmentRow& seg = FLayout.Segments[segmentRow];
  const gps::TTrk& track = (*FData->Tracks)[FLayout.TrackRows[seg.TrackRow].Track];
  return (*(*track.Segments)[seg.Segment].Points)[point];
}

const gps::TPointFields& TGpsTreeModel::RoutePoint(std::uint32_t route, std::uint32_t point) const {
  return (*(*FData->Routes)[route].Points)[point];
}

std::uint64_t TGpsTreeModel::Rows(const TNodeId& id) const {
  switch (id.Kind) {
    case TNodeKind::Root:
      return FLayout.Groups.size();
    case TNodeKind::Group:
      switch (TGroup(id.Owner)) {
        case TGroup::Waypoints: return FData->Waypoints->size();
        case TGroup::Routes: return FData->Routes->size();
        case TGroup::Tracks: return FLayout.TrackRows.size();
      }
      return 0;
    case TNodeKind::Waypoint:
    case TNodeKind::RoutePoint:
      return PointDetails;
    case TNodeKind::Route: {
      const auto& points = (*FData->Routes)[id.Owner].Points;
      return points ? points->size() : 0;
    }
    case TNodeKind::Track:
      return FLayout.TrackRows[id.Owner].ChildRows;
    case TNodeKind::Segment: {
      const TSegmentRow& seg = FLayout.Segments[id.Owner];
      return seg.IsNode(TrackOf(id.Owner).Joined) && seg.HasList ? seg.Points : 0;
    }
    case TNodeKind::TrackPoint:
      return TrackPointDetails;
    default:
      return 0;
  }
}

TNodeId TGpsTreeModel::Child(const TNodeId& parent, std::uint32_t row) const {
  switch (parent.Kind) {
    case TNodeKind::Root:
      return {TNodeKind::Group, 0, std::uint32_t(FLayout.Groups[row]), 0};
    case TNodeKind::Group:
      switch (TGroup(parent.Owner)) {
        case TGroup::Waypoints: return {TNodeKind::Waypoint, 0, 0, row};
        case TGroup::Routes: return {TNodeKind::Route, 0, row, 0};
        case TGroup::Tracks: return {TNodeKind::Track, 0, row, 0};
      }
      break;
    case TNodeKind::Waypoint:
      return {TNodeKind::WaypointDetail, std::uint8_t(row), 0, parent.Item};
    case TNodeKind::Route:
      return {TNodeKind::RoutePoint, 0, parent.Owner, row};
    case TNodeKind::RoutePoint:
      return {TNodeKind::RoutePointDetail, std::uint8_t(row), parent.Owner, parent.Item};
    case TNodeKind::Track: {
      const TTrackRow& track = FLayout.TrackRows[parent.Owner];
      if (!track.Joined) return {TNodeKind::Segment, 0, std::uint32_t(track.FirstSegRow + row), 0};
      const std::size_t s = FLayout.SegmentAt(track, row);
      const TSegmentRow& seg = FLayout.Segments[s];
      if (seg.IsNode(true)) return {TNodeKind::Segment, 0, std::uint32_t(s), 0};
      return {TNodeKind::TrackPoint, 0, std::uint32_t(s), std::uint32_t(row - seg.Row)};
    }
    case TNodeKind::Segment:
      return {TNodeKind::TrackPoint, 0, parent.Owner, row};
    case TNodeKind::TrackPoint:
      return {TNodeKind::TrackPointDetail, std::uint8_t(row), parent.Owner, parent.Item};
    default:
      break;
  }
  return {};
}

QModelIndex TGpsTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  if (!parent.isValid()) return row == 0 && FHasRoot ? RootIndex() : QModelIndex();
  if (std::uint64_t(row) >= ShownRows(parent)) return {};
  return Make(row, Child(TNodeId::Unpack(parent.internalId()), std::uint32_t(row)));
}

QModelIndex TGpsTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const TNodeId id = TNodeId::Unpack(child.internalId());
  const auto group = [this](TGroup g) {
    return Make(FLayout.GroupRow(g), {TNodeKind::Group, 0, std::uint32_t(g), 0});
  };
  switch (id.Kind) {
    case TNodeKind::Root:
      return {};
    case TNodeKind::Group:
      return RootIndex();
    case TNodeKind::Waypoint:
      return group(TGroup::Waypoints);
    case TNodeKind::WaypointDetail:
      return Make(int(id.Item), {TNodeKind::Waypoint, 0, 0, id.Item});
    case TNodeKind::Route:
      return group(TGroup::Routes);
    case TNodeKind::RoutePoint:
      return Make(int(id.Owner), {TNodeKind::Route, 0, id.Owner, 0});
    case TNodeKind::RoutePointDetail:
      return Make(int(id.Item), {TNodeKind::RoutePoint, 0, id.Owner, id.Item});
    case TNodeKind::Track:
      return group(TGroup::Tracks);
    case TNodeKind::Segment: {
      const std::uint32_t track = std::uint32_t(FLayout.Segments[id.Owner].TrackRow);
      return Make(int(track), {TNodeKind::Track, 0, track, 0});
    }
    case TNodeKind::TrackPoint: {
      const TSegmentRow& seg = FLayout.Segments[id.Owner];
      if (TrackOf(id.Owner).Joined) {
        return Make(int(seg.TrackRow), {TNodeKind::Track, 0, std::uint32_t(seg.TrackRow), 0});
      }
      return Make(int(seg.Row), {TNodeKind::Segment, 0, id.Owner, 0});
    }
    case TNodeKind::TrackPointDetail: {
      const TSegmentRow& seg = FLayout.Segments[id.Owner];
      const std::size_t row = TrackOf(id.Owner).Joined ? seg.Row + id.Item : id.Item;
      return Make(int(row), {TNodeKind::TrackPoint, 0, id.Owner, id.Item});
    }
  }
  return {};
}

std::uint64_t TGpsTreeModel::ShownRows(const QModelIndex& parent) const {
  const std::uint64_t rows = Rows(TNodeId::Unpack(parent.internalId()));
  if (rows <= FetchRows) return rows;
  const auto shown = FShown.find(parent.internalId());
  return std::min(rows, shown == FShown.end() ? FetchRows : shown->second);
}

int TGpsTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return FHasRoot ? 1 : 0;
  return int(std::min<std::uint64_t>(ShownRows(parent), std::numeric_limits<int>::max()));
}

bool TGpsTreeModel::canFetchMore(const QModelIndex& parent) const {
  return parent.isValid() && ShownRows(parent) < Rows(TNodeId::Unpack(parent.internalId()));
}

void TGpsTreeModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  const std::uint64_t shown = ShownRows(parent);
  const std::uint64_t more = std::min(FetchRows, Rows(TNodeId::Unpack(parent.internalId())) - shown);
  const std::uint64_t limit = std::uint64_t(std::numeric_limits<int>::max());
  if (shown + more > limit) return;
  beginInsertRows(parent, int(shown), int(shown + more - 1));
  FShown[parent.internalId()] = shown + more;
  endInsertRows();
}

void TGpsTreeModel::ShowFirstRowsBelow(const QModelIndex& top) {
  std::vector<quintptr> nodes;
  for (const auto& [node, shown] : FShown) nodes.push_back(node);
  for (const quintptr node : nodes) {
    // A node's own index, found as the parent of its first child.
    const QModelIndex index = parent(Make(0, Child(TNodeId::Unpack(node), 0)));
    if (!IsAtOrBelow(index, top)) continue;
    beginRemoveRows(index, int(FetchRows), int(FShown[node] - 1));
    FShown.erase(node);
    endRemoveRows();
  }
}

bool TGpsTreeModel::IsAtOrBelow(QModelIndex index, const QModelIndex& top) const {
  if (!top.isValid() || IsRoot(top)) return true;
  for (; index.isValid(); index = parent(index)) {
    if (index == top) return true;
  }
  return false;
}

int TGpsTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TGpsTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QString TGpsTreeModel::Text(const TNodeId& id) const {
  switch (id.Kind) {
    case TNodeKind::Root:
      return QStringLiteral("GPS data");
    case TNodeKind::Group:
      switch (TGroup(id.Owner)) {
        case TGroup::Waypoints: return Counted(QStringLiteral("Waypoints"), FData->Waypoints->size());
        case TGroup::Routes: return Counted(QStringLiteral("Routes"), FData->Routes->size());
        case TGroup::Tracks: return Counted(QStringLiteral("Tracks"), FData->Tracks->size());
      }
      break;
    case TNodeKind::Waypoint:
      return Q((*FData->Waypoints)[id.Item].Name);
    case TNodeKind::WaypointDetail:
      return PointDetail((*FData->Waypoints)[id.Item], id.Detail);
    case TNodeKind::Route:
      return Counted(Q((*FData->Routes)[id.Owner].Name), Rows(id));
    case TNodeKind::RoutePoint:
      return Q(RoutePoint(id.Owner, id.Item).Name);
    case TNodeKind::RoutePointDetail:
      return PointDetail(RoutePoint(id.Owner, id.Item), id.Detail);
    case TNodeKind::Track: {
      const TTrackRow& track = FLayout.TrackRows[id.Owner];
      return Counted(Q((*FData->Tracks)[track.Track].Name), track.PointTotal);
    }
    case TNodeKind::Segment: {
      const TSegmentRow& seg = FLayout.Segments[id.Owner];
      return Counted(QStringLiteral("Segment") + QString::number(seg.Segment + 1), seg.Points);
    }
    case TNodeKind::TrackPoint:
      return QStringLiteral("Point ") + QString::number(std::uint64_t(id.Item) + 1);
    case TNodeKind::TrackPointDetail:
      return TrackPointDetail(TrackPoint(id.Owner, id.Item), id.Detail);
  }
  return {};
}

int TGpsTreeModel::Image(const TNodeId& id) const {
  switch (id.Kind) {
    case TNodeKind::Root: return tiReceiver;
    case TNodeKind::Group: return tiFolder;
    case TNodeKind::Waypoint: return tiPushpin;
    case TNodeKind::Route: return tiRoute;
    case TNodeKind::Track: return tiHiker;
    case TNodeKind::RoutePoint:
    case TNodeKind::TrackPoint: return tiPoint;
    case TNodeKind::Segment: return TrackOf(id.Owner).Joined ? tiHiker : tiSegment;
    case TNodeKind::WaypointDetail:
    case TNodeKind::RoutePointDetail: return id.Detail == PointDetails - 1 ? tiDetailLast : tiDetail;
    case TNodeKind::TrackPointDetail: return id.Detail == TrackPointDetails - 1 ? tiDetailLast : tiDetail;
  }
  return tiQuestion;
}

QVariant TGpsTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const TNodeId id = TNodeId::Unpack(index.internalId());
  switch (role) {
    case Qt::DisplayRole: return Text(id);
    case Qt::DecorationRole: return FImages[std::size_t(Image(id))];
    case ImageRole: return Image(id);
    default: return {};
  }
}

Qt::ItemFlags TGpsTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!CanHaveChildren(index)) flags |= Qt::ItemNeverHasChildren;
  return flags;
}

}  // namespace tarvola::view
