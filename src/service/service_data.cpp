#include "service/service_data.h"

#include <QUrl>

#include "service/service_config.h"

namespace tarvola::service {

TService& ServiceData() {
  static TService data;
  return data;
}

TProxy& SystemProxy() {
  static TProxy proxy;
  return proxy;
}

void InitServiceSettings() {
  SystemProxy() = TProxy{};
  TService& data = ServiceData();
  data = TService{};
  data.HomeUrl = config::HomeUrl.toString();
  data.HomeContact = config::ContactUrl.toString();
  data.ProdUrl = config::ProductsUrl.toString();
  data.Video = config::VideoUrl.toString();
}

QString ServiceEndpoint() {
  if (qEnvironmentVariableIsSet("TARVOLA_SERVICE_URL")) return qEnvironmentVariable("TARVOLA_SERVICE_URL").trimmed();
  return config::BuiltInServiceUrl.toString();
}

QString ServiceRequestUrl(const QString& endpoint) {
  const QChar joint = endpoint.contains(u'?') ? u'&' : u'?';
  return endpoint + joint + config::ServiceQuery.toString();
}

QString ContactAddress(const TService& service) {
  return service.HomeContact + u'?' + config::ContactQuery.toString();
}

}  // namespace tarvola::service
