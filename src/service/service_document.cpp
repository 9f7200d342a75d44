#include "service/service_document.h"

#include <QFile>

#include <ini.h>

#include "service/service_config.h"

namespace tarvola::service {

namespace {

bool SameName(const char* name, QStringView expected) {
  return QString::fromUtf8(name).compare(expected, Qt::CaseInsensitive) == 0;
}

// Where a section and key land in the document; null for names we do not use.
QString* FieldFor(TServiceDocument& doc, const char* section, const char* key) {
  using namespace config;
  if (SameName(section, IdSection)) return SameName(key, IdKey) ? &doc.Identification : nullptr;
  if (SameName(section, VersionSection)) {
    if (SameName(key, BuildKey)) return &doc.Build;
    if (SameName(key, VersionKey)) return &doc.Version;
    if (SameName(key, UrlKey)) return &doc.UpdateUrl;
    return nullptr;
  }
  if (!SameName(section, LinksSection)) return nullptr;
  if (SameName(key, UrlKey)) return &doc.Home;
  if (SameName(key, ContactKey)) return &doc.Contact;
  if (SameName(key, NewsMsgKey)) return &doc.NewsMsg;
  if (SameName(key, NewsUrlKey)) return &doc.NewsUrl;
  if (SameName(key, ProductsKey)) return &doc.Products;
  if (SameName(key, VideoKey)) return &doc.Video;
  return nullptr;
}

struct TParseState {
  TServiceDocument Document;
  QList<const QString*> Seen;  // the first occurrence of a key wins
};

int OnValue(void* user, const char* section, const char* key, const char* value) {
  auto& state = *static_cast<TParseState*>(user);
  QString* field = FieldFor(state.Document, section, key);
  if (field != nullptr && !state.Seen.contains(field)) {
    *field = QString::fromUtf8(value).trimmed();
    state.Seen.append(field);
  }
  return 1;
}

}  // namespace

TServiceDocument ParseServiceDocument(const QByteArray& text) {
#ifdef TARVOLA_INIH_RUNTIME_LIMITS
  // By default inih cuts lines at 200 bytes, and a news message can be longer.
  ini_use_stack = false;
  ini_allow_realloc = true;
  ini_max_line = static_cast<int>(config::MaxDocumentSize) + 3;
#endif
  TParseState state;
  // Lines that inih cannot parse are skipped; the values around them still count.
  ini_parse_string(text.constData(), &OnValue, &state);
  return state.Document;
}

std::optional<TServiceDocument> ReadServiceDocument(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray text = file.read(config::MaxDocumentSize + 1);
  if (text.size() > config::MaxDocumentSize) return std::nullopt;
  return ParseServiceDocument(text);
}

TDocumentOutcome ApplyServiceDocument(const TServiceDocument& document, TService& service) {
  TDocumentOutcome outcome;
  if (document.Identification != config::Identification) return outcome;
  outcome.Identified = true;
  if (document.Build != config::BuildText) {
    service.UpdateUrl = document.UpdateUrl;
    outcome.UpdateText = config::UpdateTemplate.toString().arg(config::DisplayName.toString(), document.Version,
                                                               document.Build);
  }
  const auto takeNonEmpty = [](QString& target, const QString& value) {
    if (!value.isEmpty()) target = value;
  };
  takeNonEmpty(service.HomeUrl, document.Home);
  takeNonEmpty(service.HomeContact, document.Contact);
  takeNonEmpty(service.ProdUrl, document.Products);
  takeNonEmpty(service.Video, document.Video);
  service.PopMsg = document.NewsMsg;
  service.PopUrl = document.NewsUrl;
  return outcome;
}

}  // namespace tarvola::service
