#include "desktop/testwindow/TFormSurface.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/graphics3d/Graphics3D.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/Projection.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/SurfaceBox.h"
#include "desktop/testwindow/SurfacePlacement.h"
#include "desktop/testwindow/TMDIChild.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

namespace {

// Inputs a on [0, 1000], b on [-5, 5], c on [0, 1]; the output, on [10, 20], follows a only.
const char* const kThreeInputs = TAVO_TEST_DATA "/desktop/three_inputs.rb";

}  // namespace

class TFormSurfaceTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void combosStartOnTwoVariablesAndStayApart();
    void seventyStepsFillTheCube();
    void pressingTurnsAndReleasingStops();
    void aFailedRecomputeIsReportedAndKeepsTheSurface();
    void opensBesideItsTestWindowWithinTheScreen();
    void opensWhollyOnTheScreenWhateverItsWidth();
    void placement_data();
    void placement();
    void screenshot();

  private:
    std::unique_ptr<QTemporaryDir> runtimeFolder_;
    TemporaryRegistry registry_;
    ScriptedPrompts prompts_;
    std::unique_ptr<CRuleBase> ruleBase_;
    QPointer<TMDIChild> testWindow_;
    QPointer<TFormSurface> surface_;
};

void TFormSurfaceTest::init() {
    runtimeFolder_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", runtimeFolder_->path().toLocal8Bit());
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(kThreeInputs));
    testWindow_ = new TMDIChild(*ruleBase_, QStringLiteral("three"));
    surface_ = new TFormSurface(*testWindow_);
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_));
}

void TFormSurfaceTest::cleanup() {
    delete testWindow_;
    QVERIFY(surface_.isNull());
    ruleBase_.reset();
}

void TFormSurfaceTest::combosStartOnTwoVariablesAndStayApart() {
    QCOMPARE(surface_->windowTitle(), QStringLiteral("Surface of three - Test"));
    QCOMPARE(surface_->cbxSteps->count(), 61);
    QCOMPARE(surface_->cbxSteps->currentText(), QStringLiteral("10"));
    QCOMPARE(surface_->cbxVar1->currentIndex(), 0);
    QCOMPARE(surface_->cbxVar2->currentIndex(), 1);
    // Onto the other's variable: the other moves back one, or forward from the first.
    surface_->cbxVar1->setCurrentIndex(1);
    QCOMPARE(surface_->cbxVar2->currentIndex(), 0);
    surface_->cbxVar2->setCurrentIndex(1);
    QCOMPARE(surface_->cbxVar1->currentIndex(), 0);
    surface_->cbxVar1->setCurrentIndex(2);
    surface_->cbxVar2->setCurrentIndex(2);
    QCOMPARE(surface_->cbxVar1->currentIndex(), 1);
    // The net now runs over c (columns) and b (rows).
    QCOMPARE(surface_->Net().Rows(), 10);
    QCOMPARE(surface_->Net().Point(0, 9).x, 1.0);
}

void TFormSurfaceTest::seventyStepsFillTheCube() {
    surface_->cbxSteps->setCurrentText(QStringLiteral("70"));
    const Net3D& net = surface_->Net();
    QCOMPARE(net.Rows(), 70);
    QCOMPARE(net.Columns(), 70);
    double lowest = 2, highest = -2;
    for (int i = 0; i < 70; ++i) {
        for (int j = 0; j < 70; ++j) {
            lowest = std::min({lowest, net.Point(i, j).x, net.Point(i, j).y, net.Point(i, j).z});
            highest = std::max({highest, net.Point(i, j).x, net.Point(i, j).y, net.Point(i, j).z});
        }
    }
    QCOMPARE(lowest, -1.0);
    QCOMPARE(highest, 1.0);
    // The output follows a (columns) only: along a row it rises, down a column it stays.
    QVERIFY(net.Point(5, 69).z - net.Point(5, 0).z > 0.5);
    QCOMPARE(net.Point(0, 30).z, net.Point(69, 30).z);
    // Sampling leaves the test window's recorded inputs as they were.
    QCOMPARE(ruleBase_->GetInputs()[0], testWindow_->InputPanels()[0]->Value());
}

