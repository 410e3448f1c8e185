#include <QApplication>

#include "desktop/TAboutBox.h"
#include "desktop/TDialogNewBaseProperties.h"
#include "desktop/TMainForm.h"
#include "desktop/toolkit/Conversions.h"

int main(int argc, char* argv[]) {
    toolkit::UseDecimalPoint();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavodesk");
    QApplication::setApplicationDisplayName("TAVO for Win32");
    // Qt adopts the user's locale while it starts; the program's numbers keep their '.'.
    toolkit::UseDecimalPoint();
    TMainForm MainForm;
    MainForm.AboutBox = new TAboutBox(&MainForm);
    // TODO(issue 14): the variable dialog TDlgAddVar; TODO(issue 17): the F-transform settings
    // dialog TFTransformSettingsDialog.
    MainForm.DialogNewBaseProperties = new TDialogNewBaseProperties(&MainForm);
    MainForm.show();
    return application.exec();
}
