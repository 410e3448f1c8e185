#include "ToolbarFixtureForm.h"

#include "toolbars/DockingFrame.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include <memory>

// The four docks around a centre, as a main window uses them: a multiple-document area in the
// middle, docks as thick as their toolbars, the rest for the centre at any size.
class DockingFrameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DockingFrame> frame;
    QPointer<QMdiArea> area;

    TToolbarKit* AddToolbar(const QString& Name, TDockKit* Dock, int Buttons, int Row = 0,
                            int Pos = 0) {
        auto* toolbar = new TToolbarKit(frame.get());
        toolbar->setObjectName(Name);
        for (int i = 1; i <= Buttons; ++i)
            (new TToolbarButtonKit(toolbar))->SetCaption(QString::number(i));
        toolbar->SetDockRow(Row);
        toolbar->SetDockPos(Pos);
        toolbar->SetParent(Dock);
        toolbar->ArrangeControls();
        ProcessLayouts();
        return toolbar;
    }

    // The centre fills exactly what the docks leave.
    void CheckCentre() {
        const QRect expected(
            frame->DockLeft->width(), frame->DockTop->height(),
            frame->width() - frame->DockLeft->width() - frame->DockRight->width(),
            frame->height() - frame->DockTop->height() - frame->DockBottom->height());
        QCOMPARE(area->geometry(), expected);
        QCOMPARE(frame->DockTop->geometry(), QRect(0, 0, frame->width(), frame->DockTop->height()));
        QCOMPARE(frame->DockBottom->geometry().bottom(), frame->height() - 1);
        QCOMPARE(frame->DockRight->geometry().right(), frame->width() - 1);
        QCOMPARE(frame->DockLeft->geometry().top(), expected.top());
        QCOMPARE(frame->DockLeft->height(), expected.height());
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() {
        frame = std::make_unique<DockingFrame>();
        area = new QMdiArea(frame.get());
        frame->setCentralWidget(area);
        frame->setGeometry(100, 100, 600, 400);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        ProcessLayouts();
    }
    void cleanup() { frame.reset(); }

    void centreGetsWhatTheDocksLeave() {
        QCOMPARE(area->geometry(), frame->rect());
        TToolbarKit* top = AddToolbar("Top", frame->DockTop, 4);
        TToolbarKit* left = AddToolbar("Left", frame->DockLeft, 3);
        AddToolbar("Bottom", frame->DockBottom, 1);
        QCOMPARE(frame->DockTop->height(), top->height());
        QCOMPARE(frame->DockLeft->width(), left->width());
        CheckCentre();
        TToolbarKit* second = AddToolbar("Second", frame->DockTop, 2, 1);
        QCOMPARE(frame->DockTop->height(), top->height() + second->height());
        CheckCentre();
        for (const QSize size : {QSize(800, 500), QSize(300, 200)}) {
            frame->resize(size);
            ProcessLayouts();
            CheckCentre();
        }
    }

    void replacingTheCentreDeletesTheOldOne() {
        AddToolbar("Right", frame->DockRight, 2);
        auto* label = new QLabel(QStringLiteral("centre"), frame.get());
        frame->setCentralWidget(label);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(area.isNull());
        ProcessLayouts();
        QCOMPARE(label->geometry(),
                 QRect(0, 0, frame->width() - frame->DockRight->width(), frame->height()));

        frame->setCentralWidget(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frame->centralWidget(), nullptr);
        frame->resize(700, 400);
        ProcessLayouts();
        QCOMPARE(frame->DockRight->geometry().right(), 699);
    }

    void savesPictureWithToolbarsOnTwoSides() {
        AddToolbar("Standard", frame->DockTop, 6);
        AddToolbar("Format", frame->DockTop, 3, 0, 200);
        AddToolbar("Tools", frame->DockLeft, 4);
        QMdiSubWindow* child = area->addSubWindow(new QLabel(QStringLiteral("Rule base")));
        child->setGeometry(20, 20, 240, 140);
        child->show();
        ProcessLayouts();
        CheckCentre();
        // Saved positions know the docks by these names.
        QCOMPARE((QStringList{frame->DockTop->objectName(), frame->DockBottom->objectName(),
                              frame->DockLeft->objectName(), frame->DockRight->objectName()}),
                 (QStringList{"DockTop", "DockBottom", "DockLeft", "DockRight"}));
        QVERIFY(frame->grab().save(QDir(TAVO_ARTIFACT_DIR).filePath("docking_frame.png")));
    }
};

QTEST_MAIN(DockingFrameTest)
#include "DockingFrameTest.moc"
