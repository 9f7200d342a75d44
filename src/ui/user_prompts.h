#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace tarvola::ui {

// What a file dialog is asked. Filters use the "Description|*.ext|Description|*.ext" form;
// FilterIndex counts from 1.
struct TFileDialogRequest {
  QString InitialDir;
  QString FileName;
  QString Filter;
  QString DefaultExt;
  int FilterIndex = 1;
};

struct TFileDialogAnswer {
  QString FileName;     // full path as chosen
  int FilterIndex = 1;  // the type the user had selected
};

// The one seam through which the windows ask the user something: the program uses the
// real Qt dialogs, tests a scripted answerer.
class TUserPrompts {
public:
  virtual ~TUserPrompts() = default;
  // nullopt: the user cancelled.
  virtual std::optional<TFileDialogAnswer> AskOpenFile(QWidget* owner, const TFileDialogRequest& request) = 0;
  virtual std::optional<TFileDialogAnswer> AskSaveFile(QWidget* owner, const TFileDialogRequest& request) = 0;
  // ShowTaskDialog's contract: icon and button codes and result numbers of the message dialog.
  virtual int ShowMessage(QWidget* owner, const QString& title, const QString& mainText,
                          const QString& content, int icon, int buttons) = 0;
};

}  // namespace tarvola::ui
