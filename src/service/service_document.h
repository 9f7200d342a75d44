#pragma once

#include <optional>

#include <QString>

#include "service/service_data.h"

namespace tarvola::service {

// The values of a service document; a missing key reads as empty text.
struct TServiceDocument {
  QString Identification;
  QString Build;
  QString Version;
  QString UpdateUrl;
  QString Home;
  QString Contact;
  QString NewsMsg;
  QString NewsUrl;
  QString Products;
  QString Video;
};

// Reads an INI file (names without regard to case, values trimmed); nullopt when it cannot be read.
std::optional<TServiceDocument> ReadServiceDocument(const QString& fileName);
TServiceDocument ParseServiceDocument(const QByteArray& text);

struct TDocumentOutcome {
  bool Identified = false;
  QString UpdateText;  // empty: no update offer
};

// Takes a document's settings into service when it carries our identification.
TDocumentOutcome ApplyServiceDocument(const TServiceDocument& document, TService& service);

}  // namespace tarvola::service
