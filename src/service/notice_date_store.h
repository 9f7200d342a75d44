#pragma once

#include <QString>

namespace tarvola::service {

// The day on which the service notices were last shown, kept per user in the
// platform's settings store, lightly encoded so that it is not an obvious knob.
QString ReadNoticeDate();
void WriteNoticeDate(const QString& dateText);

QByteArray EncodeNoticeDate(const QString& dateText);
QString DecodeNoticeDate(const QByteArray& stored);

}  // namespace tarvola::service
