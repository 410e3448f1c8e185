#include "desktop/TMDIChild.h"

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

#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/io/RuleBaseWriter.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/FiredRulesText.h"
#include "desktop/FuzzySetBoxGeometry.h"
#include "desktop/FuzzySetInputBox.h"
#include "desktop/FuzzySetInputPanel.h"
#include "desktop/FuzzySetOutputBox.h"
#include "desktop/FuzzySetOutputPanel.h"
#include "desktop/ProjectionBox.h"
#include "desktop/TemporaryRuleBaseFile.h"
#include "desktop/TestWindowOwner.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

namespace {

const char* const kTwoOutputs = R"(TypeOfDescription=linguistic
InfMethod=Fuzzy_Approximation-logical
DefuzzMethod=DefuzzLingExpression
UseFuzzyFilter=false
NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=2
NumberOfRules=3
AntVariable1
 name=x
 settings=linguistic
 context=<0,10>
 discretization=301
End_AntVariable1
AntVariable2
 name=y
 settings=linguistic
 context=<0,1>
 discretization=301
End_AntVariable2
SucVariable1
 name=u
 settings=linguistic
 context=<0,100>
 discretization=301
End_SucVariable1
SucVariable2
 name=w
 settings=linguistic
 context=<0,5>
 discretization=301
End_SucVariable2
RULES
 "sm" "sm" | "sm" "me"
 "me" "bi" | "bi" "ro bi"
 "bi" "sm" | "ve sm" "sm"
END_RULES
)";

const char* const kSingleton = R"(TypeOfDescription=singleton
InfMethod=Takagi-Sugeno Inference
DefuzzMethod=SimpDefuzzLingExpression
UseFuzzyFilter=false
NumberOfAntecedentVariables=2
NumberOfSuccedentVariables=1
NumberOfRules=2
AntVariable1
 name=load
 settings=linguistic
 context=<0,100>
 discretization=301
End_AntVariable1
AntVariable2
 name=heat
 settings=linguistic
 context=<0,40>
 discretization=301
End_AntVariable2
SucVariable1
 name=valve
 settings=linc
 context=<0,1>
End_SucVariable1
RULES
 "sm" "sm" | "0.1"
 "bi" "bi" | "0.9"
END_RULES
)";

const char* const kOneInput = R"(TypeOfDescription=linguistic
InfMethod=Logical_Deduction
DefuzzMethod=SimpleCenterOfGravity
UseFuzzyFilter=false
NumberOfAntecedentVariables=1
NumberOfSuccedentVariables=1
NumberOfRules=2
AntVariable1
 name=t
 settings=linguistic
 context=<-10,10>
 discretization=301
End_AntVariable1
SucVariable1
 name=p
 settings=linguistic
 context=<0,1>
 discretization=301
End_SucVariable1
RULES
 "sm" | "bi"
 "bi" | "sm"
END_RULES
)";

struct RecordingOwner : TestWindowOwner {
    void SetEditingEnabled(bool enabled) override { editing.push_back(enabled); }
    void SetInferenceMethodIndex(int index) override { inferenceIndex = index; }
    void SetDefuzzificationMethodIndex(int index) override { defuzzificationIndex = index; }
    void SetFuzzyFilterChecked(bool checked) override { filterChecked = checked; }
    void UpdateSaveState() override { ++saveStateUpdates; }

    std::vector<bool> editing;
    int inferenceIndex = -1;
    int defuzzificationIndex = -1;
    bool filterChecked = false;
    int saveStateUpdates = 0;
};

}  // namespace

class TMDIChildTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void firedRulesListBothOutputsOfEachFiredRule();
    void firedRulesListOnlyTheCountWhenNoRuleFires();
    void outputPanelMarksTheDefuzzifiedValue();
    void singletonRuleBaseHasNoDefuzzificationCombo();
    void methodChangesReachTheRuleBaseAndTheEditor();
    void smoothMethodTurnsTheFilterOff();
    void stepsBelowOneBecomeOne();
    void draggingTheProjectionMovesItsInput();
    void projectionLeavesTheUserPointsFiredRules();
    void oneInputDisablesTheSurface();
    void editingIsOffWhileTheWindowIsOpen();
    void unwritableFolderStillShowsTheText();
    void screenshot();

  private:
    TMDIChild* Open(const char* text, const QString& name = QStringLiteral("case"));

    std::unique_ptr<QTemporaryDir> runtimeFolder_;
    TemporaryRegistry registry_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<CRuleBase> ruleBase_;
    RecordingOwner owner_;
    QPointer<TMDIChild> window_;
};

TMDIChild* TMDIChildTest::Open(const char* text, const QString& name) {
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseText(text, "case.rb"));
    window_ = new TMDIChild(*ruleBase_, name, &owner_);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_))
        qFatal("the test window was not shown");
    return window_;
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

