#include "desktop/mainwindow/TestWindowSeam.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/testwindow/TMDIChild.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

namespace {

struct MdiHost : EditorHost {
    QMdiArea* MdiClient() const override { return area; }
    void UpdateSaveState() override { ++saveStateUpdates; }
    void AddRecentFile(const QString&) override {}
    void EditorClosing(TFormInfUnit&) override {}

    QMdiArea* area = nullptr;
    int saveStateUpdates = 0;
};

}  // namespace

class TestWindowSeamTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void testOpensAWindowThatTheEditorFollows();
    void theTestWindowGoesWithItsEditor();
    void besideAMaximisedEditorTheTestWindowFillsTheArea();

  private:
    TMDIChild* PressTest();

    std::unique_ptr<QTemporaryDir> runtimeFolder_;
    TemporaryRegistry registry_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<QMdiArea> area_;
    MdiHost host_;
    QPointer<TFormInfUnit> editor_;
};

void TestWindowSeamTest::init() {
    runtimeFolder_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", runtimeFolder_->path().toLocal8Bit());
    prompts_ = std::make_unique<ScriptedPrompts>();
    InstallTestWindow(InstalledEditorSeams());
    area_ = std::make_unique<QMdiArea>();
    area_->resize(1200, 900);
    host_.area = area_.get();
    editor_ = new TFormInfUnit(
        &host_, std::make_unique<CRuleBase>(ReadRuleBaseFile(TAVO_EXAMPLES "/controller.rb")));
    // The editor places itself in its host's MDI area.
    editor_->show();
    area_->show();
    QVERIFY(QTest::qWaitForWindowExposed(area_.get()));
}

void TestWindowSeamTest::cleanup() {
    area_.reset();
    InstalledEditorSeams() = {};
    prompts_.reset();
}

TMDIChild* TestWindowSeamTest::PressTest() {
    QTest::mouseClick(editor_->ButtonTest, Qt::LeftButton);
    for (QMdiSubWindow* frame : area_->subWindowList()) {
        if (auto* window = qobject_cast<TMDIChild*>(frame->widget()))
            return window;
    }
    return nullptr;
}

void TestWindowSeamTest::testOpensAWindowThatTheEditorFollows() {
    QPointer<TMDIChild> window = PressTest();
    QVERIFY(window);
    QCOMPARE(&window->RuleBase(), &editor_->RuleBase());
    QCOMPARE(window->windowTitle(), editor_->windowTitle() + " - Test");
    QVERIFY(!editor_->ButtonTest->isEnabled());
    // Activating the test window brings the main window's Save state up to date.
    const int updates = host_.saveStateUpdates;
    area_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(editor_->parentWidget()));
    area_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
    QCOMPARE(host_.saveStateUpdates, updates + 1);
    window->parentWidget()->resize(980, 720);
    QVERIFY(area_->grab().save(TAVO_ARTIFACT_DIR "/TestWindowInMdi.png"));
    window->cbxInfMethod->setCurrentIndex(3);
    QCOMPARE(editor_->ComboBoxInfType->currentIndex(), 3);
    window->cbxDefMethod->setCurrentIndex(1);
    QCOMPARE(editor_->ComboBoxDefType->currentIndex(), 1);
    const QRect placed(30, 40, 900, 600);
    window->parentWidget()->setGeometry(placed);
    window->parentWidget()->close();
    QTRY_VERIFY(window.isNull());
    QVERIFY(editor_->ButtonTest->isEnabled());
    // The next test window of the same rule base opens where this one was left.
    window = PressTest();
    QVERIFY(window);
    QCOMPARE(window->parentWidget()->geometry(), placed);
}

void TestWindowSeamTest::theTestWindowGoesWithItsEditor() {
    QPointer<TMDIChild> window = PressTest();
    QVERIFY(window);
    delete editor_->parentWidget();
    QVERIFY(window.isNull());
    QCOMPARE(area_->subWindowList().size(), 0);
}

void TestWindowSeamTest::besideAMaximisedEditorTheTestWindowFillsTheArea() {
    editor_->parentWidget()->showMaximized();
    TMDIChild* window = PressTest();
    QVERIFY(window->parentWidget()->isMaximized());
    QCOMPARE(window->parentWidget()->geometry(), area_->viewport()->rect());
    window->parentWidget()->showNormal();
    QVERIFY(area_->viewport()->rect().contains(window->parentWidget()->geometry()));
}

QTEST_MAIN(TestWindowSeamTest)
#include "TestWindowSeamTest.moc"
