#include "desktop/toolkit/TApplication.h"

#include <QScopedValueRollback>
#include <QtDebug>

#include <exception>

#include "desktop/toolkit/UserPrompts.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    // Caught at the innermost dispatch, so that the exception crosses as little of Qt as can be:
    // Qt gives no guarantee for an exception that passes through it.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowHandlerError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowHandlerError("Unknown error");
    }
    return false;
}

void TApplication::ShowHandlerError(const QString& message) {
    emit handlerFailed(message);
    if (reporting_) {
        // Paint events of the windows under the box may fail over and over; one box is enough.
        qWarning().noquote() << message;
        return;
    }
    QScopedValueRollback<bool> reporting(reporting_, true);
    try {
        toolkit::MessageDlg(message, "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
    } catch (...) {
        qWarning().noquote() << message;
    }
}