void TMDIChildTest::firedRulesListBothOutputsOfEachFiredRule() {
    TMDIChild* window = Open(kTwoOutputs);
    window->InputPanels()[0]->SetCursor(0.0);
    window->InputPanels()[1]->SetCursor(0.0);
    QCOMPARE(window->MemoFiredRules->toPlainText(),
             QStringLiteral("Number of fired rules: 1\nRule 1: sm & sm --> sm & me"));
    // Only the first output is inferred; the second shows no result.
    QVERIFY(window->OutputPanels()[0]->Box()->HasResult());
    QVERIFY(!window->OutputPanels()[1]->Box()->HasResult());
    QVERIFY(window->OutputPanels()[1]->ValueEdit()->text().isEmpty());
}

void TMDIChildTest::firedRulesListOnlyTheCountWhenNoRuleFires() {
    TMDIChild* window = Open(kTwoOutputs);
    window->InputPanels()[0]->SetCursor(1.0);
    window->InputPanels()[1]->SetCursor(1.0);
    QCOMPARE(window->MemoFiredRules->toPlainText(), QStringLiteral("Number of fired rules: 0"));
}

void TMDIChildTest::outputPanelMarksTheDefuzzifiedValue() {
    TMDIChild* window = Open(kTwoOutputs);
    window->InputPanels()[0]->SetCursor(0.1);
    std::vector<double> inputs = {window->InputPanels()[0]->Value(),
                                  window->InputPanels()[1]->Value()};
    FuzzySetOutputPanel* panel = window->OutputPanels()[0];
    const FuzzySetBoxScene& scene = panel->Box()->Scene();
    const QString shown = panel->ValueEdit()->text();
    const double expected = CRuleBase(ReadRuleBaseText(kTwoOutputs)).CrispOutput(inputs);
    QCOMPARE(shown, QString::number(expected, 'f', 2));
    QVERIFY(scene.hasMarker);
    QCOMPARE(scene.marker.point(0).x(), PixelAtPosition(expected / 100.0, panel->Box()->width()));
    // The set is drawn over the whole axis, one point per pixel.
    QCOMPARE(scene.curve.size(), panel->Box()->width() - 40 + 1);
    QVERIFY(!panel->ExpressionEdit()->text().isEmpty());
}

void TMDIChildTest::singletonRuleBaseHasNoDefuzzificationCombo() {
    TMDIChild* window = Open(kSingleton);
    QVERIFY(window->cbxDefMethod->isHidden());
    QVERIFY(window->lbDefMethod->isHidden());
    QCOMPARE(window->cbxInfMethod->count(), 1);
    QCOMPARE(window->cbxInfMethod->currentText(), QStringLiteral("Takagi-Sugeno Inference"));
    window->InputPanels()[0]->SetCursor(0.0);
    window->InputPanels()[1]->SetCursor(0.0);
    FuzzySetOutputBox* box = window->OutputPanels()[0]->Box();
    QVERIFY(box->Scene().curve.isEmpty());
    QCOMPARE(window->OutputPanels()[0]->ValueEdit()->text(), QStringLiteral("0.10"));
    QCOMPARE(box->Scene().marker.point(0).x(), PixelAtPosition(0.1, box->width()));
    QCOMPARE(window->MemoFiredRules->toPlainText(),
             QStringLiteral("Number of fired rules: 1\nRule 1: sm & sm --> 0.1"));
}

