#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "qt_printers.h"
#include "ui/user_prompts.h"

namespace tarvola::test {

// A scripted user: answers file dialogs and messages from queues and records every request.
class TScriptedPrompts : public ui::TUserPrompts {
public:
  struct TMessage {
    QString Title, MainText, Content;
    ui::TDialogIcon Icon = ui::TDialogIcon::None;
    int Buttons = 0;
    QWidget* Owner = nullptr;  // the window the dialog is centred over
  };

  std::deque<std::optional<ui::TFileDialogAnswer>> OpenAnswers;  // empty queue: cancel
  std::deque<std::optional<ui::TFileDialogAnswer>> SaveAnswers;
  std::deque<ui::TDialogResult> MessageAnswers;                  // empty queue: OK

  std::vector<ui::TFileDialogRequest> OpenRequests;
  std::vector<ui::TFileDialogRequest> SaveRequests;
  std::vector<TMessage> Messages;
  // Runs while a message is "on screen", before it is answered: to look at the window then.
  std::function<void(const TMessage&)> OnMessage;

  std::optional<ui::TFileDialogAnswer> AskOpenFile(QWidget*, const ui::TFileDialogRequest& r) override {
    OpenRequests.push_back(r);
    return Pop(OpenAnswers);
  }
  std::optional<ui::TFileDialogAnswer> AskSaveFile(QWidget*, const ui::TFileDialogRequest& r) override {
    SaveRequests.push_back(r);
    return Pop(SaveAnswers);
  }
  ui::TDialogResult ShowMessage(QWidget* owner, const QString& title, const QString& mainText,
                                const QString& content, ui::TDialogIcon icon, int buttons) override {
    Messages.push_back({title, mainText, content, icon, buttons, owner});
    if (OnMessage) {
      const TMessage shown = Messages.back();
      OnMessage(shown);
    }
    if (MessageAnswers.empty()) return ui::TDialogResult::Ok;
    const ui::TDialogResult answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
  }

private:
  static std::optional<ui::TFileDialogAnswer> Pop(std::deque<std::optional<ui::TFileDialogAnswer>>& q) {
    std::optional<ui::TFileDialogAnswer> answer;
    if (!q.empty()) {
      answer.swap(q.front());
      q.pop_front();
    }
    return answer;
  }
};

}  // namespace tarvola::test
