#include "view/gps_tree_model.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <ostream>

#include <QAbstractItemModelTester>
#include <QStringList>

#include "tree_test_data.h"
#include "test_support.h"

namespace tarvola::view {
namespace {

using test::Data;
using test::Route;
using test::Segment;
using test::Track;
using test::UnlistedSegment;
using test::Waypoint;

// Every node as "<depth dots><text> [image]", in tree order.
void Dump(const TGpsTreeModel& model, const QModelIndex& parent, int depth, QStringList& out) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex child = model.index(row, 0, parent);
    out << QString(depth, QLatin1Char('.')) + child.data().toString() + QStringLiteral(" [") +
               QString::number(child.data(TGpsTreeModel::ImageRole).toInt()) + QLatin1Char(']');
    Dump(model, child, depth + 1, out);
  }
}

QStringList Dump(const TGpsTreeModel& model) {
  QStringList out;
  Dump(model, {}, 0, out);
  return out;
}

QModelIndex Find(const TGpsTreeModel& model, const QString& text, const QModelIndex& parent = {}) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex child = model.index(row, 0, parent);
    if (child.data().toString() == text) return child;
    if (QModelIndex found = Find(model, text, child); found.isValid()) return found;
  }
  return {};
}

QString TimeLine(const gps::TDateTimeZ& time) {
  return QStringLiteral("Time: ") + QString::fromStdString(gps::DateTimeZToText(time, false));
}

struct TShapeCase {
  const char* Name;
  gps::TGpsData Data;
  TTreeOptions Options;
  QStringList Expected;
};

inline void PrintTo(const TShapeCase& row, std::ostream* os) { *os << row.Name; }

class TreeShape : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(TreeShape, ShowsTheDataAsTheExportSeesIt) {
  const TShapeCase& row = GetParam();
  TGpsTreeModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.Fill(std::make_shared<const gps::TGpsData>(row.Data), row.Options);
  const QStringList dump = Dump(model);
  EXPECT_EQ(dump, row.Expected) << dump.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(model.NodeCount(), std::uint64_t(dump.size()));
}

QStringList PointDetails(int depth, const char* lat, const char* lon, const char* ele = "0") {
  const QString dots(depth, QLatin1Char('.'));
  return {dots + "Lat: " + lat + " [8]",      dots + "Lon: " + lon + " [8]", dots + "Ele: " + ele + " [8]",
          dots + TimeLine({}) + " [8]", dots + "Desc:  [8]",          dots + "Cmt:  [9]"};
}

QStringList TrackPointNode(int depth, int number, int i) {
  const QString dots(depth, QLatin1Char('.'));
  const QString more(depth + 1, QLatin1Char('.'));
  return {dots + "Point " + QString::number(number) + " [5]",
          more + "Lat: 46." + QString::number(i) + " [8]", more + "Lon: 7." + QString::number(i) + " [8]",
          more + "Ele: " + QString::number(1000 + i) + " [8]", more + TimeLine({}) + " [9]"};
}

TShapeCase TwoWaypoints() {
  QStringList e{"GPS data [0]", ".Waypoints (2) [1]", "..A [2]"};
  e << PointDetails(3, "47.1", "11.2");
  e << "..B [2]";
  e << PointDetails(3, "47.1", "11.2");
  return {"TwoWaypoints", Data({Waypoint("A"), Waypoint("B")}, {}, {}), {}, e};
}

TShapeCase RoutesWithAndWithoutPoints() {
  gps::TGpsData data = Data({}, {Route("Pass", 1)}, {});
  data.Routes->push_back(gps::TRte{});  // a route element without child nodes
  QStringList e{"GPS data [0]", ".Routes (2) [1]", "..Pass (1) [3]", "...R1 [5]"};
  e << PointDetails(4, "", "");
  e << ".. (0) [3]";
  return {"RoutesWithAndWithoutPoints", data, {}, e};
}

TShapeCase JoinedSingleSegment() {
  QStringList e{"GPS data [0]", ".Tracks (1) [1]", "..Walk (2) [4]"};
  e << TrackPointNode(3, 1, 0) << TrackPointNode(3, 2, 1);
  return {"SingleSegmentIgnoresJoin", Data({}, {}, {Track("Walk", {Segment(2)})}), {}, e};
}

TShapeCase SplitSegments() {
  QStringList e{"GPS data [0]", ".Tracks (1) [1]", "..Walk (3) [4]", "...Segment1 (2) [6]"};
  e << TrackPointNode(4, 1, 0) << TrackPointNode(4, 2, 1);
  e << "...Segment2 (0) [6]" << "...Segment3 (0) [6]" << "...Segment4 (1) [6]";
  e << TrackPointNode(4, 1, 0);
  return {"SplitSegments",
          Data({}, {}, {Track("Walk", {Segment(2), UnlistedSegment(), Segment(0), Segment(1)})}), {}, e};
}

