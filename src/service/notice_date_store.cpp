#include "service/notice_date_store.h"

#include <QSettings>

#include "service/service_config.h"

namespace tarvola::service {

namespace {

constexpr char CodeKey = 0x5A;

QByteArray Scramble(QByteArray bytes) {
  for (char& byte : bytes) byte = static_cast<char>(byte ^ CodeKey);
  return bytes;
}

QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, config::SettingsOrganization.toString(),
                   config::SettingsApplication.toString());
}

}  // namespace

QByteArray EncodeNoticeDate(const QString& dateText) {
  return Scramble(dateText.toUtf8()).toBase64();
}

QString DecodeNoticeDate(const QByteArray& stored) {
  const auto decoded = QByteArray::fromBase64Encoding(stored, QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return {};
  return QString::fromUtf8(Scramble(*decoded));
}

QString ReadNoticeDate() {
  const QSettings settings = UserSettings();
  return DecodeNoticeDate(settings.value(config::NoticeDateKey.toString()).toString().toLatin1());
}

void WriteNoticeDate(const QString& dateText) {
  QSettings settings = UserSettings();
  settings.setValue(config::NoticeDateKey.toString(), QString::fromLatin1(EncodeNoticeDate(dateText)));
}

}  // namespace tarvola::service
