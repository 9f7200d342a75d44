#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace tarvola::ui {

// The icons of the program's one message dialog, by the system's codes for them (104 to 107
// name the same four in TaskDialogIcon).
enum class TDialogIcon : int { None = 0, Information = 81, Warning = 84, Error = 98, Question = 99 };

// Its buttons: a set is the sum of their bits.
enum TDialogButton : int { ButtonYes = 1, ButtonNo = 2, ButtonOk = 4, ButtonCancel = 8, ButtonRetry = 16 };
inline constexpr int ButtonsOk = ButtonOk;
inline constexpr int ButtonsYesNoCancel = ButtonYes | ButtonNo | ButtonCancel;

// The button the user pressed, by the system's numbers for them.
enum class TDialogResult : int { None = 0, Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

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
  // ShowTaskDialog's contract; `buttons` is a set of TDialogButton bits.
  virtual TDialogResult ShowMessage(QWidget* owner, const QString& title, const QString& mainText,
                                    const QString& content, TDialogIcon icon, int buttons) = 0;
};

}  // namespace tarvola::ui
