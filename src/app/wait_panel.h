#pragma once

#include <QWidget>

namespace tarvola::app {

// WaitPanel: "Please wait..." over the tree. Whoever starts a long operation shows it;
// it hides itself when the event loop next goes idle.
class TWaitPanel : public QWidget {
  Q_OBJECT

public:
  explicit TWaitPanel(QWidget* parent);

  // Shows the panel and lets pending events run once, so that it is painted before the work.
  void ShowNow();
  // Keeps the panel's centre at the same proportion of the parent's client area.
  void Place(const QSize& client);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void HideWhenIdle();
};

}  // namespace tarvola::app
