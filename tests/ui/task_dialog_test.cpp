#include "ui/task_dialog.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <ostream>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include "test_support.h"

namespace tarvola::ui {
namespace {

struct TCutCase {
  const char* Name;
  QString Text;
  qsizetype Expected;
};

inline void PrintTo(const TCutCase& row, std::ostream* os) { *os << row.Name; }

class TaskDialogCut : public ::testing::TestWithParam<TCutCase> {};

TEST_P(TaskDialogCut, KeepsAtMost1024CodeUnitsAndWholePairs) {
  const QString cut = CutTaskDialogText(GetParam().Text);
  EXPECT_EQ(cut.size(), GetParam().Expected);
  EXPECT_TRUE(GetParam().Text.startsWith(cut));
  if (!cut.isEmpty()) {
    EXPECT_FALSE(cut.back().isHighSurrogate());
  }
}

QString WithPairAt(qsizetype position) {
  QString text(position, QLatin1Char('a'));
  text += QString::fromUcs4(U"\U0001F600");
  return text + QString(100, QLatin1Char('b'));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TaskDialogCut,
    ::testing::Values(TCutCase{"Short", QStringLiteral("Error loading GPX file."), 23},
                      TCutCase{"Exactly1024", QString(1024, QLatin1Char('x')), 1024},
                      TCutCase{"TwoThousand", QString(2000, QLatin1Char('x')), 1024},
                      TCutCase{"PairAcrossTheLimit", WithPairAt(1023), 1023},
                      TCutCase{"PairEndingAtTheLimit", WithPairAt(1022), 1024}),
    test::TRowName());

struct TIconCase {
  int Code;
  QMessageBox::Icon Icon;
};

inline void PrintTo(const TIconCase& row, std::ostream* os) { *os << row.Code; }

class TaskDialogIcons : public ::testing::TestWithParam<TIconCase> {};

TEST_P(TaskDialogIcons, CodeGivesTheIconOfItsMeaning) {
  EXPECT_EQ(TaskDialogIcon(GetParam().Code), GetParam().Icon);
}

INSTANTIATE_TEST_SUITE_P(Codes, TaskDialogIcons,
                         ::testing::Values(TIconCase{81, QMessageBox::Information},
                                           TIconCase{106, QMessageBox::Information},
                                           TIconCase{84, QMessageBox::Warning}, TIconCase{107, QMessageBox::Warning},
                                           TIconCase{98, QMessageBox::Critical},
                                           TIconCase{105, QMessageBox::Critical},
                                           TIconCase{99, QMessageBox::Question},
                                           TIconCase{104, QMessageBox::Question}, TIconCase{0, QMessageBox::NoIcon},
                                           TIconCase{100, QMessageBox::NoIcon}),
                         [](const auto& row) { return "Code" + std::to_string(row.param.Code); });

// Closing the box without a button counts as Cancel; a button it never offers counts as none.
TEST(TaskDialogResult, NoButtonIsCancelAndAnUnknownOneIsNone) {
  EXPECT_TRUE(TaskDialogResult(QMessageBox::NoButton) == TDialogResult::Cancel);
  EXPECT_TRUE(TaskDialogResult(QMessageBox::Abort) == TDialogResult::None);
}

// Answers the next message box from inside its modal loop.
void WhenBoxShows(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

struct TAnswerCase {
  const char* Name;
  QMessageBox::StandardButton Press;
  TDialogResult Expected;
};

inline void PrintTo(const TAnswerCase& row, std::ostream* os) { *os << row.Name; }

class ShowTaskDialogAnswers : public ::testing::TestWithParam<TAnswerCase> {};

TEST_P(ShowTaskDialogAnswers, QuestionReturnsThePressedButtonsNumber) {
  QString title, text, content;
  int width = 0;
  WhenBoxShows([&](QMessageBox& box) {
    title = box.windowTitle();
    text = box.text();
    content = box.informativeText();
    width = box.width();
    box.button(GetParam().Press)->click();
  });
  const TDialogResult result = ShowTaskDialog(nullptr, QStringLiteral("Update"), QStringLiteral("Download now?"),
                                              QStringLiteral("Version 6"), TDialogIcon::Question, ButtonsYesNoCancel);
  EXPECT_TRUE(result == GetParam().Expected);
  EXPECT_EQ(title, QStringLiteral("Update"));
  EXPECT_EQ(text, QStringLiteral("Download now?"));
  EXPECT_EQ(content, QStringLiteral("Version 6"));
  EXPECT_GE(width, 320) << "a content line would wrap every few words";
}

INSTANTIATE_TEST_SUITE_P(Buttons, ShowTaskDialogAnswers,
                         ::testing::Values(TAnswerCase{"Yes", QMessageBox::Yes, TDialogResult::Yes},
                                           TAnswerCase{"No", QMessageBox::No, TDialogResult::No},
                                           TAnswerCase{"Cancel", QMessageBox::Cancel, TDialogResult::Cancel}),
                         test::TRowName());

TEST(ShowTaskDialog, LongMainTextShowsItsFirst1024Units) {
  QString shown;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  WhenBoxShows([&](QMessageBox& box) {
    shown = box.text();
    icon = box.icon();
    box.button(QMessageBox::Ok)->click();
  });
  const QString text = QString(1000, QLatin1Char('a')) + QString(1000, QLatin1Char('b'));
  EXPECT_TRUE(ShowTaskDialog(nullptr, QStringLiteral("Load file..."), text, QString(), TDialogIcon::Error, ButtonsOk) ==
              TDialogResult::Ok);
  EXPECT_EQ(shown, text.left(1024));
  EXPECT_EQ(icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace tarvola::ui
