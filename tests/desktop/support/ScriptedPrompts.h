#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "desktop/toolkit/UserPrompts.h"

// Answers every prompt from a script while it lives and records what was asked. A message box
// with no scripted answer gets its first button's answer (OK before Yes), a file dialog or an
// input box with none is cancelled.
class ScriptedPrompts : public toolkit::UserPrompts {
  public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    std::deque<toolkit::ModalResult> Answers;
    // A null QString cancels.
    std::deque<QString> FileNames;
    std::deque<QString> Inputs;

    // Plays the person in a modal form: may change its controls, answers its result. Without
    // one the form is accepted as it stands.
    std::deque<std::function<int(QDialog&)>> Dialogs;

    std::vector<toolkit::MessageRequest> Messages;
    std::vector<toolkit::FileDialogRequest> FileDialogs;
    std::vector<toolkit::InputRequest> InputRequests;
    // Documents the program had the desktop open, and whether a viewer starts for them.
    std::vector<QUrl> OpenedUrls;
    bool ViewerStarts = true;

    // Captions of the message boxes shown so far, in order.
    QStringList Captions() const;

    toolkit::ModalResult Message(const toolkit::MessageRequest& request) override;
    std::optional<QString> Input(const toolkit::InputRequest& request) override;
    std::optional<toolkit::FileDialogAnswer> ChooseFile(
        const toolkit::FileDialogRequest& request) override;

    int Modal(QDialog& dialog) override;
    bool OpenUrl(const QUrl& url) override;

  private:
    toolkit::UserPrompts* previous_;
};
