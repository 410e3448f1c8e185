// makehelp CHAPTER-LIST OUTPUT.pdf: typesets the user manual that the chapter list names into the
// help file that Tavodesk opens from Help > Contents.
#include <QGuiApplication>

#include <cstdio>

#include "desktop/helpfile/ManualPdf.h"
#include "desktop/helpfile/ManualSource.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: makehelp CHAPTER-LIST OUTPUT.pdf\n", stderr);
        return 2;
    }
    // Fonts need a GUI application, but nothing is shown: the build runs without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        WriteManualPdf(ReadManualSource(QString::fromLocal8Bit(argv[1])),
                       QString::fromLocal8Bit(argv[2]));
    } catch (const ManualError& error) {
        std::fprintf(stderr, "makehelp: %s\n", error.what());
        return 1;
    }
    return 0;
}
