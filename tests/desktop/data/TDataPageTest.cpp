#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "core/ftransform/TFTransform.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/DataTransforms.h"
#include "desktop/data/TDataPage.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/TStringGrid.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

namespace {

QByteArray Contents(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const auto& message : prompts.Messages)
        texts << message.Text;
    return texts.join(" | ");
}

// Records the files it is asked to open again.
class ReopeningHost : public EditorHost {
  public:
    QStringList Opened;
    TFormInfUnit* Editor = nullptr;
    QMdiArea* MdiClient() const override { return nullptr; }
    void UpdateSaveState() override {}
    void AddRecentFile(const QString&) override {}
    void EditorClosing(TFormInfUnit&) override {}
    TFormInfUnit* OpenFileByName(const QString& fileName) override {
        Opened << fileName;
        return Editor;
    }
};

}  // namespace

class TDataPageTest : public QObject {
    Q_OBJECT

    TemporaryRegistry store_;
    QTemporaryDir folder_;

    QString Write(const QString& name, const QByteArray& contents) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(contents);
        return path;
    }

    std::unique_ptr<TFormInfUnit> Open(const QString& example) {
        const QString target = folder_.filePath(example);
        QFile::remove(target);
        QFile::copy(QString(TAVO_EXAMPLES) + "/" + example, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        auto editor = std::make_unique<TFormInfUnit>(nullptr, target);
        editor->SetModified(false);
        editor->PageControl->setCurrentWidget(editor->TabSheetImport);
        return editor;
    }

    // Imports the file through the Import button.
    static void Import(TFormInfUnit& editor, ScriptedPrompts& prompts, const QString& file) {
        prompts.FileNames.push_back(file);
        editor.btnImport->click();
    }

  private slots:
    void importSaveImportKeepsTheData() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts,
               Write("run.txt",
                     "distance speed braking\nrecorded 2026\n10,5 60 50 9\n"
                     "20\t90,25 40\n"));
        QCOMPARE(Texts(prompts), QString("2 rows succesfully imported"));
        TStringGrid& grid = *editor->StringGridData;
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(grid.Cells(1, 0), QString("distance"));
        QCOMPARE(grid.Cells(2, 1), QString("<0.00, 120.00>"));
        QCOMPARE(grid.Cells(0, 3), QString("2."));
        QCOMPARE(grid.Cells(1, 2), QString("10.5"));
        QCOMPARE(grid.Cells(2, 3), QString("90.25"));

        prompts.FileNames.push_back(folder_.filePath("saved.out"));
        editor->btnSaveOutput->click();
        QCOMPARE(prompts.FileDialogs.back().FileName, folder_.filePath("run.out"));
        const QByteArray saved = Contents(folder_.filePath("saved.out"));
        QVERIFY(saved.startsWith("distance\tspeed\tbraking\test,\t\n<0,00, 50,00>\t"));
        QVERIFY(saved.contains("10,5\t60\t50\t\t\n"));

        editor->cbLinguisticApproximation->setChecked(true);
        QCOMPARE(grid.ColCount(), 6);
        QCOMPARE(grid.Cells(5, 0), QString("Ling. Approx."));
        QCOMPARE(grid.Cells(5, 1), grid.Cells(4, 1));
        grid.SetRowCount(9);
        Import(*editor, prompts, folder_.filePath("saved.out"));
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(grid.Cells(1, 2), QString("10.5"));
        QCOMPARE(grid.Cells(3, 3), QString("40"));
    }

    void longImportsMoveTheProgressBar() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        QSignalSpy moves(editor->pgProgress, &QProgressBar::valueChanged);
        Import(*editor, prompts, Write("long.txt", QByteArray("1 2 3\n").repeated(5000)));
        QVERIFY(moves.count() >= 5);
        QCOMPARE(editor->StringGridData->RowCount(), 5002);
    }

    void aFileThatFailsPartWayKeepsTheRowsBeforeIt() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("bad.txt", QByteArray("1 2 3\n4 5 6\n7 \0 9\n8 8 8\n", 22)));
        QCOMPARE(Texts(prompts), QString("2 rows succesfully imported, remaining skipped!"));
        QCOMPARE(editor->StringGridData->RowCount(), 4);
        QCOMPARE(editor->StringGridData->Cells(3, 3), QString("6"));
        prompts.FileNames.push_back(QString());
        editor->btnImport->click();
        QCOMPARE(editor->StringGridData->RowCount(), 4);
        // A file with no data line once wiped the table.
        for (const char* contents : {"no numbers here\n", ""}) {
            Import(*editor, prompts, Write("none.txt", contents));
            QCOMPARE(prompts.Messages.back().Text, "No data rows were read from " +
                                                       folder_.filePath("none.txt") +
                                                       "; the table is left as it was.");
            QCOMPARE(editor->StringGridData->RowCount(), 4);
            QCOMPARE(editor->StringGridData->Cells(3, 3), QString("6"));
        }
    }

    void importKeepsTheFurtherOutputs() {
        auto editor = Open("about_alias.rb");
        ScriptedPrompts prompts;
        const QString data = Write("two.txt", "1 1 1 0.5\n2 2 2 0.25\n");
        Import(*editor, prompts, data);
        editor->StringGridData->SetCells(5, 3, "0.75");
        Import(*editor, prompts, data);
        QCOMPARE(editor->StringGridData->Cells(5, 3), QString("0.75"));
    }

    void computeShowsEstimatesAndTheLargestError() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("c.txt", "10 60 50\nx 60 50\n40 20 0\n"));
        editor->btnCalculateValues->click();
        TStringGrid& grid = *editor->StringGridData;
        QCOMPARE(grid.Cells(4, 3), QString("N/A"));
        const double first = std::fabs(50 - grid.Cells(4, 2).toDouble());
        const double third = std::fabs(0 - grid.Cells(4, 4).toDouble());
        QVERIFY(std::fabs(editor->lbMaxErrorValue->text().toDouble() - std::max(first, third)) <
                1e-6);

        editor->StringGridData->FocusCell(1, 3);
        editor->btnDeleteInputRow->click();
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(grid.Cells(1, 3), QString("40"));
        QCOMPARE(grid.Cells(0, 3), QString("2."));
        editor->btnAddInputRow->click();
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(grid.Cells(1, 4), QString());
    }

    // Compute wrote them into a column that the grid did not have while it was hidden.
    void descriptionsAreKeptWhileTheirColumnIsHidden() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("d.txt", "10 60 50\n"));
        editor->btnCalculateValues->click();
        QCOMPARE(editor->StringGridData->ColWidths(5), 0);
        editor->cbLinguisticApproximation->setChecked(true);
        const QString description = editor->StringGridData->Cells(5, 2);
        QVERIFY(!description.isEmpty());
        editor->cbLinguisticApproximation->setChecked(false);
        editor->cbLinguisticApproximation->setChecked(true);
        QCOMPARE(editor->StringGridData->Cells(5, 2), description);
    }

    // An estimate of 45.5627 showed as "45.600000", and the error was taken from that text.
    void estimatesAndTheLargestErrorShowTheirDigits() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("e.txt", "10 60 50\n40 20 0\n"));
        editor->btnCalculateValues->click();
        const double first = editor->RuleBase().CrispOutput(std::vector<double>{10, 60});
        const double second = editor->RuleBase().CrispOutput(std::vector<double>{40, 20});
        QCOMPARE(editor->StringGridData->Cells(4, 2), QString::number(first, 'f', 6));
        QCOMPARE(editor->StringGridData->Cells(4, 3), QString::number(second, 'f', 6));
        const double largest = std::max(std::fabs(50 - first), std::fabs(second));
        QCOMPARE(editor->lbMaxErrorValue->text(), QString::number(largest, 'f', 6));
        prompts.FileNames.push_back(folder_.filePath("e.out"));
        editor->btnSaveOutput->click();
        QVERIFY(Contents(folder_.filePath("e.out"))
                    .contains(QString::number(first, 'f', 6).replace('.', ',').toUtf8()));
    }

    void linguisticLearningWritesTheRulesFileAndMarksTheEditor() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        const QString data = Write("learn.txt", "2 110 50\n2,1 110 50\n45 3 0\nbad 1 1\n");
        Import(*editor, prompts, data);
        prompts.Messages.clear();
        editor->DataPage().mnLearn1->trigger();
        QVERIFY(editor->Modified());
        const int added = editor->RuleBase().GetNumRules() - 25;
        QVERIFY(added >= 1);
        QCOMPARE(Texts(prompts), QString::number(added) + " rules were added.");
        QCOMPARE(editor->RulesPage().RuleRowCount(), 25 + added);
        const QByteArray rules = Contents(folder_.filePath("learn.rules"));
        QCOMPARE(rules.count('\n'), 25 + added);
        QVERIFY(rules.startsWith("ve sm\tex sm\tml me\t1\n"));

        prompts.Messages.clear();
        editor->DataPage().mnLearn1->trigger();
        QCOMPARE(Texts(prompts), QString("0 rules were added."));
        QCOMPARE(editor->RuleBase().GetNumRules(), 25 + added);
        QVERIFY(Contents(folder_.filePath("learn.rules")).contains("\t2\n"));

        // Learning is one step of the rules' undo; the second one changed nothing.
        editor->RulesPage().UndoRuleEdit();
        QCOMPARE(editor->RuleBase().GetNumRules(), 25);

        prompts.Messages.clear();
        editor->DataPage().ApproxLearning->trigger();
        QCOMPARE(Texts(prompts), QString("distance does not contain user defined terms."));
        QCOMPARE(editor->RuleBase().GetNumRules(), 25);
    }

    void learningMethodTwoRewritesTheRulesSection() {
        auto editor = Open("controller.rb");
        QVERIFY(!editor->DataPage().mnLearn2->isVisible());
        ScriptedPrompts prompts;
        editor->DataPage().mnLearn2->setEnabled(true);
        editor->DataPage().mnLearn2->trigger();
        QCOMPARE(prompts.Captions(), QStringList{"Information"});
        QCOMPARE(Texts(prompts), QString("There is not any row with correct input data."));

        Import(*editor, prompts, Write("m2.txt", "0 0 0\n0 0 0\n"));
        ReopeningHost host;
        host.Editor = editor.get();
        TFormInfUnit reopened(&host, folder_.filePath("controller.rb"));
        reopened.show();
        reopened.DataPage().TabSheetImportShow();
        Import(reopened, prompts, folder_.filePath("m2.txt"));
        reopened.DataPage().mnLearn2->setEnabled(true);
        reopened.DataPage().mnLearn2->trigger();
        QCOMPARE(host.Opened, QStringList{folder_.filePath("controller.rb")});
        QVERIFY(!reopened.isVisible());
        QCOMPARE(Contents(folder_.filePath("controller.rb")).count("\"ze\" | \"ze\" | \"ze\""), 1);
        editor->DataPage().mnLearn2->trigger();
        const QByteArray text = Contents(folder_.filePath("controller.rb"));
        QVERIFY(text.contains("NumberOfRules=26\n"));
        QVERIFY(text.endsWith(" \"ze\" | \"ze\" | \"ze\"\nEND_RULES\n"));
        QCOMPARE(text.count("\"ze\" | \"ze\" | \"ze\""), 1);
    }

    void mergeRulesWritesTheReport() {
        auto editor = Open("controller.rb");
        editor->DataPage().MergeRules();
        const QByteArray report = Contents(folder_.filePath("controller.txt"));
        QVERIFY(report.contains("new terms:\nvar 0:\t"));
    }

    void fTransformFillsEstimatesAndSavesTheVector() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("ft.txt", "0 0 30\n50 0 30\n0 120 30\n50 120 30\nx 1 1\n"));
        prompts.Dialogs.push_back([](QDialog& dialog) {
            auto& settings = static_cast<TFTransformSettingsDialog&>(dialog);
            settings.edNumOfPartitions->setText("2");
            settings.edNumOfPartitionsExit();
            settings.cbOutputToFile->setChecked(true);
            return QDialog::Accepted;
        });
        prompts.FileNames.push_back(folder_.filePath("vector.ftv"));
        editor->DataPage().mnFTransform->trigger();
        QCOMPARE(editor->FTransformSettings()[0].nodes, 2);
        QCOMPARE(editor->FTransformSettings()[1].nodes, 10);
        QCOMPARE(editor->StringGridData->Cells(4, 2), QString("30.000000"));
        QCOMPARE(editor->StringGridData->Cells(4, 6), QString());
        QCOMPARE(editor->lbMaxErrorValue->text(), QString("0.000000"));
        QCOMPARE(prompts.FileDialogs.back().FileName, folder_.filePath("ft.ftv"));
        QVERIFY(Contents(folder_.filePath("vector.ftv")).startsWith("dimensions: 2\n"));

        editor->StringGridData->SetCells(4, 2, QString());
        editor->btInverseFTransform->click();
        QCOMPARE(editor->StringGridData->Cells(4, 2), QString("30.000000"));

        // Cancelled, the dialog still keeps what was typed.
        QString shown;
        prompts.Dialogs.push_back([&shown](QDialog& dialog) {
            auto& settings = static_cast<TFTransformSettingsDialog&>(dialog);
            shown = settings.edNumOfPartitions->text();
            settings.edNumOfPartitions->setText("7");
            settings.edNumOfPartitionsExit();
            return QDialog::Rejected;
        });
        editor->DataPage().mnFTransform->trigger();
        QCOMPARE(shown, QString("2"));
        QCOMPARE(editor->FTransformSettings()[0].nodes, 7);
    }

    // This did abort: the settings and the transform still had the deleted input's axis.
    void fTransformFollowsDeletedAndAddedInputs() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("two.txt", "0 0 30\n50 120 30\n"));
        editor->DataPage().mnFTransform->trigger();
        editor->FTransformSettings()[0].nodes = 2;
        editor->StringGridInputVar->FocusCell(0, 1);
        prompts.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        QCOMPARE(editor->FTransformSettings().size(), std::size_t(1));
        QCOMPARE(editor->FTransformSettings()[0].nodes, 10);
        Import(*editor, prompts, Write("one.txt", "0 30\n120 30\n"));
        editor->btInverseFTransform->click();
        QCOMPARE(prompts.Captions().back(), QString("Information"));
        editor->DataPage().mnFTransform->trigger();
        QCOMPARE(editor->StringGridData->Cells(3, 2), QString("30.000000"));

        // The added input's values were taken for the output: 60 where 30 was wanted.
        InstalledEditorSeams().AddVariable = [](TFormInfUnit& window) {
            window.RuleBase().AddAntVariable(
                std::make_unique<CFuzzyVariable>(
                    "load", std::make_shared<CLinguisticSettings>(0.0, 100.0), 301),
                0);
            return true;
        };
        editor->ButtonAddVarClick();
        InstalledEditorSeams() = {};
        QCOMPARE(editor->FTransformSettings().size(), std::size_t(2));
        QCOMPARE(editor->FTransformSettings()[1].high, 100.0);
        Import(*editor, prompts, Write("three.txt", "0 60 30\n120 60 30\n"));
        editor->DataPage().mnFTransform->trigger();
        QCOMPARE(editor->StringGridData->Cells(4, 2), QString("30.000000"));
        editor->SetModified(false);
    }

    void nodeSearchReportsAnUnreachableTolerance() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("noisy.txt", "10 10 0\n10 10 100\n20 30 50\n"));
        prompts.Messages.clear();
        const auto optimize = [](const QString& tolerance) {
            return [tolerance](QDialog& dialog) {
                auto& settings = static_cast<TFTransformSettingsDialog&>(dialog);
                settings.cbOptimize->setChecked(true);
                settings.edMaxErrorValue->setText(tolerance);
                settings.btOKClick();
                return dialog.result();
            };
        };
        prompts.Dialogs.push_back(optimize("1"));
        editor->DataPage().mnFTransform->trigger();
        QCOMPARE(Texts(prompts), QString("Maximum number of nodes was exceeded."));
        QCOMPARE(editor->FTransformSettings()[0].nodes, editor->StringGridData->RowCount());

        prompts.Messages.clear();
        // Now 4 nodes per axis keep the two places apart, 3 do not.
        editor->StringGridData->SetCells(3, 3, "0");
        editor->StringGridData->SetCells(1, 4, "40");
        editor->StringGridData->SetCells(2, 4, "100");
        prompts.Dialogs.push_back(optimize("0.5"));
        editor->DataPage().mnFTransform->trigger();
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(editor->FTransformSettings()[0].nodes, 4);
        QCOMPARE(editor->FTransformSettings()[1].nodes, 4);
        QVERIFY(editor->lbMaxErrorValue->text().toDouble() < 0.5);
    }

    void userTermToolsReportWhatStopsThem() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("u.txt", "1 1 1\n"));
        prompts.Messages.clear();
        editor->DataPage().mnFuzzyTr->trigger();
        QCOMPARE(Texts(prompts), QString("UserTerms must exists for each variable"));
        QCOMPARE(prompts.Captions(), QStringList{"Error"});

        editor->DataPage().mnVTransform->trigger();
        QCOMPARE(prompts.Messages.size(), std::size_t(1));

        // One input with three user terms; every row sits where only the first one holds.
        Write("single.rb",
              "TypeOfDescription=linguistic\nInfMethod=Logical_Deduction\n"
              "DefuzzMethod=DefuzzLingExpression\nUseFuzzyFilter=false\n\n"
              "NumberOfAntecedentVariables=1\nNumberOfSuccedentVariables=1\nNumberOfRules=1\n\n"
              "AntVariable1\n name=x\n settings=linguistic\n context=<0,10>\n"
              " discretization=301\n"
              " UserTerm\n  name=low\n  type=triang\n  parameters= -5 0 5\n End_UserTerm\n"
              " UserTerm\n  name=mid\n  type=triang\n  parameters= 0 5 10\n End_UserTerm\n"
              " UserTerm\n  name=high\n  type=triang\n  parameters= 5 10 15\n End_UserTerm\n"
              "End_AntVariable1\n\nSucVariable1\n name=y\n settings=linguistic\n"
              " context=<0,10>\n discretization=301\nEnd_SucVariable1\n\n"
              "RULES\n \"low\" | \"sm\"\nEND_RULES\n");
        TFormInfUnit single(nullptr, folder_.filePath("single.rb"));
        Import(single, prompts, Write("s.txt", "0 1\n0 2\n"));
        single.StringGridData->SetCells(3, 2, "kept");
        prompts.Messages.clear();
        single.DataPage().mnVTransform->trigger();
        QCOMPARE(Texts(prompts), QString("matrixT::Solve(): Singular matrix!"));
        QCOMPARE(single.StringGridData->Cells(3, 2), QString("kept"));
        prompts.Messages.clear();
        Import(single, prompts, Write("s.txt", "0 1\n5 2\n10 3\n"));
        single.DataPage().mnVTransform->trigger();
        QCOMPARE(single.StringGridData->Cells(3, 3), QString("2.000000"));
        single.DataPage().mnFuzzyTr->trigger();
        QCOMPARE(single.StringGridData->Cells(3, 4), QString("3.000000"));
        single.SetModified(false);
    }

    void dataPageScreenshot() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        QByteArray rows;
        for (int i = 0; i < 40; ++i)
            rows += QByteArray::number(i * 1.25) + " " + QByteArray::number(i * 3) + " " +
                    QByteArray::number(i * 2.5) + "\n";
        Import(*editor, prompts, Write("shot.txt", rows));
        editor->cbLinguisticApproximation->setChecked(true);
        editor->btnCalculateValues->click();
        editor->resize(760, 500);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QVERIFY(editor->grab().save(QString(TAVO_ARTIFACT_DIR) + "/data_page.png"));
        TFTransformSettingsDialog dialog;
        std::vector<FTDimensionSettings> settings;
        prompts.Dialogs.push_back([](QDialog& shown) {
            static_cast<TFTransformSettingsDialog&>(shown).shapeButtons->button(3)->click();
            shown.show();
            shown.grab().save(QString(TAVO_ARTIFACT_DIR) + "/ftransform_settings.png");
            return QDialog::Rejected;
        });
        QVERIFY(!dialog.Execute(editor->RuleBase(), settings));
        QCOMPARE(settings.size(), std::size_t(2));
        QCOMPARE(settings[0].shape, std::uint8_t(3));
    }

    void previewFollowsTheBasicFunction() {
        const std::vector<QPoint> line = BasicFunctionPreview(ftTriangular, 100, 51);
        QCOMPARE(line.front(), QPoint(0, 50));
        QCOMPARE(line[1], QPoint(0, 50));
        QCOMPARE(line[51], QPoint(50, 0));
        QCOMPARE(line.size(), std::size_t(1 + 101));
        QCOMPARE(line.back(), QPoint(100, 50));
        QVERIFY(BasicFunctionPreview(4, 100, 51).empty());
    }
};

QTEST_MAIN(TDataPageTest)
#include "TDataPageTest.moc"
