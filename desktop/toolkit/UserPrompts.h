#pragma once

#include <QString>

#include <memory>
#include <optional>

class QDialog;
class QMessageBox;
class QUrl;
class QWidget;

// Every modal question the program asks a person goes through the installed UserPrompts: the
// message boxes, the input box and the file dialogs. Without an installed one, the real Qt
// dialogs are shown; tests install a scripted one so that nothing waits for a person.
namespace toolkit {

enum class MsgIcon { None, Warning, Error, Information, Confirmation };

enum MsgButton : unsigned {
    mbOK = 1u << 0,
    mbCancel = 1u << 1,
    mbYes = 1u << 2,
    mbNo = 1u << 3,
};
using MsgButtons = unsigned;
inline constexpr MsgButtons mbOKOnly = mbOK;
inline constexpr MsgButtons mbYesNo = mbYes | mbNo;
inline constexpr MsgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;

// The button that closed a box; Cancel also when the box was closed otherwise.
enum class ModalResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString Text;
    QString Caption;
    MsgIcon Icon = MsgIcon::None;
    MsgButtons Buttons = mbOK;
};

struct InputRequest {
    QString Caption;
    QString Prompt;
    QString Value;
};

enum class FileDialogKind { Open, Save };

// A file dialog as the forms configure it. Filter is "Description|pattern|Description|pattern";
// FilterIndex counts its pairs from 1.
struct FileDialogRequest {
    FileDialogKind Kind = FileDialogKind::Open;
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    bool OverwritePrompt = false;
    bool PathMustExist = false;
    bool FileMustExist = false;
};

struct FileDialogAnswer {
    QString FileName;
    int FilterIndex = 1;
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    virtual ModalResult Message(const MessageRequest& request) = 0;
    // Empty when the person cancelled.
    virtual std::optional<QString> Input(const InputRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> ChooseFile(const FileDialogRequest& request) = 0;
    // Runs a modal form; answers QDialog::Accepted or QDialog::Rejected.
    virtual int Modal(QDialog& dialog) = 0;
    // Opens a file or an address in the program the desktop has for it; false when none could
    // be started. Prompts that do not answer it start nothing.
    virtual bool OpenUrl(const QUrl& url);
};

// Installs prompts, not owned, that answer instead of the real dialogs until another call
// (null restores the real dialogs). Returns the one installed before.
UserPrompts* SetUserPrompts(UserPrompts* prompts);

// The one road of every message box.
ModalResult MessageDlg(const QString& text, const QString& caption, MsgIcon icon,
                       MsgButtons buttons);
// A notice with the application's title as caption and an OK button.
void ShowMessage(const QString& text);
// The value the person typed, or value itself when they cancelled.
QString InputBox(const QString& caption, const QString& prompt, const QString& value);
// True and value replaced when the person confirmed.
bool InputQuery(const QString& caption, const QString& prompt, QString& value);
// Runs a file dialog; a chosen name without extension gets DefaultExt.
std::optional<FileDialogAnswer> ExecuteFileDialog(const FileDialogRequest& request);

// Shows a form of the program modally (a dialog, the about box) and answers its result.
int ShowModal(QDialog& dialog);

// Opens a document (the help file) in the desktop's viewer; false when no viewer was started.
bool OpenUrl(const QUrl& url);

// The box that the real prompts show for a request: wide enough for its caption as a window
// manager's title bar shows it, in bold between the window's icon and its buttons.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageRequest& request, QWidget* parent);

// A form's file dialog: its settings stay between runs; Execute stores the chosen name and
// filter index and answers whether the person chose one.
struct TFileDialog : FileDialogRequest {
    bool Execute();
};

}  // namespace toolkit
