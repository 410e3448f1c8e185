#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/inference/MethodTables.h"
#include "core/lang/CSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/editor/VariablesModel.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/variables/VariableNumbers.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"
#include "tests/desktop/support/RulesTestModels.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

#include <memory>
#include <string>
#include <vector>

using rules_test::Type;
using toolkit::ModalResult;

namespace {

QByteArray Contents(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::string> RuleTexts(const CRuleBase& ruleBase) {
    std::vector<std::string> texts;
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
            texts.push_back(ruleBase.GetAntExpression(a, r));
        for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
            texts.push_back(ruleBase.GetSucExpression(s, r));
    }
    return texts;
}

}  // namespace

class TFormInfUnitTest : public QObject {
    Q_OBJECT

    TemporaryRegistry store_;
    QTemporaryDir folder_;

    QString Copy(const QString& example) {
        const QString target = folder_.filePath(example);
        QFile::remove(target);
        QFile::copy(QString(TAVO_EXAMPLES) + "/" + example, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    QString Write(const QString& fileName, const rulebase_test::Model& model) {
        const QString target = folder_.filePath(fileName);
        QFile file(target);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::fromStdString(rulebase_test::FileText(model)));
        return target;
    }

    std::unique_ptr<TFormInfUnit> Open(const QString& example) {
        auto editor = std::make_unique<TFormInfUnit>(nullptr, Copy(example));
        editor->SetModified(false);
        return editor;
    }

  private slots:
    void openingShowsTheRuleBaseOnEveryPage() {
        auto editor = Open("controller.rb");
        QCOMPARE(editor->windowTitle(), folder_.filePath("controller.rb"));
        QCOMPARE(editor->EditUnitName->text(), QString("controller"));
        QCOMPARE(editor->lbTypeOfUnit->text(), QString("Linguistic"));
        QCOMPARE(editor->ComboBoxInfType->count(), 5);
        QCOMPARE(editor->ComboBoxInfType->currentText(),
                 QString("Perception-based Logical Deduction"));
        QCOMPARE(editor->ComboBoxDefType->count(), 6);
        QCOMPARE(editor->ComboBoxDefType->currentText(),
                 QString("Defuzzification of Linguistic Expressions"));
        QCOMPARE(editor->PageControl->currentWidget(), editor->TabSheetGeneral);
        const VariablesModel& inputs = editor->TabSheetInputVar->Model();
        QCOMPARE(inputs.rowCount(), 2);
        QCOMPARE(inputs.index(1, 0).data(), QVariant("speed"));
        QCOMPARE(inputs.index(1, 3).data(), QVariant("120.00"));
        for (TVariablePage* page : {editor->TabSheetInputVar, editor->TabSheetOutputVar}) {
            editor->PageControl->setCurrentWidget(page);
            editor->grab().save(
                QString(TAVO_ARTIFACT_DIR "/editor-%1.png").arg(page->objectName()));
        }
        QCOMPARE(editor->RulesPage().Model().rowCount(), 25);
        QCOMPARE(editor->RulesPage().Model().columnCount(), 3 + 4);
    }

    void kindsDecideCombosLabelAndCheckColumns() {
        auto singleton = Open("singleton.rb");
        QCOMPARE(singleton->ComboBoxInfType->count(), 1);
        QCOMPARE(singleton->ComboBoxInfType->currentText(), QString("Takagi-Sugeno Inference"));
        QVERIFY(singleton->ComboBoxDefType->isHidden());
        QVERIFY(singleton->lbDefuzzType->isHidden());
        QCOMPARE(singleton->lbTypeOfUnit->text(), QString("TS-Singleton"));
        QVERIFY(!singleton->mnShowRedundancy->isVisible());
        QVERIFY(!singleton->mnShowRedundancyAnt->isVisible());
        const int checks = singleton->RulesPage().Model().columnCount() - 4;
        QVERIFY(singleton->RulesPage().Grid().isColumnHidden(checks + 2));
        QVERIFY(singleton->RulesPage().Grid().isColumnHidden(checks + 3));

        auto takagiSugeno = Open("takagi_sugeno.rb");
        QCOMPARE(takagiSugeno->ComboBoxInfType->count(), 0);
        QCOMPARE(takagiSugeno->ComboBoxDefType->count(), 0);
        QCOMPARE(takagiSugeno->lbTypeOfUnit->text(), QString("Unknown"));
    }

    void smoothDefuzzificationSwitchesTheFilterOffForGood() {
        auto editor = Open("controller.rb");
        editor->cbUseFTFilter->setChecked(true);
        QVERIFY(editor->RuleBase().GetUseFuzzyFilter());
        editor->ComboBoxDefType->setCurrentIndex(5);
        editor->ComboBoxDefTypeChange();
        QVERIFY(!editor->cbUseFTFilter->isChecked());
        QVERIFY(!editor->cbUseFTFilter->isEnabled());
        QVERIFY(!editor->RuleBase().GetUseFuzzyFilter());
        QVERIFY(editor->Modified());
        editor->SetEditingEnabled(false);
        editor->SetEditingEnabled(true);
        QVERIFY(!editor->cbUseFTFilter->isEnabled());
        QVERIFY(editor->ButtonTest->isEnabled());
        editor->ComboBoxDefType->setCurrentIndex(0);
        editor->ComboBoxDefTypeChange();
        QVERIFY(editor->cbUseFTFilter->isEnabled());
    }

    void closePromptAnswers_data() {
        QTest::addColumn<ModalResult>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("cancel") << ModalResult::Cancel << false << false;
        QTest::newRow("no") << ModalResult::No << true << false;
        QTest::newRow("yes") << ModalResult::Yes << true << true;
    }
    void closePromptAnswers() {
        QFETCH(ModalResult, answer);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        auto editor = Open("controller.rb");
        const QByteArray before = Contents(editor->FileName());
        editor->MemoDescription->setPlainText("Changed description");
        ScriptedPrompts prompts;
        prompts.Answers = {answer};
        editor->show();
        QCOMPARE(editor->close(), closes);
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(prompts.Messages[0].Text,
                 QString("Do you want to save changes in controller.rb?"));
        QCOMPARE(prompts.Messages[0].Buttons, toolkit::mbYesNoCancel);
        QCOMPARE(Contents(editor->FileName()) != before, written);
        QVERIFY(Contents(editor->FileName()).contains("Changed description") == written);
    }

    // A failed save said only "Cannot write to rulebase file", and a failed Save As renamed
    // the window to the path it never wrote, where every later Save failed too.
    void failedOrCancelledSaveKeepsTheWindowAndTheFile() {
        auto editor = Open("controller.rb");
        const QString fileName = editor->FileName();
        const QByteArray before = Contents(fileName);
        editor->MemoDescription->setPlainText("Lost?");
        // Running as root, no folder is read-only: a target that is a folder fails for real.
        const QString blocked = folder_.filePath("blocked.rb");
        QVERIFY(QDir().mkpath(blocked));
        ScriptedPrompts prompts;
        prompts.FileNames = {blocked};
        QVERIFY(!editor->SaveRuleBaseAs());
        QCOMPARE(prompts.Captions(), QStringList({"Write Error"}));
        QCOMPARE(prompts.Messages[0].Text, "Cannot write to rulebase file " + blocked +
                                               ": cannot write file by open: not a regular file");
        QCOMPARE(editor->FileName(), fileName);
        QCOMPARE(editor->windowTitle(), fileName);
        QVERIFY(editor->Modified());

        editor->RuleBase().GetSettings(0).SetContext(0.0, 1e300);
        QVERIFY(!editor->Save());
        QCOMPARE(prompts.Messages[1].Text,
                 "Cannot write to rulebase file " + fileName +
                     ": the file would not read back the same: bad context bounds "
                     "(context=<0,inf>)");
        editor->RuleBase().GetSettings(0).SetContext(0.0, 50.0);

        editor->MemoDescription->setPlainText("Lost? InfMethod=x");
        prompts.Answers = {ModalResult::Yes};
        editor->show();
        QVERIFY(!editor->close());
        QCOMPARE(prompts.Messages[3].Text,
                 "Cannot write to rulebase file " + fileName +
                     ": the description holds the keyword InfMethod= (InfMethod=x)");
        QVERIFY(editor->Modified());
        QCOMPARE(Contents(fileName), before);

        auto created = std::make_unique<TFormInfUnit>(
            nullptr, std::make_unique<CRuleBase>(CRuleBase::kLinguistic));
        created->SetFileName("NoName0.rb");
        prompts.Answers = {ModalResult::Yes};
        created->show();
        QVERIFY(!created->close());
        QCOMPARE(prompts.FileDialogs.back().InitialDir, QCoreApplication::applicationDirPath());
        QCOMPARE(prompts.FileDialogs.back().FileName, QString("NoName0.rb"));
    }

    void saveAsNamesTheWindowAndClearsModified() {
        auto editor = std::make_unique<TFormInfUnit>(
            nullptr, std::make_unique<CRuleBase>(CRuleBase::kSingleton));
        QVERIFY(editor->Modified());
        ScriptedPrompts prompts;
        prompts.FileNames = {folder_.filePath("plant")};
        QVERIFY(editor->Save());
        QCOMPARE(editor->windowTitle(), folder_.filePath("plant.rb"));
        QCOMPARE(editor->EditUnitName->text(), QString("plant"));
        QVERIFY(!editor->Modified());
        QVERIFY(editor->HasFileName());
        QVERIFY(Contents(folder_.filePath("plant.rb")).contains("TypeOfDescription=singleton"));
    }

    // Close was refused without a word for an incomplete rule and for a bad cell.
    void closeSaysWhatHoldsTheWindow() {
        auto editor = Open("controller.rb");
        editor->ShowRulesPage();
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(2, 4));
        Type(page, "");
        QVERIFY(page.SelectCell(1, 1));
        editor->show();
        ScriptedPrompts prompts;
        QVERIFY(!editor->close());
        QCOMPARE(prompts.Captions(), QStringList({"Warning"}));
        QCOMPARE(prompts.Messages[0].Text,
                 QString("Cannot close controller.rb: rule 4 is incomplete: variable speed is "
                         "empty"));
        QCOMPARE(page.CurrentCell(), QPoint(2, 4));

        // A cell that fails says how to let it go without correcting it.
        Type(page, "sm xx");
        QVERIFY(!editor->close());
        QCOMPARE(prompts.Messages[1].Text,
                 QString("Cannot close controller.rb: bad expression in rule 4, variable speed: "
                         "connective expected. Escape in the cell gives it back its last valid "
                         "text"));
        QCOMPARE(page.CellCheck().message, QString("connective expected"));
        QCOMPARE(page.CellCheck().badPart, QString("xx"));

        // The hidden grid's current cell goes bad through a change on another page: that is
        // the file's business, and Close asks about saving as ever.
        Type(page, "sm");
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        ReplaceCellTexts(editor->RuleBase(), 1, {{"sm", "sm xx"}});
        prompts.Answers = {ModalResult::Yes};
        QVERIFY(!editor->close());
        QCOMPARE(prompts.Messages.size(), size_t(4));
        QCOMPARE(prompts.Messages[2].Caption, QString("Confirmation"));
        QCOMPARE(prompts.Messages[3].Text,
                 "Cannot write to rulebase file " + editor->FileName() +
                     ": bad expression in rule 2, variable speed: connective expected");
        QCOMPARE(editor->PageControl->currentWidget(), editor->TabSheetRules);
        QCOMPARE(page.CurrentCell(), QPoint(2, 2));
        Type(page, "ve sm");
        prompts.Answers = {ModalResult::No};
        QVERIFY(editor->close());
    }