void TFormSurfaceTest::pressingTurnsAndReleasingStops() {
    SurfaceBox* box = surface_->pbxSurface;
    const Graphics3D& renderer = surface_->Renderer();
    const ScreenPoint zEnd = renderer.ToScreen(kAxisEndZ);
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(zEnd.x + 2, zEnd.y + 40));
    QCOMPARE(surface_->RotationAxis(), 3);
    QVERIFY(surface_->IsDragging());
    const auto before = renderer.ViewMatrix().m;
    QVERIFY(before != InitialViewMatrix().m);
    QTest::mouseMove(box, QPoint(zEnd.x + 2, zEnd.y + 80));
    QVERIFY(renderer.ViewMatrix().m != before);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(zEnd.x + 2, zEnd.y + 80));
    QVERIFY(!surface_->IsDragging());
    const auto released = renderer.ViewMatrix().m;
    QTest::mouseMove(box, QPoint(zEnd.x + 60, zEnd.y + 10));
    QCOMPARE(renderer.ViewMatrix().m, released);

    const ScreenPoint xEnd = renderer.ToScreen(kAxisEndX);
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(xEnd.x, xEnd.y));
    QCOMPARE(surface_->RotationAxis(), 1);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(xEnd.x, xEnd.y));
}

void TFormSurfaceTest::aFailedRecomputeIsReportedAndKeepsTheSurface() {
    surface_->cbxVar2->setCurrentIndex(2);
    const Vector3D corner = surface_->Net().Point(9, 9);
    // The sampled input is gone from the rule base (as after an edit the window never heard of).
    ruleBase_->DeleteVariable(2);
    QVERIFY_THROWS_NO_EXCEPTION(surface_->btRecount->click());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(prompts_.Captions(), QStringList{QStringLiteral("Error")});
    QCOMPARE(surface_->Net().Rows(), 10);
    QCOMPARE(surface_->Net().Point(9, 9).z, corner.z);
}

void TFormSurfaceTest::opensBesideItsTestWindowWithinTheScreen() {
    delete surface_;
    // Room on the left only: the screen is 800 pixels wide, the test window a little less.
    testWindow_->move(530, 100);
    testWindow_->show();
    QVERIFY(QTest::qWaitForWindowExposed(testWindow_));
    surface_ = new TFormSurface(*testWindow_);
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_));
    const QRect beside = testWindow_->frameGeometry();
    QCOMPARE(surface_->frameGeometry().right() + 1, beside.left());
    QCOMPARE(surface_->frameGeometry().top(), beside.top());
    QVERIFY(surface_->screen()->availableGeometry().contains(surface_->frameGeometry()));
    // Above the program's windows, but not above its message boxes.
    QCOMPARE(surface_->windowType(), Qt::Tool);
    QVERIFY(!(surface_->windowFlags() & Qt::WindowStaysOnTopHint));
}

// Long names widened the window when it was shown, after it had been placed: it opened partly
// off the screen, its close button out of reach.
void TFormSurfaceTest::opensWhollyOnTheScreenWhateverItsWidth() {
    delete surface_;
    for (int i = 0; i < 3; ++i)
        ruleBase_->GetVariable(i).SetName("a longer name, input " + std::to_string(i));
    testWindow_->setGeometry(0, 100, 200, 300);
    testWindow_->show();
    QVERIFY(QTest::qWaitForWindowExposed(testWindow_));
    surface_ = new TFormSurface(*testWindow_);
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_));
    const QRect screen = surface_->screen()->availableGeometry();
    QVERIFY2(surface_->width() > screen.width() - testWindow_->frameGeometry().right(),
             "the case needs a window too wide for the room beside the test window");
    QVERIFY2(screen.contains(surface_->frameGeometry()),
             qPrintable(QStringLiteral("%1 %2")
                            .arg(surface_->frameGeometry().left())
                            .arg(surface_->frameGeometry().width())));
}

void TFormSurfaceTest::placement_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QPoint>("placed");
    // A 400 by 300 frame on a 1000 by 700 screen.
    QTest::newRow("nowhere beside: more room left") << QRect(300, 50, 500, 200) << QPoint(0, 50);
    QTest::newRow("nowhere beside: more room right") << QRect(200, 50, 500, 200) << QPoint(600, 50);
    QTest::newRow("low on the screen") << QRect(100, 600, 300, 50) << QPoint(400, 400);
}

void TFormSurfaceTest::placement() {
    QFETCH(QRect, anchor);
    QFETCH(QPoint, placed);
    QCOMPARE(PlaceBeside(anchor, QSize(400, 300), QRect(0, 0, 1000, 700)), placed);
}

void TFormSurfaceTest::screenshot() {
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(TAVO_EXAMPLES "/controller.rb"));
    delete testWindow_;
    testWindow_ = new TMDIChild(*ruleBase_, QStringLiteral("controller"));
    surface_ = new TFormSurface(*testWindow_);
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_));
    for (const char* steps : {"25", "70"}) {
        surface_->cbxSteps->setCurrentText(QString::fromLatin1(steps));
        QVERIFY(surface_->grab().toImage().save(
            QStringLiteral(TAVO_ARTIFACT_DIR "/TFormSurface%1.png").arg(steps)));
    }
}

QTEST_MAIN(TFormSurfaceTest)
#include "TFormSurfaceTest.moc"
