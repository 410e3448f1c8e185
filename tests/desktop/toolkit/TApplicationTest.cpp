#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "desktop/toolkit/TApplication.h"
#include "tests/desktop/support/ApplicationTestMain.h"
#include "tests/desktop/support/ScriptedPrompts.h"

#include <stdexcept>

class TApplicationTest : public QObject {
    Q_OBJECT

  private slots:
    // Before the guard, Qt ended the program at the first exception that left a handler.
    // (Thrown from queued calls: an exception that crosses Qt's own mouse or key handling skips
    // destructors there, which the leak checker would count against this test.)
    void whatAHandlerThrowsIsShownAndTheProgramGoesOn() {
        ScriptedPrompts prompts;
        QSignalSpy failed(static_cast<TApplication*>(qApp), &TApplication::handlerFailed);
        int calls = 0;
        auto fail = [&calls] {
            ++calls;
            throw std::invalid_argument("Variable index out of range");
        };
        QTimer::singleShot(0, this, fail);
        QMetaObject::invokeMethod(this, fail, Qt::QueuedConnection);
        QMetaObject::invokeMethod(
            this, [] { throw 42; }, Qt::QueuedConnection);
        bool after = false;
        QMetaObject::invokeMethod(
            this, [&after] { after = true; }, Qt::QueuedConnection);
        QTRY_VERIFY(after);
        QCOMPARE(calls, 2);
        QCOMPARE(prompts.Captions(), QStringList({"Error", "Error", "Error"}));
        QCOMPARE(prompts.Messages[0].Text, QString("Variable index out of range"));
        QCOMPARE(prompts.Messages[0].Icon, toolkit::MsgIcon::Error);
        QCOMPARE(prompts.Messages[2].Text, QString("Unknown error"));
        QCOMPARE(failed.count(), 3);
    }
};

TAVO_TEST_MAIN(TApplicationTest)
#include "TApplicationTest.moc"
