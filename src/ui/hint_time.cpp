#include "ui/hint_time.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace tarvola::ui {

namespace {

// Qt has no application-wide hint time: each widget's is filled in as its first hint shows.
class THintTimeFilter : public QObject {
public:
  explicit THintTimeFilter(QObject* parent) : QObject(parent) {}
  int Milliseconds = -1;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->toolTipDuration() < 0) widget->setToolTipDuration(Milliseconds);
    }
    return false;
  }
};

}  // namespace

void SetApplicationHintTime(int milliseconds) {
  // One filter per application object; it goes with the application.
  static QPointer<THintTimeFilter> filter;
  if (filter == nullptr) {
    filter = new THintTimeFilter(qApp);
    qApp->installEventFilter(filter);
  }
  filter->Milliseconds = milliseconds;
}

}  // namespace tarvola::ui
