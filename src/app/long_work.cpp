#include "app/long_work.h"

#include <exception>
#include <thread>

#include <QEventLoop>
#include <QTimer>

namespace tarvola::app {

namespace {

constexpr int TickMilliseconds = 40;

}  // namespace

void RunBesideEventLoop(TWorkProgress& progress, const TLongWork& work, const std::function<void()>& tick) {
  QEventLoop loop;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, &loop, [&tick] {
    if (tick) tick();
  });
  ticker.start(TickMilliseconds);
  std::exception_ptr fault;
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    try {
      work(progress);
    } catch (...) {
      fault = std::current_exception();
    }
    ended.store(true);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // A quit of the application ends every loop, this one too, perhaps before the work.
  loop.exec();
  if (!ended.load()) progress.Cancel();
  worker.join();
  if (fault) std::rethrow_exception(fault);
}

}  // namespace tarvola::app