TShapeCase JoinedSegments() {
  QStringList e{"GPS data [0]", ".Tracks (1) [1]", "..Walk (3) [4]"};
  e << TrackPointNode(3, 1, 0) << TrackPointNode(3, 2, 1) << "...Segment2 (0) [4]";
  e << TrackPointNode(3, 1, 0);
  TTreeOptions join;
  join.JoinSegments = true;
  return {"JoinedSegments",
          Data({}, {}, {Track("Walk", {Segment(2), UnlistedSegment(), Segment(0), Segment(1)})}), join, e};
}

TShapeCase TrackWithoutSegmentList() {
  gps::TGpsData data = Data({}, {}, {Track("Walk", {Segment(1)})});
  gps::TTrk bare;
  bare.Name = "Bare";
  data.Tracks->insert(data.Tracks->begin(), bare);
  QStringList e{"GPS data [0]", ".Tracks (2) [1]", "..Walk (1) [4]"};
  e << TrackPointNode(3, 1, 0);
  return {"TrackWithoutSegmentListCountsOnly", data, {}, e};
}

TShapeCase UncheckedAndEmptyGroups() {
  TTreeOptions options;
  options.Waypoints = false;
  return {"UncheckedAndEmptyGroupsHidden", Data({Waypoint("A")}, {}, {}), options, {"GPS data [0]"}};
}

TShapeCase AbsentLists() { return {"AbsentListsGiveTheRootOnly", gps::TGpsData{}, {}, {"GPS data [0]"}}; }

INSTANTIATE_TEST_SUITE_P(Shapes, TreeShape,
                         ::testing::Values(TwoWaypoints(), RoutesWithAndWithoutPoints(), JoinedSingleSegment(),
                                           SplitSegments(), JoinedSegments(), TrackWithoutSegmentList(),
                                           UncheckedAndEmptyGroups(), AbsentLists()),
                         test::TRowName());

TEST(TreeModel, TimeDetailShowsTheUserTextWithoutZone) {
  gps::TGpsData data = Data({Waypoint("A")}, {}, {});
  (*data.Waypoints)[0].Time = gps::Iso8601ToDateTimeZ("2021-06-05T14:03:09+02:00");
  TGpsTreeModel model;
  model.Fill(std::make_shared<const gps::TGpsData>(data), {});
  const QModelIndex a = Find(model, QStringLiteral("A"));
  const QString expected = TimeLine((*data.Waypoints)[0].Time);
  EXPECT_EQ(model.index(3, 0, a).data().toString(), expected);
  EXPECT_GT(expected.size(), QStringLiteral("Time: ").size());
}

TEST(TreeModel, EmptyBeforeTheFirstFill) {
  TGpsTreeModel model;
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.NodeCount(), 0u);
  EXPECT_FALSE(model.RootIndex().isValid());
}

TEST(TreeModel, ManyPointsCostNoNodesOfTheirOwn) {
  gps::TGpsData data = Data({}, {}, {Track("Big", {Segment(40000), Segment(60000)})});
  TGpsTreeModel model;
  TTreeOptions join;
  join.JoinSegments = true;
  model.Fill(std::make_shared<const gps::TGpsData>(std::move(data)), join);
  EXPECT_EQ(model.NodeCount(), 1u + 1u + 1u + 5u * 100000u);
  const QModelIndex track = Find(model, QStringLiteral("Big (100000)"));
  // Shown as the view scrolls to them, a few thousand at a time.
  ASSERT_EQ(model.rowCount(track), int(TGpsTreeModel::FetchRows));
  EXPECT_FALSE(model.index(int(TGpsTreeModel::FetchRows), 0, track).isValid());
  int fetches = 0;
  for (; model.canFetchMore(track); ++fetches) model.fetchMore(track);
  EXPECT_EQ(fetches, 100000 / int(TGpsTreeModel::FetchRows) - 1);
  ASSERT_EQ(model.rowCount(track), 100000);
  const QModelIndex last = model.index(99999, 0, track);
  EXPECT_EQ(last.data().toString(), QStringLiteral("Point 60000"));
  EXPECT_EQ(model.parent(last), track);
  const QModelIndex ele = model.index(2, 0, last);
  EXPECT_EQ(ele.data().toString(), QStringLiteral("Ele: %1").arg(1000 + 59999));
  EXPECT_EQ(model.parent(ele), last);
}

}  // namespace
}  // namespace tarvola::view
