#include "view/gps_tree_view.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "event_loop.h"
#include "tree_test_data.h"

namespace tarvola::view {
namespace {

using test::Data;
using test::Route;
using test::Segment;
using test::Track;
using test::Waypoint;

class TreeView : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(400, 600);
    View.show();
    View.Fill(std::make_shared<const gps::TGpsData>(
                  Data({Waypoint("A"), Waypoint("B")}, {Route("Pass", 3), Route("Ridge", 2)},
                       {Track("Walk", {Segment(3), Segment(2)})})),
              {});
  }

  QModelIndex Find(const QString& text, const QModelIndex& parent = {}) const {
    const TGpsTreeModel& model = View.Model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
      const QModelIndex child = model.index(row, 0, parent);
      if (child.data().toString() == text) return child;
      if (QModelIndex found = Find(text, child); found.isValid()) return found;
    }
    return {};
  }

  void Press(Qt::MouseButton button, const QPoint& pos) {
    QTest::mousePress(View.viewport(), button, {}, pos);
    QTest::mouseRelease(View.viewport(), button, {}, pos);
  }
  // On the node's image.
  void PressOn(const QModelIndex& index, Qt::MouseButton button = Qt::RightButton) {
    View.scrollTo(index);
    const QRect r = View.visualRect(index);
    Press(button, QPoint(r.left() + 8, r.center().y()));
  }
  // In the node's row, far to the right of its label.
  void PressBeside(const QModelIndex& index) {
    const QRect r = View.visualRect(index);
    Press(Qt::RightButton, QPoint(View.viewport()->width() - 3, r.center().y()));
  }

  // Whether every node from `index` down that can open is open, or is closed.
  bool AllInState(const QModelIndex& index, bool open) const {
    if (!View.Model().CanHaveChildren(index)) return true;
    if (View.isExpanded(index) != open) return false;
    for (int row = 0; row < View.Model().rowCount(index); ++row) {
      if (!AllInState(View.Model().index(row, 0, index), open)) return false;
    }
    return true;
  }
  bool AllExpanded(const QModelIndex& index) const { return AllInState(index, true); }
  bool NoneExpanded(const QModelIndex& index) const { return AllInState(index, false); }
  // The root open, everything below it closed.
  void ExpectOnlyTheRootOpen() const {
    const QModelIndex root = View.Model().RootIndex();
    EXPECT_TRUE(View.isExpanded(root));
    for (int row = 0; row < View.Model().rowCount(root); ++row) {
      EXPECT_TRUE(NoneExpanded(View.Model().index(row, 0, root))) << row;
    }
  }

  TGpsTreeView View;
};

TEST_F(TreeView, FillOpensTheRootOnly) {
  ExpectOnlyTheRootOpen();
  EXPECT_FALSE(View.rootIsDecorated());
  EXPECT_EQ(View.indentation(), 19);
  EXPECT_EQ(View.palette().color(QPalette::Base), QColor(237, 238, 241));
}

TEST_F(TreeView, RootRefusesToCollapse) {
  const QModelIndex root = View.Model().RootIndex();
  View.collapse(root);
  EXPECT_TRUE(View.isExpanded(root));
}

TEST_F(TreeView, PressOnANodeSelectsItPressBesideSelectsNothing) {
  const QModelIndex pass = Find(QStringLiteral("Pass (3)"));
  PressOn(pass);
  EXPECT_EQ(View.TreeSelected(), pass);
  EXPECT_EQ(View.currentIndex(), pass);
  PressBeside(pass);
  EXPECT_FALSE(View.TreeSelected().isValid());
  EXPECT_TRUE(View.selectionModel()->selectedIndexes().isEmpty());
}

TEST_F(TreeView, ExpandWithoutSelectionOpensEverything) {
  PressBeside(Find(QStringLiteral("Routes (2)")));
  View.UtilsExpandClick();
  EXPECT_TRUE(AllExpanded(View.Model().RootIndex()));
}

TEST_F(TreeView, ExpandOnANodeOpensItsBranchOnly) {
  PressOn(Find(QStringLiteral("Routes (2)")));
  View.UtilsExpandClick();
  EXPECT_TRUE(AllExpanded(Find(QStringLiteral("Routes (2)"))));
  EXPECT_FALSE(View.isExpanded(Find(QStringLiteral("Waypoints (2)"))));
  EXPECT_FALSE(View.isExpanded(Find(QStringLiteral("Tracks (1)"))));
}

TEST_F(TreeView, ContractOnARouteClosesOnlyThatRoute) {
  View.UtilsExpandClick();
  const QModelIndex pass = Find(QStringLiteral("Pass (3)"));
  PressOn(pass);
  View.UtilsContractClick();
  EXPECT_TRUE(NoneExpanded(pass));
  EXPECT_TRUE(View.isExpanded(Find(QStringLiteral("Routes (2)"))));
  EXPECT_TRUE(AllExpanded(Find(QStringLiteral("Ridge (2)"))));
  EXPECT_TRUE(AllExpanded(Find(QStringLiteral("Tracks (1)"))));
  // Re-opening the route shows its points closed.
  View.expand(pass);
  EXPECT_FALSE(View.isExpanded(View.Model().index(0, 0, pass)));
}

