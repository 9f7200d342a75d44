#include "app/about_content.h"

#include "service/service_config.h"

namespace tarvola::app {

ui::TAboutContent AboutContent(const service::TService& service) {
  namespace cfg = service::config;
  ui::TAboutContent content;
  content.ProductName = cfg::DisplayName.toString();
  content.ProductsAddress = cfg::ProductsUrl.toString();
  content.VersionLine = cfg::VersionLine.toString();
  content.InfoLine1 = cfg::InfoLine1.toString();
  content.InfoLine2 = cfg::InfoLine2.toString();
  content.CompanionName = cfg::CompanionName.toString();
  content.CompanionUrl = cfg::CompanionUrl.toString();
  content.GpsUtilsUrl = cfg::GpsUtilsUrl.toString();
  content.Links = [&service] {
    return ui::TAboutLinks{service.ProdUrl, service.HomeUrl, service::ContactAddress(service), service.Video};
  };
  return content;
}

}  // namespace tarvola::app
