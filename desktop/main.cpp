#include <QApplication>

#include "desktop/EditorSeams.h"
#include "desktop/TAboutBox.h"
#include "desktop/TDialogNewBaseProperties.h"
#include "desktop/TDlgAddVar.h"
#include "desktop/TMainForm.h"
#include "desktop/TestWindowSeam.h"
#include "desktop/VariableDialogSeams.h"
#include "desktop/toolkit/Conversions.h"

int main(int argc, char* argv[]) {
    toolkit::UseDecimalPoint();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavodesk");
    QApplication::setApplicationDisplayName("TAVO for Win32");
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