TEST_F(TreeView, ContractOnTheRootLeavesTheRootOpen) {
  View.UtilsExpandClick();
  PressOn(View.Model().RootIndex());
  View.UtilsContractClick();
  ExpectOnlyTheRootOpen();
}

TEST_F(TreeView, ContractWithoutSelectionClosesAllButTheRoot) {
  View.UtilsExpandClick();
  View.selectionModel()->clear();
  View.UtilsContractClick();
  const QModelIndex root = View.Model().RootIndex();
  EXPECT_TRUE(View.isExpanded(root));
  EXPECT_TRUE(NoneExpanded(Find(QStringLiteral("Tracks (1)"))));
}

TEST_F(TreeView, ARebuildForgetsTheSelectedNode) {
  PressOn(Find(QStringLiteral("Pass (3)")));
  ASSERT_TRUE(View.TreeSelected().isValid());
  TTreeOptions noRoutes;
  noRoutes.Routes = false;
  View.Fill(std::make_shared<const gps::TGpsData>(Data({Waypoint("A")}, {Route("Pass", 3)}, {})), noRoutes);
  EXPECT_FALSE(View.TreeSelected().isValid());
  View.UtilsExpandClick();  // acts on the whole tree
  EXPECT_TRUE(AllExpanded(View.Model().RootIndex()));
}

// A long segment gives the view its points a few hundred at a time; "Expand items" and
// "Contract items" must hold for the points given later too.
TEST_F(TreeView, PointsShownLaterFollowExpandAndContract) {
  const int points = 10 * int(TGpsTreeModel::FetchRows) + 10;
  View.Fill(std::make_shared<const gps::TGpsData>(
                Data({}, {}, {Track("Long", {Segment(points), Segment(points)})})),
            {});
  TGpsTreeModel& model = View.Model();
  const QModelIndex track = Find(QStringLiteral("Tracks (1)"));
  View.UtilsExpandClick();
  const QModelIndex first = model.index(0, 0, model.index(0, 0, track));
  const QModelIndex second = model.index(1, 0, model.index(0, 0, track));
  const int before = model.rowCount(second);
  View.scrollToBottom();  // as a user scrolls to the last point shown
  EXPECT_GT(model.rowCount(second), before);
  ASSERT_TRUE(model.canFetchMore(first));
  while (model.canFetchMore(first)) model.fetchMore(first);
  EXPECT_TRUE(View.isExpanded(model.index(points - 1, 0, first)));
  PressOn(second);
  View.UtilsContractClick();
  EXPECT_EQ(model.rowCount(second), int(TGpsTreeModel::FetchRows));  // the closed branch gives its rows back
  while (model.canFetchMore(second)) model.fetchMore(second);
  ASSERT_EQ(model.rowCount(second), points);
  EXPECT_FALSE(View.isExpanded(model.index(points - 1, 0, second)));
  EXPECT_TRUE(View.isExpanded(model.index(points - 1, 0, first)));
}

TEST_F(TreeView, RightClickShowsThePopupWithItsTwoItems) {
  const QModelIndex pass = Find(QStringLiteral("Pass (3)"));
  View.scrollTo(pass);
  const QRect r = View.visualRect(pass);
  const QPoint pos(r.left() + 8, r.center().y());
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, pos, View.viewport()->mapToGlobal(pos));
  QCoreApplication::sendEvent(View.viewport(), &menuEvent);
  ASSERT_TRUE(View.TreePopup()->isVisible());
  EXPECT_EQ(View.UtilsExpand()->text(), QStringLiteral("Expand items"));
  EXPECT_EQ(View.UtilsContract()->text(), QStringLiteral("Contract items"));
  View.TreePopup()->hide();
}

class WaitPanelRule : public ::testing::TestWithParam<std::pair<int, bool>> {};

// Two waypoints are 1 + 1 + 14 nodes; each track point adds five.
TEST_P(WaitPanelRule, LongExpandAsksForTheWaitPanelAboveAThousandNodes) {
  const auto [points, wanted] = GetParam();
  TGpsTreeView view;
  gps::TGpsData data = Data({}, {}, {Track("T", {Segment(points)})});
  view.Fill(std::make_shared<const gps::TGpsData>(data), {});
  QSignalSpy spy(&view, &TGpsTreeView::WaitNeeded);
  view.UtilsExpandClick();
  view.UtilsContractClick();
  EXPECT_EQ(view.NodeCount() > 1000, wanted);
  EXPECT_EQ(spy.count(), wanted ? 2 : 0);
}

// 3 + 5n nodes: 199 points give 998, 200 give 1003.
INSTANTIATE_TEST_SUITE_P(Counts, WaitPanelRule,
                         ::testing::Values(std::pair{199, false}, std::pair{200, true}));

TEST(TreeViewEmpty, MenuCommandsDoNothingWithoutNodes) {
  TGpsTreeView view;
  QSignalSpy spy(&view, &TGpsTreeView::WaitNeeded);
  view.UtilsExpandClick();
  view.UtilsContractClick();
  EXPECT_EQ(view.Model().rowCount(), 0);
  EXPECT_EQ(spy.count(), 0);
}

}  // namespace
}  // namespace tarvola::view
