#include "service/system_proxy.h"

namespace tarvola::service {

TProxyAddress ReadSystemProxy(const QString& protocol) {
  const QByteArray lower = (protocol.toLower() + QStringLiteral("_proxy")).toLatin1();
  const QByteArray upper = lower.toUpper();
  QString value = qEnvironmentVariable(lower.constData());
  if (value.trimmed().isEmpty()) value = qEnvironmentVariable(upper.constData());
  return ParseProxyUrl(value);
}

}  // namespace tarvola::service
