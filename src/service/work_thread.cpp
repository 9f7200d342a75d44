#include "service/work_thread.h"

#include "service/http_download.h"

namespace tarvola::service {

TWorkTh::TWorkTh(TWorkInfo workInfo, QObject* parent) : QThread(parent), WorkInfo(std::move(workInfo)) {}

void TWorkTh::Stop() {
  FStopRequested.store(true);
}

void TWorkTh::run() {
  if (FStopRequested.load()) return;
  const int outcome = DownloadToFile(WorkInfo, [this] { return FStopRequested.load(); });
  FError.store(outcome);
  emit Done(outcome == OutcomeSuccess);
}

}  // namespace tarvola::service
