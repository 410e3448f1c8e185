#include "desktop/toolkit/UserPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

#include "desktop/toolkit/FileDialogFilter.h"

namespace toolkit {
namespace {

// The only caller of Qt's modal dialogs.
class QtUserPrompts final : public UserPrompts {
  public:
    ModalResult Message(const MessageRequest& request) override {
        const std::unique_ptr<QMessageBox> box =
            MakeMessageBox(request, QApplication::activeWindow());
        switch (box->exec()) {
            case QMessageBox::Ok:
                return ModalResult::Ok;
            case QMessageBox::Yes:
                return ModalResult::Yes;
            case QMessageBox::No:
                return ModalResult::No;
            default:
                return ModalResult::Cancel;
        }
    }

    std::optional<QString> Input(const InputRequest& request) override {
        bool ok = false;
        QString text = QInputDialog::getText(QApplication::activeWindow(), request.Caption,
                                             request.Prompt, QLineEdit::Normal, request.Value, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    std::optional<FileDialogAnswer> ChooseFile(const FileDialogRequest& request) override {
        QFileDialog dialog(QApplication::activeWindow(), request.Title, request.InitialDir);
        const bool saving = request.Kind == FileDialogKind::Save;
        dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(saving || !request.FileMustExist ? QFileDialog::AnyFile
                                                            : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
        const QStringList filters = QtNameFilters(request.Filter);
        dialog.setNameFilters(filters);
        if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.FilterIndex - 1]);
        QString suffix = request.DefaultExt;
        while (suffix.startsWith(u'*') || suffix.startsWith(u'.'))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return FileDialogAnswer{dialog.selectedFiles().first(),
                                static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
    }

    int Modal(QDialog& dialog) override { return dialog.exec(); }

    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

QtUserPrompts& RealPrompts() {
    static QtUserPrompts prompts;
    return prompts;
}

UserPrompts* installedPrompts = nullptr;

UserPrompts& Prompts() {
    return installedPrompts ? *installedPrompts : RealPrompts();
}

}  // namespace

bool UserPrompts::OpenUrl(const QUrl&) {
    return false;
}

UserPrompts* SetUserPrompts(UserPrompts* prompts) {
    UserPrompts* previous = installedPrompts;
    installedPrompts = prompts;
    return previous;
}

ModalResult MessageDlg(const QString& text, const QString& caption, MsgIcon icon,
                       MsgButtons buttons) {
    return Prompts().Message({text, caption, icon, buttons});
}

void ShowMessage(const QString& text) {
    MessageDlg(text, QApplication::applicationDisplayName(), MsgIcon::None, mbOK);
}

QString InputBox(const QString& caption, const QString& prompt, const QString& value) {
    return Prompts().Input({caption, prompt, value}).value_or(value);
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value) {
    std::optional<QString> answer = Prompts().Input({caption, prompt, value});
    if (!answer)
        return false;
    value = *answer;
    return true;
}

std::optional<FileDialogAnswer> ExecuteFileDialog(const FileDialogRequest& request) {
    std::optional<FileDialogAnswer> answer = Prompts().ChooseFile(request);
    if (answer)
        answer->FileName = WithDefaultExtension(answer->FileName, request.DefaultExt);
    return answer;
}

int ShowModal(QDialog& dialog) {
    return Prompts().Modal(dialog);
}

bool OpenUrl(const QUrl& url) {
    return Prompts().OpenUrl(url);
}

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageRequest& request, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(request.Caption);
    box->setText(request.Text);
    switch (request.Icon) {
        case MsgIcon::None:
            box->setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Warning:
            box->setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box->setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Information:
            box->setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Confirmation:
            box->setIcon(QMessageBox::Question);
            break;
    }
    QMessageBox::StandardButtons buttons;
    if (request.Buttons & mbYes)
        buttons |= QMessageBox::Yes;
    if (request.Buttons & mbNo)
        buttons |= QMessageBox::No;
    if (request.Buttons & mbOK)
        buttons |= QMessageBox::Ok;
    if (request.Buttons & mbCancel)
        buttons |= QMessageBox::Cancel;
    box->setStandardButtons(buttons == QMessageBox::NoButton ? QMessageBox::Ok : buttons);
    // The box makes itself as wide as its text and a caption in the MDI title font; a window
    // manager's title bar writes the caption in bold and keeps room for an icon and three
    // buttons, and cuts what does not fit ("TAV... n32").
    QFont titleFont = box->font();
    titleFont.setBold(true);
    constexpr int kTitleBarControls = 120;
    const int captionRoom =
        QFontMetrics(titleFont).horizontalAdvance(request.Caption) + kTitleBarControls;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(captionRoom, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

bool TFileDialog::Execute() {
    std::optional<FileDialogAnswer> answer = ExecuteFileDialog(*this);
    if (!answer)
        return false;
    FileName = answer->FileName;
    FilterIndex = answer->FilterIndex;
    return true;
}

}  // namespace toolkit
