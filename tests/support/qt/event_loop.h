#pragma once

#include <QEventLoop>
#include <QTimer>

namespace tarvola::test {

// Runs the real event loop for a moment, so that it goes idle (and idle handlers run).
inline void RunEventLoop(int milliseconds = 30) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace tarvola::test
