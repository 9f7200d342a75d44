#pragma once

namespace tarvola::ui {

// How long every hint of the application stays visible, unless a widget sets its own.
void SetApplicationHintTime(int milliseconds);

}  // namespace tarvola::ui
