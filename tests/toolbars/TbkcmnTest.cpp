#include "ToolbarFixtureForm.h"

#include "toolbars/Tbkcmn.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

struct HookCall {
    tbk::THookProcCode code;
    QObject* wnd;
    QEvent::Type type;
};
std::vector<HookCall> calls;

void RecordingProc(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event) {
    calls.push_back({Code, Wnd, Event->type()});
}
void OtherProc(tbk::THookProcCode Code, QObject* Wnd, QEvent* Event) {
    calls.push_back({Code, Wnd, Event->type()});
}

int CountOf(tbk::THookProcCode code) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [code](const HookCall& c) { return c.code == code; }));
}

}  // namespace

// The shared hooks, the sort with extra data, MulDiv and the screen helpers.
class TbkcmnTest : public QObject {
    Q_OBJECT

    QWidget* MoveCursorOverNewWindow(QWidget& window) {
        window.setGeometry(50, 50, 100, 100);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return nullptr;
        return &window;
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() { calls.clear(); }

    void hookHearsMouseMovesOverWidgets() {
        QWidget window;
        QVERIFY(MoveCursorOverNewWindow(window));
        InstallHookProc(&RecordingProc, tbk::hpPostMouseMove);
        QCursor::setPos(QPoint(70, 70));
        QTRY_VERIFY(CountOf(tbk::hpPostMouseMove) > 0);
        QCOMPARE(calls.back().wnd, &window);
        QCOMPARE(calls.back().type, QEvent::MouseMove);
        UninstallHookProc(&RecordingProc);
        calls.clear();
        QCursor::setPos(QPoint(80, 80));
        QCoreApplication::processEvents();
        QCOMPARE(CountOf(tbk::hpPostMouseMove), 0);
    }

    void installingTwiceNeedsTwoUninstalls() {
        QWidget window;
        QVERIFY(MoveCursorOverNewWindow(window));
        InstallHookProc(&RecordingProc, tbk::hpPostMouseMove);
        InstallHookProc(&RecordingProc, tbk::hpPostMouseMove);
        UninstallHookProc(&RecordingProc);
        QCursor::setPos(QPoint(71, 71));
        QTRY_VERIFY(CountOf(tbk::hpPostMouseMove) > 0);
        UninstallHookProc(&RecordingProc);
        // Unknown procedures change nothing.
        UninstallHookProc(&OtherProc);
        calls.clear();
        QCursor::setPos(QPoint(72, 72));
        QCoreApplication::processEvents();
        QVERIFY(calls.empty());
    }

    void eachProcedureHearsOnlyItsCodes() {
        InstallHookProc(&RecordingProc, tbk::hpSendWindowPosChanged);
        InstallHookProc(&OtherProc, tbk::hpSendActivateApp);
        QWidget window;
        window.show();
        window.hide();
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &inactive);
        QVERIFY(!ApplicationIsActive());
        QApplicationStateChangeEvent active(Qt::ApplicationActive);
        QCoreApplication::sendEvent(qApp, &active);
        QVERIFY(ApplicationIsActive());
        UninstallHookProc(&RecordingProc);
        UninstallHookProc(&OtherProc);
        QVERIFY(CountOf(tbk::hpSendWindowPosChanged) >= 2);  // shown, hidden
        QCOMPARE(CountOf(tbk::hpSendActivateApp), 2);
        QCOMPARE(CountOf(tbk::hpPostMouseMove), 0);
        QVERIFY(std::all_of(calls.begin(), calls.end(), [&](const HookCall& c) {
            return c.code == tbk::hpSendActivateApp ? c.wnd == qApp : c.wnd == &window;
        }));
    }

    void hookHearsNativeWindowsGo() {
        InstallHookProc(&RecordingProc, tbk::hpPreDestroy);
        auto window = std::make_unique<QWidget>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QObject* native = window->windowHandle();
        window.reset();
        UninstallHookProc(&RecordingProc);
        QCOMPARE(CountOf(tbk::hpPreDestroy), 1);
        QCOMPARE(calls.back().wnd, native);
    }

    void listSortExOrdersWithExtraData() {
        int compares = 0;
        auto descending = [&compares](const int& a, const int& b, const int& sign) {
            ++compares;
            return sign * (a - b);
        };
        std::vector<int> empty;
        ListSortEx(std::span(empty), descending, -1);
        std::vector<int> one{7};
        ListSortEx(std::span(one), descending, -1);
        QCOMPARE(compares, 0);
        std::mt19937 random(12345);
        for (int round = 0; round < 100; ++round) {
            std::vector<int> values(static_cast<std::size_t>(random() % 40));
            for (int& value : values)
                value = static_cast<int>(random() % 20);
            std::vector<int> expected = values;
            std::sort(expected.begin(), expected.end(), std::greater<int>());
            ListSortEx(std::span(values), descending, -1);
            QVERIFY2(values == expected, qPrintable(QString("seed 12345, round %1").arg(round)));
        }
    }

    void mulDivRoundsHalvesAwayFromZero() {
        QCOMPARE(MulDiv(10, 1, 4), 3);  // 2.5
        QCOMPARE(MulDiv(-10, 1, 4), -3);
        QCOMPARE(MulDiv(9, 1, 4), 2);     // 2.25
        QCOMPARE(MulDiv(32, 5, 81), 2);   // 1.98
        QCOMPARE(MulDiv(7, 3, -2), -11);  // -10.5
        QCOMPARE(MulDiv(1, 1, 0), -1);
        QCOMPARE(MulDiv(2000000000, 2, 1), -1);  // does not fit
    }

    void monitorHelpersAnswerWorkAreas() {
        const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(GetRectOfPrimaryMonitor(), primary);
        QCOMPARE(GetRectOfMonitorContainingPoint(QPoint(-5000, 10)), primary);
        QCOMPARE(GetRectOfMonitorContainingRect(QRect(10, 10, 50, 50)), primary);
    }
};

QTEST_MAIN(TbkcmnTest)
#include "TbkcmnTest.moc"
