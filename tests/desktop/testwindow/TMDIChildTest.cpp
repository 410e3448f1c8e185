#include "desktop/testwindow/TMDIChild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/inference/InferenceMethods.h"
#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/io/RuleBaseWriter.h"
#include "core/lang/CSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/testwindow/FiredRulesText.h"
#include "desktop/testwindow/FuzzySetBoxGeometry.h"
#include "desktop/testwindow/FuzzySetInputBox.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/FuzzySetOutputBox.h"
#include "desktop/testwindow/FuzzySetOutputPanel.h"
#include "desktop/testwindow/ProjectionBox.h"
#include "desktop/testwindow/TemporaryRuleBaseFile.h"
#include "desktop/testwindow/TestSampling.h"
#include "desktop/testwindow/TestWindowOwner.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

namespace {

// Inputs x on [0, 10] and y on [0, 1]; outputs u on [0, 100] and w on [0, 5]; three rules.
const char* const kTwoOutputs = TAVO_TEST_DATA "/desktop/two_outputs.rb";
const char* const kSingleton = TAVO_TEST_DATA "/desktop/singleton.rb";
const char* const kOneInput = TAVO_TEST_DATA "/desktop/one_input.rb";

struct RecordingOwner : TestWindowOwner {
    void SetEditingEnabled(bool enabled) override { editing.push_back(enabled); }
    void SetInferenceMethodIndex(int index) override { inferenceIndex = index; }
    void SetDefuzzificationMethodIndex(int index) override { defuzzificationIndex = index; }
    void SetFuzzyFilterChecked(bool checked) override { filterChecked = checked; }
    void UpdateSaveState() override {}

    std::vector<bool> editing;
    int inferenceIndex = -1;
    int defuzzificationIndex = -1;
    bool filterChecked = false;
};

}  // namespace

class TMDIChildTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void firedRulesList_data();
    void firedRulesList();
    void outputPanelMarksTheDefuzzifiedValue();
    void methodChangesReachTheRuleBaseAndTheEditor();
    void smoothMethodTurnsTheFilterOff();
    void theRuleBaseShownIsTheOneComputedWith();
    void stepsBelowOneBecomeOne();
    void draggingTheProjectionMovesItsInput();
    void projectionLeavesTheUserPointsFiredRules();
    void projectionFollowsTheOtherInputs();
    void activationShowsRulesEditedMeanwhile();
    void panelsFollowAChangedContext();
    void theFilteredOutputIsTheOneShown();
    void projectionAndSurfaceAreTheInferencesAtTheirPoints();
    void editingIsOffWhileTheWindowIsOpen();
    void unwritableFolderStillShowsTheText();
    void temporaryFilesGoWithTheirWindows();
    void screenshot();

  private:
    TMDIChild* Open(const char* fileName, const QString& name = QStringLiteral("case"));
    void SetCursors(double x, double y);

    std::unique_ptr<QTemporaryDir> runtimeFolder_;
    TemporaryRegistry registry_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<CRuleBase> ruleBase_;
    RecordingOwner owner_;
    QPointer<TMDIChild> window_;
};

TMDIChild* TMDIChildTest::Open(const char* fileName, const QString& name) {
    // A window opened before in the same test goes first: it holds the rule base replaced here.
    delete window_;
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(fileName));
    window_ = new TMDIChild(*ruleBase_, name, &owner_);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_))
        qFatal("the test window was not shown");
    return window_;
}

void TMDIChildTest::SetCursors(double x, double y) {
    window_->InputPanels()[0]->SetCursor(x);
    window_->InputPanels()[1]->SetCursor(y);
}

void TMDIChildTest::init() {
    runtimeFolder_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", runtimeFolder_->path().toLocal8Bit());
    owner_ = RecordingOwner();
    prompts_ = std::make_unique<ScriptedPrompts>();
}

void TMDIChildTest::cleanup() {
    delete window_;
    ruleBase_.reset();
    prompts_.reset();
}

void TMDIChildTest::firedRulesList_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("cursor");
    QTest::addColumn<QString>("memo");
    QTest::newRow("two outputs") << kTwoOutputs << 0.0
                                 << "Number of fired rules: 1\nRule 1: sm & sm --> sm & me";
    QTest::newRow("none fired") << kTwoOutputs << 1.0 << "Number of fired rules: 0";
    QTest::newRow("singleton") << kSingleton << 0.0
                               << "Number of fired rules: 1\nRule 1: sm & sm --> 0.1";
}

