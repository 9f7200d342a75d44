#pragma once

#include <cstdint>

#include <QPointer>
#include <QWidget>

class QPushButton;
class QShortcut;

namespace tarvola::app {

// WaitPanel: "Please wait..." over the tree. Whoever starts a long operation shows it;
// it hides itself when the event loop next goes idle, unless work running beside the event
// loop holds it: then it shows how far the work has come and offers Cancel (also Esc).
class TWaitPanel : public QWidget {
  Q_OBJECT

public:
  explicit TWaitPanel(QWidget* parent);

  // Shows the panel and lets pending events run once, so that it is painted before the work.
  void ShowNow();
  // Keeps the panel's centre at the same proportion of the parent's client area.
  void Place(const QSize& client);

  // Work starts: the panel stays until EndWork, with a bar when `total` (bytes, points) is known.
  void BeginWork(std::uint64_t total);
  void ShowDone(std::uint64_t done);
  void EndWork();
  QPushButton* CancelButton() const { return FCancel; }

signals:
  void CancelRequested();

protected:
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

private:
  void HideWhenIdle();
  int Permille() const;

  QPushButton* FCancel;
  QShortcut* FEscape;
  QPointer<QWidget> FFocusBefore;
  bool FHeld = false;
  std::uint64_t FTotal = 0;
  std::uint64_t FDone = 0;
};

}  // namespace tarvola::app