void TMDIChildTest::methodChangesReachTheRuleBaseAndTheEditor() {
    TMDIChild* window = Open(kTwoOutputs);
    QCOMPARE(window->cbxInfMethod->count(), 5);
    QCOMPARE(window->cbxInfMethod->currentText(), QStringLiteral("Fuzzy Approximation (CNF)"));
    QCOMPARE(window->cbxDefMethod->count(), 6);
    QCOMPARE(window->cbxDefMethod->currentText(),
             QStringLiteral("Defuzzification of Linguistic Expressions"));

    const QString before = window->OutputPanels()[0]->ValueEdit()->text();
    window->cbxInfMethod->setCurrentIndex(2);
    QVERIFY(ruleBase_->GetInferenceMethod() == CrispInferenceMethodTable[2].Routine);
    QCOMPARE(owner_.inferenceIndex, 2);
    window->cbxDefMethod->setCurrentIndex(4);
    QVERIFY(ruleBase_->GetDefuzzificationMethod() == MOM);
    QCOMPARE(owner_.defuzzificationIndex, 4);
    std::vector<double> inputs = {window->InputPanels()[0]->Value(),
                                  window->InputPanels()[1]->Value()};
    CRuleBase reference(ReadRuleBaseText(kTwoOutputs));
    reference.SetInferenceMethod(CrispInferenceMethodTable[2].Routine);
    reference.SetDefuzzificationMethod(MOM);
    QCOMPARE(window->OutputPanels()[0]->ValueEdit()->text(),
             QString::number(reference.CrispOutput(inputs), 'f', 2));
    QVERIFY(!before.isEmpty());
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

void TMDIChildTest::stepsBelowOneBecomeOne() {
    TMDIChild* window = Open(kTwoOutputs);
    QCOMPARE(window->Steps(), 25);
    QCOMPARE(ruleBase_->GetProjectionSteps(), 25);
    QCOMPARE(window->ProjectionOutputs().size(), std::size_t{26});
    for (const char* typed : {"0", "-4"}) {
        window->edSteps->setFocus();
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
    const int span = graph->width() - 60;
    QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(40 + span * 52 / 100, 30));
    // 0.52 of 25 steps is nearest to step 13.
    QCOMPARE(window->InputPanels()[1]->Box()->Cursor(), double(13 * (1.0f / 25)));
    QCOMPARE(window->InputPanels()[1]->ValueEdit()->text(),
             QString::number(13 * (1.0f / 25), 'f', 2));
    QCOMPARE(window->ProjectionPoint(), -1);
    QTest::mouseMove(graph, QPoint(graph->width() + 30, 30));
    QCOMPARE(window->InputPanels()[1]->Box()->Cursor(), 1.0);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(graph->width() + 30, 30));
    QCOMPARE(window->ProjectionOutputs().size(), std::size_t{26});
    QCOMPARE(graph->Scene().marks.size(), std::size_t{26});
}

void TMDIChildTest::projectionLeavesTheUserPointsFiredRules() {
    TMDIChild* window = Open(kTwoOutputs);
    window->InputPanels()[0]->SetCursor(0.0);
    window->InputPanels()[1]->SetCursor(0.0);
    window->cbxProjectionVariable->setCurrentIndex(1);
    window->Evaluate(true);
    QCOMPARE(ruleBase_->GetInputs()[0], 0.0);
    QCOMPARE(ruleBase_->GetInputs()[1], 0.0);
    QCOMPARE(QString::fromStdString(FiredRulesText(*ruleBase_)),
             window->MemoFiredRules->toPlainText());
    QCOMPARE(ruleBase_->GetFiredCount(), 1);
}

void TMDIChildTest::oneInputDisablesTheSurface() {
    TMDIChild* window = Open(kOneInput);
    QVERIFY(!window->btSurface->isEnabled());
    QCOMPARE(window->cbxProjectionVariable->count(), 1);
    // A symmetric context: the zero line lies inside the output's range only when it spans 0.
    QVERIFY(!window->pbxProjection->Scene().hasZeroLine);
}

void TMDIChildTest::editingIsOffWhileTheWindowIsOpen() {
    TMDIChild* window = Open(kTwoOutputs, QStringLiteral("brakes"));
    QCOMPARE(window->windowTitle(), QStringLiteral("brakes - Test"));
    QCOMPARE(owner_.editing, std::vector<bool>{false});
    QVERIFY(!window->TemporaryFilePath().empty());
    QFile written(QString::fromStdString(window->TemporaryFilePath()));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()), window->MemoRuleBase->toPlainText());
    QVERIFY(window->TemporaryFilePath().starts_with(runtimeFolder_->path().toStdString()));
    window->resize(900, 700);
    window->close();
    QTRY_VERIFY(window_.isNull());
    QCOMPARE(owner_.editing, (std::vector<bool>{false, true}));
    // The next window of that caption takes the place the last one left.
    QCOMPARE(Open(kTwoOutputs, QStringLiteral("brakes"))->size(), QSize(900, 700));
}

void TMDIChildTest::unwritableFolderStillShowsTheText() {
    const CRuleBase ruleBase(ReadRuleBaseText(kOneInput));
    const TemporaryRuleBaseFile shown = WriteTemporaryRuleBase(
        ruleBase, (runtimeFolder_->path() + "/missing/folder").toStdString());
    QVERIFY(shown.path.empty());
    QCOMPARE(shown.text, RuleBaseText(ruleBase));
}

void TMDIChildTest::screenshot() {
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(TAVO_EXAMPLES "/controller.rb"));
    window_ = new TMDIChild(*ruleBase_, QStringLiteral("controller"), &owner_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->InputPanels()[0]->SetCursor(0.3);
    window_->InputPanels()[1]->SetCursor(0.7);
    const QImage picture = window_->grab().toImage();
    QVERIFY(picture.save(TAVO_ARTIFACT_DIR "/TMDIChild.png"));
    QVERIFY(window_->OutputPanels()[0]->Box()->Scene().hasMarker);
}

QTEST_MAIN(TMDIChildTest)
#include "TMDIChildTest.moc"
