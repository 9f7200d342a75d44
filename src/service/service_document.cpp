#include "service/service_document.h"

#include <QFile>

#include "service/ini_text.h"
#include "service/service_config.h"

namespace tarvola::service {

namespace {

bool SameName(std::string_view name, QStringView expected) {
  return QString::fromUtf8(name.data(), qsizetype(name.size())).compare(expected, Qt::CaseInsensitive) == 0;
}

// Where a section and key land in the document; null for names we do not use.
QString* FieldFor(TServiceDocument& doc, std::string_view section, std::string_view key) {
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

}  // namespace

TServiceDocument ParseServiceDocument(const QByteArray& text) {
  TParseState state;
  ParseIniText(std::string_view(text.constData(), std::size_t(text.size())),
               [&state](std::string_view section, std::string_view key, std::string_view value) {
                 QString* field = FieldFor(state.Document, section, key);
                 if (field == nullptr || state.Seen.contains(field)) return;
                 *field = QString::fromUtf8(value.data(), qsizetype(value.size()));
                 state.Seen.append(field);
               });
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
