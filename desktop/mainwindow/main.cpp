#include "desktop/editor/EditorSeams.h"
#include "desktop/mainwindow/TAboutBox.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/TestWindowSeam.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/TApplication.h"
#include "desktop/variables/TDlgAddVar.h"

int main(int argc, char* argv[]) {
    toolkit::UseDecimalPoint();
    TApplication application(argc, argv);
    // The application's title. Not as its display name: the window system would add that to
    // every caption, the main window's own included ("TAVO for Win32 - [...] — TAVO for Win32").
    QApplication::setApplicationName("TAVO for Win32");
    // Qt adopts the user's locale while it starts; the program's numbers keep their '.'.
    toolkit::UseDecimalPoint();
    InstallTestWindow(InstalledEditorSeams());
    TMainForm MainForm;
    MainForm.AboutBox = new TAboutBox(&MainForm);
    InstallVariableDialog(*new TDlgAddVar(&MainForm));
    MainForm.DialogNewBaseProperties = new TDialogNewBaseProperties(&MainForm);
    MainForm.show();
    return application.exec();
}
