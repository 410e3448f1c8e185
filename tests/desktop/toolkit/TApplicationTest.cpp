#include <QPushButton>
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
    // Before the guard, Qt ended the program at the first exception that left a slot.
    void whatAHandlerThrowsIsShownAndTheProgramGoesOn() {
        ScriptedPrompts prompts;
        QSignalSpy failed(static_cast<TApplication*>(qApp), &TApplication::handlerFailed);
        QWidget window;
        auto* button = new QPushButton("Go", &window);
        int clicks = 0;
        connect(button, &QPushButton::clicked, this, [&clicks] {
            ++clicks;
            throw std::invalid_argument("Variable index out of range");
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(prompts.Captions(), QStringList({"Error", "Error"}));
        QCOMPARE(prompts.Messages[0].Text, QString("Variable index out of range"));
        QCOMPARE(prompts.Messages[0].Icon, toolkit::MsgIcon::Error);
        QVERIFY(window.isVisible());
        QVERIFY(!button->isDown());

        QTimer::singleShot(0, this, [] { throw 42; });
        QTRY_COMPARE(prompts.Messages.size(), size_t(3));
        QCOMPARE(prompts.Messages[2].Text, QString("Unknown error"));
        QCOMPARE(failed.count(), 3);
    }
};

TAVO_TEST_MAIN(TApplicationTest)
#include "TApplicationTest.moc"
