#pragma once

#include "service/service_data.h"
#include "ui/about_form.h"

namespace tarvola::app {

// The About window's texts from the product's identity and its links from service, read
// at each click.
ui::TAboutContent AboutContent(const service::TService& service);

}  // namespace tarvola::app
