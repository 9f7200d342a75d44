#pragma once

#include <atomic>

#include <QString>
#include <QThread>

#include "service/service_data.h"

namespace tarvola::service {

// Everything the thread needs, filled in before it starts and never touched afterwards.
struct TWorkInfo {
  QString Url;
  QString FileName;
  TProxy Proxy;
};

// Outcome codes of a download.
enum TDownloadOutcome : int {
  OutcomeUndecided = -1,
  OutcomeSuccess = 0,
  OutcomeNoDocument = 1,
  OutcomeHttpStatus = 2,
  OutcomeTransport = 3,
  OutcomeStopped = 4,
};

// Downloads WorkInfo.Url into WorkInfo.FileName on its own thread, then signals Done.
class TWorkTh : public QThread {
  Q_OBJECT

public:
  explicit TWorkTh(TWorkInfo workInfo, QObject* parent = nullptr);

  // Tells the thread to stop, also before it has started; safe from any thread.
  void Stop();

  // The outcome code, final once the thread has finished.
  int Outcome() const { return FError.load(); }

signals:
  // From the download's thread, unless it was stopped before it started.
  void Done(bool success);

protected:
  void run() override;

private:
  const TWorkInfo WorkInfo;
  std::atomic<int> FError{OutcomeUndecided};
  std::atomic<bool> FStopRequested{false};
};

}  // namespace tarvola::service
