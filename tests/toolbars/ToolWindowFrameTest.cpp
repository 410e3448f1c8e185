#include "toolbars/ToolWindowFrame.h"

#include <QFont>
#include <QFontMetrics>
#include <QTest>

Q_DECLARE_METATYPE(tbk::TDragHandleStyle)

// Frame geometry and hit testing of tool windows, without widgets.
class ToolWindowFrameTest : public QObject {
    Q_OBJECT

  private slots:
    void dragHandleSizes_data() {
        QTest::addColumn<tbk::TDragHandleStyle>("style");
        QTest::addColumn<bool>("closeButton");
        QTest::addColumn<int>("size");
        QTest::newRow("double") << tbk::dhDouble << false << 9;
        QTest::newRow("single") << tbk::dhSingle << false << 6;
        QTest::newRow("none") << tbk::dhNone << false << 0;
        QTest::newRow("double close") << tbk::dhDouble << true << 14;
        QTest::newRow("single close") << tbk::dhSingle << true << 14;
        QTest::newRow("none close") << tbk::dhNone << true << 14;
    }

    void dragHandleSizes() {
        QFETCH(tbk::TDragHandleStyle, style);
        QFETCH(bool, closeButton);
        QFETCH(int, size);
        TFrameOptions options;
        options.DockType = tbk::dtTopBottom;
        options.DragHandleStyle = style;
        options.CloseButtonWhenDocked = closeButton;
        QCOMPARE(NonClientSizes(options), QMargins(2 + size, 2, 2, 2));
        options.DockType = tbk::dtLeftRight;
        QCOMPARE(NonClientSizes(options), QMargins(2, 2 + size, 2, 2));
        options.AllowDrag = false;
        QCOMPARE(NonClientSizes(options), QMargins(2, 2, 2, 2));
    }

    void floatingFrameHasBorderAndCaption() {
        TFrameOptions options;
        QCOMPARE(NonClientSizes(options), QMargins(4, 4 + 16, 4, 4));
        options.Resizable = false;
        options.ShowCaption = false;
        QCOMPARE(NonClientSizes(options), QMargins(3, 3, 3, 3));
    }

    void handleBarsSitAfterTheBorder() {
        TFrameOptions options;
        options.DockType = tbk::dtTopBottom;
        TToolWindowFrame frame = ComputeToolWindowFrame(options, QSize(100, 26));
        QCOMPARE(frame.HandleBarCount, 2);
        QCOMPARE(frame.HandleBars[0], QRect(4, 2, 3, 22));
        QCOMPARE(frame.HandleBars[1], QRect(7, 2, 3, 22));
        options.DragHandleStyle = tbk::dhSingle;
        frame = ComputeToolWindowFrame(options, QSize(100, 26));
        QCOMPARE(frame.HandleBarCount, 1);
        QCOMPARE(frame.HandleBars[0].x(), 3);
        options.CloseButtonWhenDocked = true;
        frame = ComputeToolWindowFrame(options, QSize(100, 40));
        QCOMPARE(frame.DockedCloseRect, QRect(3, 3, 11, 11));
        QCOMPARE(frame.HandleBars[0].x(), 7);
        QVERIFY(frame.HandleBars[0].y() >= 14);
    }

    void floatingHitTest() {
        TFrameOptions options;
        const QSize outer(100, 60);
        const TToolWindowFrame frame = ComputeToolWindowFrame(options, outer);
        QCOMPARE(frame.CloseButtonRect, QRect(81, 4, 15, 15));
        auto hit = [&](QPoint p, bool eight) {
            return HitTestToolWindowFrame(frame, options, eight, outer, p);
        };
        QVERIFY(hit(QPoint(85, 10), false).Kind == TFrameHitKind::CloseButton);
        QVERIFY(hit(QPoint(30, 10), false).Kind == TFrameHitKind::Client);
        QVERIFY(hit(QPoint(50, 40), false).Kind == TFrameHitKind::Client);
        QCOMPARE(hit(QPoint(1, 1), false).Handle, tbk::twshTop);
        QCOMPARE(hit(QPoint(1, 30), false).Handle, tbk::twshLeft);
        QCOMPARE(hit(QPoint(99, 30), false).Handle, tbk::twshRight);
        QCOMPARE(hit(QPoint(50, 59), false).Handle, tbk::twshBottom);
        QCOMPARE(hit(QPoint(1, 1), true).Handle, tbk::twshTopLeft);
        QCOMPARE(hit(QPoint(1, 18), true).Handle, tbk::twshTopLeft);  // corner zone is 15 + 4 long
        QCOMPARE(hit(QPoint(1, 19), true).Handle, tbk::twshLeft);
        QCOMPARE(hit(QPoint(99, 59), true).Handle, tbk::twshBottomRight);
        QCOMPARE(hit(QPoint(90, 0), true).Handle, tbk::twshTopRight);
        options.Resizable = false;
        QVERIFY(HitTestToolWindowFrame(ComputeToolWindowFrame(options, outer), options, true, outer,
                                       QPoint(1, 30))
                    .Kind == TFrameHitKind::Client);
    }

    void captionTooWideLosesCharactersBeforeEllipsis() {
        QFont font;
        font.setPixelSize(11);
        const QFontMetrics metrics(font);
        QCOMPARE(FitCaptionText("Short", 1000, metrics), QString("Short"));
        const QString fitted =
            FitCaptionText("Signed basic terms", metrics.horizontalAdvance("Signed b..."), metrics);
        QCOMPARE(fitted, QString("Signed b..."));
        // It stops at five characters, even when they do not fit.
        QCOMPARE(FitCaptionText("Modifiers", 1, metrics), QString("M..."));
    }
};

QTEST_MAIN(ToolWindowFrameTest)
#include "ToolWindowFrameTest.moc"