void TMDIChildTest::firedRulesList() {
    QFETCH(QString, file);
    QFETCH(double, cursor);
    QFETCH(QString, memo);
    Open(file.toLocal8Bit().constData());
    SetCursors(cursor, cursor);
    QCOMPARE(window_->MemoFiredRules->toPlainText(), memo);
}

void TMDIChildTest::outputPanelMarksTheDefuzzifiedValue() {
    TMDIChild* window = Open(kTwoOutputs);
    SetCursors(0.1, 0.5);
    std::vector<double> inputs = {1.0, 0.5};
    FuzzySetOutputPanel* panel = window->OutputPanels()[0];
    const FuzzySetBoxScene& scene = panel->Box()->Scene();
    const double expected = CRuleBase(ReadRuleBaseFile(kTwoOutputs)).CrispOutput(inputs);
    QCOMPARE(panel->ValueEdit()->text(), QString::number(expected, 'f', 2));
    QCOMPARE(scene.marker.point(0).x(), PixelAtPosition(expected / 100.0, panel->Box()->width()));
    QCOMPARE(scene.curve.size(), panel->Box()->width() - 40 + 1);
    QVERIFY(!panel->ExpressionEdit()->text().isEmpty());
    // Inference gives the first output only; the second shows no result.
    QVERIFY(!window->OutputPanels()[1]->Box()->HasResult());
    QVERIFY(window->OutputPanels()[1]->ValueEdit()->text().isEmpty());

    Open(kSingleton);
    SetCursors(0.0, 0.0);
    QVERIFY(window_->cbxDefMethod->isHidden());
    QVERIFY(window_->lbDefMethod->isHidden());
    QCOMPARE(window_->cbxInfMethod->count(), 1);
    FuzzySetOutputBox* box = window_->OutputPanels()[0]->Box();
    QVERIFY(box->Scene().curve.isEmpty());
    QCOMPARE(window_->OutputPanels()[0]->ValueEdit()->text(), QStringLiteral("0.10"));
    QCOMPARE(box->Scene().marker.point(0).x(), PixelAtPosition(0.1, box->width()));
}

void TMDIChildTest::methodChangesReachTheRuleBaseAndTheEditor() {
    TMDIChild* window = Open(kTwoOutputs);
    QCOMPARE(window->cbxInfMethod->currentText(), QStringLiteral("Fuzzy Approximation (CNF)"));
    window->cbxInfMethod->setCurrentIndex(2);
    QVERIFY(ruleBase_->GetInferenceMethod() == CrispInferenceMethodTable[2].Routine);
    QCOMPARE(owner_.inferenceIndex, 2);
    window->cbxDefMethod->setCurrentIndex(4);
    QVERIFY(ruleBase_->GetDefuzzificationMethod() == MOM);
    QCOMPARE(owner_.defuzzificationIndex, 4);
    // The output shows the new methods' value at once.
    CRuleBase reference(ReadRuleBaseFile(kTwoOutputs));
    reference.SetInferenceMethod(CrispInferenceMethodTable[2].Routine);
    reference.SetDefuzzificationMethod(MOM);
    QCOMPARE(window->OutputPanels()[0]->ValueEdit()->text(),
             QString::number(reference.CrispOutput(std::vector<double>{5.0, 0.5}), 'f', 2));
}

void TMDIChildTest::smoothMethodTurnsTheFilterOff() {
    TMDIChild* window = Open(kTwoOutputs);
    window->cbUseFTFilter->setChecked(true);
    QVERIFY(ruleBase_->GetUseFuzzyFilter());
    QVERIFY(owner_.filterChecked);
    window->cbxDefMethod->setCurrentIndex(5);
    QVERIFY(!window->cbUseFTFilter->isChecked());
    QVERIFY(!window->cbUseFTFilter->isEnabled());
    QVERIFY(!ruleBase_->GetUseFuzzyFilter());
    QVERIFY(!owner_.filterChecked);
    window->cbxDefMethod->setCurrentIndex(0);
    QVERIFY(window->cbUseFTFilter->isEnabled());
}

