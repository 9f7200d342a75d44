#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <random>

#include <QObject>
#include <QString>

#include "service/work_thread.h"

namespace tarvola::service {

// What a finished download has for the user, at most once a day. The program shows the
// message, opens the page, and offers the update when there is one.
struct TServiceNotices {
  QString Title;
  QString Message;     // empty: none
  QString PageUrl;     // empty: none
  QString UpdateText;  // the offer's question; empty: no offer
  QString UpdateUrl;   // set whenever UpdateText is
};

using TNoticesHandler = std::function<void(const TServiceNotices&)>;

// The main window's side of the service channel. The window keeps one as a member and
//  - calls FirstShow() at its first show (the download starts once the event loop runs),
//  - calls CloseQuery() from its close event, before accepting it.
// Construction gives ServiceData and SystemProxy their initial values.
class TServiceChannel : public QObject {
public:
  TServiceChannel(QString tempDir, TNoticesHandler onNotices, QObject* parent = nullptr);
  ~TServiceChannel() override;

  void FirstShow();
  void CloseQuery();

  bool WorkWorking() const { return FWorkWorking; }
  const QString& WorkFile() const { return FWorkFile; }
  bool HasWorkThread() const { return FWorkTh != nullptr; }
  // The download's outcome code once its thread has ended.
  std::optional<int> LastOutcome() const { return FLastOutcome; }

private:
  void ServiceStart();
  void ServiceDone(bool success);
  void ShowNotices(const QString& updateText);
  void StopWork();
  void WorkThTerminated();
  void ReleaseWorkTh();

  const QString FTempDir;
  const TNoticesHandler FOnNotices;
  const QString FEndpoint;
  std::mt19937 FRandom;
  bool FStarted = false;
  bool FWorkWorking = false;
  QString FWorkFile;
  std::unique_ptr<TWorkTh> FWorkTh;
  std::optional<int> FLastOutcome;
};

}  // namespace tarvola::service
