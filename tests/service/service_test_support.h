#pragma once

#include <optional>

#include <QByteArray>
#include <QCloseEvent>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QWidget>

#include "service/service_channel.h"

namespace tarvola::test {

// Stands in for the main window: catches, on this thread, the end of a lone download thread.
class TDoneCatcher : public QObject {
public:
  std::optional<bool> Success;

  void Watch(service::TWorkTh& thread) {
    connect(&thread, &service::TWorkTh::Done, this, [this](bool success) { Success = success; }, Qt::QueuedConnection);
  }
};

// Stands in for the main window with the channel wired as the program wires it.
class TStandInWindow : public QWidget {
public:
  service::TServiceChannel* Channel = nullptr;
  int Closes = 0;

protected:
  void closeEvent(QCloseEvent* event) override {
    if (Channel != nullptr) Channel->CloseQuery();
    ++Closes;
    event->accept();
  }
};

// Sets an environment variable for one test and puts the old state back.
class TEnvGuard {
public:
  TEnvGuard(const char* name, std::optional<QByteArray> value) : FName(name), FOld(Current(name)) { Set(value); }
  ~TEnvGuard() { Set(FOld); }
  TEnvGuard(const TEnvGuard&) = delete;
  TEnvGuard& operator=(const TEnvGuard&) = delete;

private:
  static std::optional<QByteArray> Current(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
  }
  void Set(const std::optional<QByteArray>& value) {
    if (value) qputenv(FName, *value);
    else qunsetenv(FName);
  }
  const char* FName;
  std::optional<QByteArray> FOld;
};

}  // namespace tarvola::test
