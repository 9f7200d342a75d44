#pragma once

#include <QStringList>

namespace tarvola::ui {
class TUserPrompts;
}

namespace tarvola::app {

// The file manager's "Convert to KMZ": each GPX file is saved as a KMZ package beside it, named
// as the converter names it, with no window. Whatever failed is told in one message that names
// each file and why; success says nothing. Returns the exit status: 0 when all were saved.
int ConvertToKmz(const QStringList& files, ui::TUserPrompts& prompts);

}  // namespace tarvola::app
