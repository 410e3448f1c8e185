#include "ScriptedPrompts.h"

#include <QDialog>

using namespace toolkit;

ScriptedPrompts::ScriptedPrompts() : previous_(SetUserPrompts(this)) {}

ScriptedPrompts::~ScriptedPrompts() {
    SetUserPrompts(previous_);
}

QStringList ScriptedPrompts::Captions() const {
    QStringList captions;
    for (const MessageRequest& message : Messages)
        captions << message.Caption;
    return captions;
}

ModalResult ScriptedPrompts::Message(const MessageRequest& request) {
    Messages.push_back(request);
    if (!Answers.empty()) {
        const ModalResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    if (request.Buttons & mbOK)
        return ModalResult::Ok;
    if (request.Buttons & mbYes)
        return ModalResult::Yes;
    return ModalResult::Cancel;
}

std::optional<QString> ScriptedPrompts::Input(const InputRequest& request) {
    InputRequests.push_back(request);
    if (Inputs.empty())
        return std::nullopt;
    const QString answer = Inputs.front();
    Inputs.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<FileDialogAnswer> ScriptedPrompts::ChooseFile(const FileDialogRequest& request) {
    FileDialogs.push_back(request);
    if (FileNames.empty())
        return std::nullopt;
    const QString name = FileNames.front();
    FileNames.pop_front();
    if (name.isNull())
        return std::nullopt;
    return FileDialogAnswer{name, request.FilterIndex};
}

int ScriptedPrompts::Modal(QDialog& dialog) {
    if (Dialogs.empty())
        return QDialog::Accepted;
    const auto play = Dialogs.front();
    Dialogs.pop_front();
    return play(dialog);
}

bool ScriptedPrompts::OpenUrl(const QUrl& url) {
    OpenedUrls.push_back(url);
    return ViewerStarts;
}