// The text showed "UseFuzzyFilter=false" while the filter's box was ticked and the filter used.
void TMDIChildTest::theRuleBaseShownIsTheOneComputedWith() {
    const auto shown = [this] { return window_->MemoRuleBase->toPlainText().toStdString(); };
    TMDIChild* window = Open(kTwoOutputs);
    window->cbUseFTFilter->setChecked(true);
    QVERIFY(shown().find("UseFuzzyFilter=true") != std::string::npos);
    QCOMPARE(shown(), RuleBaseText(*ruleBase_));
    window->cbxInfMethod->setCurrentIndex(2);
    QCOMPARE(shown(), RuleBaseText(*ruleBase_));
    window->cbxDefMethod->setCurrentIndex(5);
    QVERIFY(shown().find("UseFuzzyFilter=false") != std::string::npos);
    QCOMPARE(shown(), RuleBaseText(*ruleBase_));

    // Switched on in a rule base whose method the filter cannot serve: the window switches it off.
    delete window_;
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(kTwoOutputs));
    ruleBase_->SetDefuzzificationMethod(DefuzzificationMethodTable[5].Routine);
    ruleBase_->RecordUseFuzzyFilter(true);
    window_ = new TMDIChild(*ruleBase_, QStringLiteral("smooth"), &owner_);
    QVERIFY(!window_->cbUseFTFilter->isChecked());
    QVERIFY(shown().find("UseFuzzyFilter=false") != std::string::npos);
}

void TMDIChildTest::stepsBelowOneBecomeOne() {
    TMDIChild* window = Open(kTwoOutputs);
    QCOMPARE(ruleBase_->GetProjectionSteps(), 25);
    QCOMPARE(window->ProjectionOutputs().size(), std::size_t{26});
    for (const char* typed : {"0", "-4"}) {
        window->edSteps->selectAll();
        QTest::keyClicks(window->edSteps, typed);
        QTest::keyClick(window->edSteps, Qt::Key_Return);
        QCOMPARE(window->Steps(), 1);
        QCOMPARE(ruleBase_->GetProjectionSteps(), 1);
        QCOMPARE(window->edSteps->text(), QStringLiteral("1"));
        QCOMPARE(window->ProjectionOutputs().size(), std::size_t{2});
    }
    window->edSteps->selectAll();
    QTest::keyClicks(window->edSteps, "x7");
    QTest::keyClick(window->edSteps, Qt::Key_Return);
    QCOMPARE(window->Steps(), 1);
    QCOMPARE(prompts_->Messages.size(), std::size_t{1});
    QCOMPARE(prompts_->Messages[0].Text, QStringLiteral("'x7' is not a valid integer value"));
}

void TMDIChildTest::draggingTheProjectionMovesItsInput() {
    TMDIChild* window = Open(kTwoOutputs);
    window->cbxProjectionVariable->setCurrentIndex(1);
    ProjectionBox* graph = window->pbxProjection;
    QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(40 + (graph->width() - 60) * 52 / 100, 30));
    // 0.52 of 25 steps is nearest to step 13.
    QCOMPARE(window->InputPanels()[1]->Box()->Cursor(), double(13 * (1.0f / 25)));
    QCOMPARE(window->InputPanels()[1]->ValueEdit()->text(), QStringLiteral("0.52"));
    QCOMPARE(window->ProjectionPoint(), -1);
    QTest::mouseMove(graph, QPoint(graph->width() + 30, 30));
    QCOMPARE(window->InputPanels()[1]->Box()->Cursor(), 1.0);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(graph->width() + 30, 30));
    QCOMPARE(graph->Scene().marks.size(), std::size_t{26});
}

void TMDIChildTest::projectionLeavesTheUserPointsFiredRules() {
    TMDIChild* window = Open(kTwoOutputs);
    SetCursors(0.0, 0.0);
    window->cbxProjectionVariable->setCurrentIndex(1);
    window->Evaluate(true);
    QCOMPARE(ruleBase_->GetInputs()[1], 0.0);
    QCOMPARE(ruleBase_->GetFiredCount(), 1);
    QCOMPARE(QString::fromStdString(FiredRulesText(*ruleBase_)),
             window->MemoFiredRules->toPlainText());
}