    // Save As wrote a cell that fails its check ("me" "foo" | "sm"), after which the file no
    // longer opened; an incomplete rule went missing from the file without a word.
    void aSaveWritesOnlyWhatOpensAgain() {
        auto editor = Open("controller.rb");
        const QString fileName = editor->FileName();
        const QByteArray before = Contents(fileName);
        editor->show();
        editor->ShowRulesPage();
        TRulesPage& page = editor->RulesPage();
        ScriptedPrompts prompts;
        QVERIFY(page.SelectCell(2, 2));
        Type(page, "foo");
        QVERIFY(!editor->Save());
        QCOMPARE(prompts.Captions(), QStringList({"Write Error"}));
        QCOMPARE(prompts.Messages[0].Text,
                 "Cannot write to rulebase file " + fileName +
                     ": bad expression in rule 2, variable speed: atomic term expected");
        Type(page, "sm");
        QVERIFY(page.SelectCell(1, 5));
        Type(page, "");
        QVERIFY(page.SelectCell(3, 6));
        QVERIFY(!editor->Save());
        QCOMPARE(prompts.Messages[1].Text,
                 "Cannot write to rulebase file " + fileName +
                     ": rule 5 is incomplete: variable distance is empty");
        QCOMPARE(page.CurrentCell(), QPoint(1, 5));
        QCOMPARE(Contents(fileName), before);
        QVERIFY(editor->Modified());

        Type(page, "ro bi");
        QVERIFY(editor->Save());
        const TFormInfUnit reopened(nullptr, fileName);
        QCOMPARE(RuleTexts(reopened.RuleBase()), RuleTexts(editor->RuleBase()));
        QCOMPARE(reopened.RuleBase().GetAntExpression(0, 4), std::string("ro bi"));
    }

