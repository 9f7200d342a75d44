#pragma once

#include "service/link_opener.h"
#include "service/service_channel.h"

class QWidget;

namespace tarvola::ui {
class TUserPrompts;
}

namespace tarvola::app {

// Shows the service channel's notices over window: the message, then the page, then the
// update offer, which on "Yes" opens its page and closes the window.
void PresentServiceNotices(QWidget* window, ui::TUserPrompts& prompts, const service::TLinkOpener& opener,
                           const service::TServiceNotices& notices);

}  // namespace tarvola::app