void TMDIChildTest::projectionFollowsTheOtherInputs() {
    TMDIChild* window = Open(kTwoOutputs);
    const std::vector<double> before = window->ProjectionOutputs();
    std::vector<double> expected;
    // Moved from the program, as the screenshot below does.
    window->InputPanels()[1]->SetCursor(0.2);
    SampleProjection(*ruleBase_, std::vector<double>{5.0, 0.2}, 0, 25, false, expected);
    QVERIFY(expected != before);
    QCOMPARE(window->ProjectionOutputs(), expected);
    QLineEdit* y = window->InputPanels()[1]->ValueEdit();
    y->selectAll();
    QTest::keyClicks(y, "0.9");
    SampleProjection(*ruleBase_, std::vector<double>{5.0, 0.9}, 0, 25, false, expected);
    QCOMPARE(window->ProjectionOutputs(), expected);
}

void TMDIChildTest::activationShowsRulesEditedMeanwhile() {
    TMDIChild* window = Open(kTwoOutputs);
    const std::vector<double> before = window->ProjectionOutputs();
    // The editor's rules grid stays open to edits while the test window is open.
    const std::vector<const char*> rules = {"1",  "sm",    "sm", "bi", "me", "1",  "me", "bi",
                                            "sm", "ro bi", "1",  "bi", "sm", "bi", "sm"};
    ruleBase_->SetRules(rules, 3);
    ruleBase_->Prepare();
    window->FormActivate();
    std::vector<double> expected;
    SampleProjection(*ruleBase_, std::vector<double>{5.0, 0.5}, 0, 25, false, expected);
    QVERIFY(expected != before);
    QCOMPARE(window->ProjectionOutputs(), expected);
}

void TMDIChildTest::panelsFollowAChangedContext() {
    TMDIChild* window = Open(kTwoOutputs);
    // As the variable dialog leaves them, with the window open.
    ruleBase_->GetSettings(0).SetContext(0, 20);
    ruleBase_->GetSettings(-1).SetContext(0, 200);
    ruleBase_->GetVariable(0).SetName("gap");
    ruleBase_->Prepare();
    window->FormActivate();
    FuzzySetInputPanel* x = window->InputPanels()[0];
    QCOMPARE(x->NameEdit()->text(), QStringLiteral("gap"));
    QCOMPARE(window->cbxProjectionVariable->itemText(0), QStringLiteral("gap"));
    QCOMPARE(window->MemoRuleBase->toPlainText(), QString::fromStdString(RuleBaseText(*ruleBase_)));
    QCOMPARE(x->ValueEdit()->text(), QStringLiteral("10.00"));
    QCOMPARE(ruleBase_->GetInputs()[0], 10.0);
    FuzzySetOutputBox* u = window->OutputPanels()[0]->Box();
    const double crisp = ruleBase_->CrispOutput(std::vector<double>{10.0, 0.5});
    QCOMPARE(window->OutputPanels()[0]->ValueEdit()->text(), QString::number(crisp, 'f', 2));
    QCOMPARE(u->Scene().marker.point(0).x(), PixelAtPosition(crisp / 200, u->width()));
}

// The filter answers for the rule base: the output shown is the projection's at the same point.
void TMDIChildTest::theFilteredOutputIsTheOneShown() {
    TMDIChild* window = Open(kTwoOutputs);
    SetCursors(0.4, 0.7);
    window->cbUseFTFilter->setChecked(true);
    // x = 4 is the tenth of the projection's 25 steps over [0, 10].
    const QString projected = QString::number(window->ProjectionOutputs()[10], 'f', 2);
    QCOMPARE(window->OutputPanels()[0]->ValueEdit()->text(), projected);
    QVERIFY(QString::number(ruleBase_->CrispOutput(std::vector<double>{4.0, 0.7}), 'f', 2) !=
            projected);
}

