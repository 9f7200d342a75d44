#pragma once

#include <QEvent>

namespace tarvola::service {

// Posted by the main window to itself once it has been displayed.
inline constexpr QEvent::Type ServiceStartEvent = static_cast<QEvent::Type>(QEvent::User + 1);
// Posted by the download thread when it has ended.
inline constexpr QEvent::Type ServiceDoneEvent = static_cast<QEvent::Type>(QEvent::User + 2);

class TServiceDoneEvent : public QEvent {
public:
  explicit TServiceDoneEvent(bool success) : QEvent(ServiceDoneEvent), FSuccess(success) {}
  bool Success() const { return FSuccess; }

private:
  bool FSuccess;
};

}  // namespace tarvola::service