    void deletingInputVariables() {
        ScriptedPrompts prompts;
        auto editor = Open("controller.rb");
        editor->TabSheetInputVar->SelectRow(1);
        prompts.Answers = {ModalResult::No, ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 2);
        editor->ButtonDeleteVarClick();
        QCOMPARE(prompts.Messages[1].Text, QString("Are you sure to delete the variable speed?"));
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 1);
        QCOMPARE(editor->TabSheetInputVar->Model().rowCount(), 1);
        editor->ButtonDeleteVarClick();
        QCOMPARE(prompts.Messages.back().Text, QString("At least one variable is required"));
        QCOMPARE(prompts.Messages.back().Caption, QString("Warning"));
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 1);
        editor->ShowRulesPage();
        QCOMPARE(editor->RulesPage().Model().columnCount(), 2 + 4);
    }

    void variableButtonsGoThroughTheDialogHook() {
        auto editor = Open("controller.rb");
        int asked = 0;
        InstalledEditorSeams().EditVariable = [&](TFormInfUnit&, int variable) {
            asked = variable;
            return true;
        };
        editor->show();
        editor->PageControl->setCurrentWidget(editor->TabSheetOutputVar);
        auto* grid = editor->TabSheetOutputVar->findChild<QTableView*>("StringGridOutputVar");
        // A click beside the rows leaves the row that Edit names selected.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->viewport()->rect().bottomRight() - QPoint(5, 5));
        QVERIFY(grid->selectionModel()->isRowSelected(0));
        const QPoint row = grid->visualRect(grid->model()->index(0, 0)).center();
        const auto doubleClick = [&] {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row);
        };
        // While a test window holds the rule base, a double click edits nothing either.
        editor->SetEditingEnabled(false);
        doubleClick();
        QCOMPARE(asked, 0);
        editor->SetEditingEnabled(true);
        doubleClick();
        QCOMPARE(asked, -1);
        QVERIFY(editor->Modified());
        QVERIFY(editor->VariablesChanged());
        InstalledEditorSeams() = {};
    }

    // Both bounds of <1, 1.004> show as "1.00"; the page shows the bounds, it never writes them
    // back: leaving it keeps 1.004 and says nothing.
    void outputBoundsShowTwoDecimalsAndStayUnrounded() {
        rulebase_test::Model model;
        model.inputs = {rulebase_test::Variable("x", "linguistic", 0, 0.5)};
        model.outputs = {rulebase_test::Variable("y", "linguistic", 1, 1.004)};
        model.rules = {rulebase_test::RuleLine({"sm"}, {"sm"})};
        const QString name = Write("narrow.rb", model);
        ScriptedPrompts prompts;
        TFormInfUnit editor(nullptr, name);
        QCOMPARE(editor.TabSheetInputVar->Model().index(0, 3).data(), QVariant("0.50"));
        const VariablesModel& outputs = editor.TabSheetOutputVar->Model();
        QCOMPARE(outputs.index(0, 2).data(), QVariant("1.00"));
        QCOMPARE(outputs.index(0, 3).data(), QVariant("1.00"));
        editor.show();
        editor.PageControl->setCurrentWidget(editor.TabSheetOutputVar);
        editor.TabSheetOutputVar->SelectRow(0);
        editor.PageControl->setCurrentWidget(editor.TabSheetGeneral);
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(editor.RuleBase().GetUpperBound(-1), double(1.004f));
    }

    // An output that shares an input's context (settings=alias(x)) showed its old bounds after
    // the input's were edited, and leaving its list wrote them back over the edit.
    void aSharedContextShowsOnBothPagesAfterAnEdit() {
        rulebase_test::Model model;
        model.inputs = {rulebase_test::Variable("x")};
        model.outputs = {rulebase_test::Variable("y", "alias(x)")};
        model.rules = {rulebase_test::RuleLine({"sm"}, {"sm"})};
        const QString name = Write("shared.rb", model);
        TFormInfUnit editor(nullptr, name);
        InstalledEditorSeams().EditVariable = [](TFormInfUnit& window, int variable) {
            window.RuleBase().GetSettings(variable).SetContext(0.0, 2.0);
            return true;
        };
        editor.TabSheetInputVar->SelectRow(0);
        editor.ButtonEditInputVarClick();
        InstalledEditorSeams() = {};
        QCOMPARE(editor.TabSheetOutputVar->Model().index(0, 3).data(), QVariant("2.00"));
        editor.show();
        editor.PageControl->setCurrentWidget(editor.TabSheetOutputVar);
        editor.TabSheetOutputVar->SelectRow(0);
        editor.PageControl->setCurrentWidget(editor.TabSheetGeneral);
        QCOMPARE(editor.RuleBase().GetUpperBound(0), 2.0);
    }

    void expressionUseCountsInputsThenOutputs() {
        auto editor = Open("controller.rb");
        const CRuleBase& ruleBase = editor->RuleBase();
        const QString output = QString::fromStdString(ruleBase.GetSucExpression(0, 0));
        QVERIFY(editor->IsExpressionUsed(output, 2));
        QVERIFY(!editor->IsExpressionUsed(output + "x", 2));
        QVERIFY(
            editor->IsExpressionUsed(QString::fromStdString(ruleBase.GetAntExpression(1, 3)), 1));
    }
};

QTEST_MAIN(TFormInfUnitTest)
#include "TFormInfUnitTest.moc"
