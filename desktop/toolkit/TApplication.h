#pragma once

#include <QApplication>

// The program's application object and the one exception boundary of its event handlers: what
// a handler, a slot or a timer throws stops here, its message is shown in an error box (through
// the installed UserPrompts) and the program goes on with its windows as they are. Handlers
// that report a failure in their own words still catch it themselves.
class TApplication : public QApplication {
    Q_OBJECT

  public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

  signals:
    // A handler threw; emitted before its message is shown.
    void handlerFailed(const QString& message);

  private:
    void ShowHandlerError(const QString& message);

    // An error box is up; a handler that fails while it shows is not reported on top of it.
    bool reporting_ = false;
};