// Both are computed as one sweep over the cores; each value must still be the inference at its
// point, whatever the method, also when the window passes more inputs than the rule base reads.
void TMDIChildTest::projectionAndSurfaceAreTheInferencesAtTheirPoints() {
    CRuleBase ruleBase = ReadRuleBaseFile(kTwoOutputs);
    const std::vector<double> inputs = {3.0, 0.4, 99.0};
    for (const auto routine : {LLogInfPreCrisp, LZadInfCrisp}) {
        for (const auto defuzzification : {SimpleCOG, SmoothDeffuzLingExpr}) {
            ruleBase.SetInferenceMethod(routine);
            ruleBase.SetDefuzzificationMethod(defuzzification);
            ruleBase.SetProjectionSteps(10);
            std::vector<double> projection;
            SampleProjection(ruleBase, inputs, 1, 7, false, projection);
            QCOMPARE(projection.size(), std::size_t{8});
            for (int k = 0; k <= 7; ++k) {
                const std::vector<double> point = {3.0, k == 7 ? 1.0 : k * (1.0 / 7)};
                QCOMPARE(projection[k], CrispValueAt(ruleBase, point, false));
            }
            Net3D net;
            SampleSurface(ruleBase, inputs, 0, 1, 5, net);
            for (int a = 0; a < 5; ++a) {
                for (int b = 0; b < 5; ++b) {
                    const std::vector<double> point = {a * 2.5, b * 0.25};
                    const double z = (CrispValueAt(ruleBase, point, false) - 0) * 2 / 100 - 1;
                    QCOMPARE(net.Point(b, a).z, z);
                }
            }
        }
    }
}

void TMDIChildTest::editingIsOffWhileTheWindowIsOpen() {
    TMDIChild* window = Open(kOneInput, QStringLiteral("brakes"));
    QCOMPARE(window->windowTitle(), QStringLiteral("brakes - Test"));
    QVERIFY(!window->btSurface->isEnabled());
    QCOMPARE(owner_.editing, std::vector<bool>{false});
    QFile written(QString::fromStdString(window->TemporaryFilePath()));
    QVERIFY(written.fileName().startsWith(runtimeFolder_->path()));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()), window->MemoRuleBase->toPlainText());
    window->resize(780, 500);
    window->close();
    QTRY_VERIFY(window_.isNull());
    QCOMPARE(owner_.editing, (std::vector<bool>{false, true}));
    // The next window of that caption takes the place the last one left.
    QCOMPARE(Open(kOneInput, QStringLiteral("brakes"))->size(), QSize(780, 500));
}

void TMDIChildTest::unwritableFolderStillShowsTheText() {
    const CRuleBase ruleBase(ReadRuleBaseFile(kOneInput));
    const TemporaryRuleBaseFile shown =
        WriteTemporaryRuleBase(ruleBase, (runtimeFolder_->path() + "/missing").toStdString());
    QVERIFY(shown.path.empty());
    QCOMPARE(shown.text, RuleBaseText(ruleBase));
}

void TMDIChildTest::temporaryFilesGoWithTheirWindows() {
    Open(kOneInput);
    const QString first = QString::fromStdString(window_->TemporaryFilePath());
    // A second window over the same rule base keeps its own copy when the first one closes.
    auto second = std::make_unique<TMDIChild>(*ruleBase_, QStringLiteral("case"), &owner_);
    const QString kept = QString::fromStdString(second->TemporaryFilePath());
    QVERIFY(QFile::exists(first));
    delete window_;
    QVERIFY(!QFile::exists(first));
    QVERIFY(QFile::exists(kept));
    second.reset();
    QVERIFY(QDir(runtimeFolder_->path()).isEmpty());
}

void TMDIChildTest::screenshot() {
    Open(TAVO_EXAMPLES "/controller.rb", QStringLiteral("controller"));
    SetCursors(0.3, 0.7);
    QVERIFY(window_->OutputPanels()[0]->Box()->Scene().hasMarker);
    QVERIFY(window_->grab().toImage().save(TAVO_ARTIFACT_DIR "/TMDIChild.png"));
    // Made as small as it goes, the window still shows every method and variable name whole.
    window_->resize(window_->minimumSizeHint());
    QCoreApplication::processEvents();
    for (QComboBox* combo :
         {window_->cbxInfMethod, window_->cbxDefMethod, window_->cbxProjectionVariable}) {
        QComboBox whole;
        whole.setFont(combo->font());
        for (int i = 0; i < combo->count(); ++i)
            whole.addItem(combo->itemText(i));
        QVERIFY2(combo->width() >= whole.sizeHint().width(), qPrintable(combo->currentText()));
    }
}

QTEST_MAIN(TMDIChildTest)
#include "TMDIChildTest.moc"
