#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "core/ftransform/TFTransform.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/DataTableModel.h"
#include "desktop/data/DataTransforms.h"
#include "desktop/data/TDataPage.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/variables/TDlgAddVar.h"
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

// A cell of the page's rows, addressed as the page's columns are (0 the label, then the
// variables, "est." and "Ling. Approx."), in data rows from 0.
QString Cell(TFormInfUnit& editor, int col, int row) {
    return editor.DataPage().Model().Table().Cell(col, row);
}

void SetCell(TFormInfUnit& editor, int col, int row, const QString& text) {
    DataTableModel& model = editor.DataPage().Model();
    QVERIFY(model.setData(model.CellIndex(col, row), text));
}

int Rows(TFormInfUnit& editor) {
    return editor.DataPage().Model().rowCount();
}

// The texts of a column's two header lines.
QStringList Header(TFormInfUnit& editor, int col) {
    return editor.DataPage().Model().headerData(col - 1, Qt::Horizontal).toString().split('\n');
}

QTableView& View(TFormInfUnit& editor) {
    return *editor.findChild<QTableView*>("StringGridData");
}

// The page's buttons and Learn items as a person presses them.
void Press(TFormInfUnit& editor, const char* control) {
    if (auto* button = editor.findChild<QAbstractButton*>(control))
        button->click();
    else
        editor.findChild<QAction*>(control)->trigger();
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
        Press(editor, "btnImport");
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
        QCOMPARE(Rows(*editor), 2);
        QCOMPARE(Header(*editor, 1), (QStringList{"distance", "<0.00, 50.00>"}));
        QCOMPARE(Header(*editor, 2)[1], QString("<0.00, 120.00>"));
        QCOMPARE(editor->DataPage().Model().headerData(1, Qt::Vertical), QVariant("2."));
        QCOMPARE(Cell(*editor, 1, 0), QString("10.5"));
        QCOMPARE(Cell(*editor, 2, 1), QString("90.25"));

        prompts.FileNames.push_back(folder_.filePath("saved.out"));
        Press(*editor, "btnSaveOutput");
        QCOMPARE(prompts.FileDialogs.back().FileName, folder_.filePath("run.out"));
        const QByteArray saved = Contents(folder_.filePath("saved.out"));
        QVERIFY(saved.startsWith("distance\tspeed\tbraking\test,\t\n<0,00, 50,00>\t"));
        QVERIFY(saved.contains("10,5\t60\t50\t\t\n"));

        editor->DataPage().SetLinguisticApproximation(true);
        QCOMPARE(editor->DataPage().Model().columnCount(), 5);
        QCOMPARE(Header(*editor, 5)[0], QString("Ling. Approx."));
        QCOMPARE(Header(*editor, 5)[1], Header(*editor, 4)[1]);
        editor->DataPage().Model().insertRows(2, 5);
        Import(*editor, prompts, folder_.filePath("saved.out"));
        QCOMPARE(Rows(*editor), 2);
        QCOMPARE(Cell(*editor, 1, 0), QString("10.5"));
        QCOMPARE(Cell(*editor, 3, 1), QString("40"));
    }

    // After an import the old "est." and "Ling. Approx." stood beside the new rows, the largest
    // error stayed, and Save wrote them beside the new data.
    void importReplacesTheEarlierTable_data() {
        QTest::addColumn<QString>("example");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("one output")
            << "controller.rb" << QByteArray("10 60 50\n40 20 0\n30 30 30\n")
            << QByteArray("20 90 40\n5 100 10\n");
        QTest::newRow("two outputs")
            << "about_alias.rb" << QByteArray("1 1 1 0.5\n2 2 2 0.25\n3 3 3 0.1\n")
            << QByteArray("4 4 1.5 0.75\n5 5 2 0.8\n");
        QTest::newRow("short line")
            << "controller.rb" << QByteArray("10 60 50\n40 20 0\n") << QByteArray("20\n5 100 10\n");
    }
    void importReplacesTheEarlierTable() {
        QFETCH(QString, example);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        auto editor = Open(example);
        ScriptedPrompts prompts;
        editor->DataPage().SetLinguisticApproximation(true);
        Import(*editor, prompts, Write("first.txt", first));
        Press(*editor, "btnCalculateValues");
        const int inputs = editor->RuleBase().GetNumAntVariables();
        const int estimate = inputs + editor->RuleBase().GetNumSucVariables() + 1;
        QVERIFY(!Cell(*editor, estimate, 0).isEmpty());
        QVERIFY(!Cell(*editor, estimate + 1, 0).isEmpty());
        QVERIFY(!editor->DataPage().MaxError().isEmpty());

        Import(*editor, prompts, Write("second.txt", second));
        const QList<QByteArray> lines = second.trimmed().split('\n');
        QCOMPARE(Rows(*editor), int(lines.size()));
        for (int row = 0; row < Rows(*editor); ++row) {
            const QList<QByteArray> words = lines[row].split(' ');
            for (int c = 1; c <= inputs + 1; ++c)
                QCOMPARE(Cell(*editor, c, row),
                         c <= words.size() ? QString(words[c - 1]) : QString());
            QCOMPARE(Cell(*editor, estimate, row), QString());
            QCOMPARE(Cell(*editor, estimate + 1, row), QString());
        }
        QCOMPARE(editor->DataPage().MaxError(), QString());
        prompts.FileNames.push_back(folder_.filePath("second.out"));
        Press(*editor, "btnSaveOutput");
        const QList<QByteArray> saved = Contents(folder_.filePath("second.out")).split('\n');
        for (int row = 0; row < Rows(*editor); ++row)
            QVERIFY2(saved[row + 2].endsWith("\t\t\t"), saved[row + 2].constData());
    }

    void longImportsMoveTheProgressBar() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        QSignalSpy moves(editor->pgProgress, &QProgressBar::valueChanged);
        Import(*editor, prompts, Write("long.txt", QByteArray("1 2 3\n").repeated(5000)));
        QVERIFY(moves.count() >= 5);
        QCOMPARE(Rows(*editor), 5000);
    }

    void aFileThatFailsPartWayKeepsTheRowsBeforeIt() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("bad.txt", QByteArray("1 2 3\n4 5 6\n7 \0 9\n8 8 8\n", 22)));
        QCOMPARE(Texts(prompts), QString("2 rows succesfully imported, remaining skipped!"));
        QCOMPARE(Rows(*editor), 2);
        QCOMPARE(Cell(*editor, 3, 1), QString("6"));
        prompts.FileNames.push_back(QString());
        Press(*editor, "btnImport");
        QCOMPARE(Rows(*editor), 2);
        // A file with no data line once wiped the table.
        for (const char* contents : {"no numbers here\n", ""}) {
            Import(*editor, prompts, Write("none.txt", contents));
            QCOMPARE(prompts.Messages.back().Text, "No data rows were read from " +
                                                       folder_.filePath("none.txt") +
                                                       "; the table is left as it was.");
            QCOMPARE(Rows(*editor), 2);
            QCOMPARE(Cell(*editor, 3, 1), QString("6"));
        }
    }

    void importKeepsTheFurtherOutputs() {
        auto editor = Open("about_alias.rb");
        ScriptedPrompts prompts;
        const QString data = Write("two.txt", "1 1 1 0.5\n2 2 2 0.25\n");
        Import(*editor, prompts, data);
        SetCell(*editor, 5, 1, "0.75");
        Import(*editor, prompts, Write("three.txt", "1 1 1 0.5\n2 2 2 0.25\n3 3 3 0.1\n"));
        QCOMPARE(Cell(*editor, 5, 1), QString("0.75"));
        QCOMPARE(Cell(*editor, 5, 2), QString());
    }

    void computeShowsEstimatesAndTheLargestError() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("c.txt", "10 60 50\nx 60 50\n40 20 0\n"));
        Press(*editor, "btnCalculateValues");
        QCOMPARE(Cell(*editor, 4, 1), QString("N/A"));
        const double first = std::fabs(50 - Cell(*editor, 4, 0).toDouble());
        const double third = std::fabs(0 - Cell(*editor, 4, 2).toDouble());
        QVERIFY(std::fabs(editor->DataPage().MaxError().toDouble() - std::max(first, third)) <
                1e-6);

        View(*editor).setCurrentIndex(editor->DataPage().Model().CellIndex(1, 1));
        Press(*editor, "btnDeleteInputRow");
        QCOMPARE(Rows(*editor), 2);
        QCOMPARE(Cell(*editor, 1, 1), QString("40"));
        QCOMPARE(Cell(*editor, 0, 1), QString("2."));
        Press(*editor, "btnAddInputRow");
        QCOMPARE(Rows(*editor), 3);
        QCOMPARE(Cell(*editor, 1, 2), QString());
    }

    // Compute left the description of an earlier estimate on a row that has none now.
    void aRowWithoutEstimateHasNoDescription() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        editor->DataPage().SetLinguisticApproximation(true);
        Import(*editor, prompts, Write("n.txt", "10 60 50\n"));
        Press(*editor, "btnCalculateValues");
        QVERIFY(!Cell(*editor, 5, 0).isEmpty());
        SetCell(*editor, 1, 0, "x");
        Press(*editor, "btnCalculateValues");
        QCOMPARE(Cell(*editor, 4, 0), QString("N/A"));
        QCOMPARE(Cell(*editor, 5, 0), QString());
    }

    // Compute wrote them into a column that the grid did not have while it was hidden.
    void descriptionsAreKeptWhileTheirColumnIsHidden() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("d.txt", "10 60 50\n"));
        Press(*editor, "btnCalculateValues");
        QCOMPARE(editor->DataPage().Model().columnCount(), 4);
        editor->DataPage().SetLinguisticApproximation(true);
        const QString description = Cell(*editor, 5, 0);
        QVERIFY(!description.isEmpty());
        QCOMPARE(editor->DataPage().Model().data(editor->DataPage().Model().CellIndex(5, 0)),
                 QVariant(description));
        editor->DataPage().SetLinguisticApproximation(false);
        editor->DataPage().SetLinguisticApproximation(true);
        QCOMPARE(Cell(*editor, 5, 0), description);
    }

    // A command reads what the open cell editor shows, not what the cell held before.
    void commandsCommitTheOpenEditorFirst() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("o.txt", "10 60 50\n"));
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QTableView& view = View(*editor);
        const QModelIndex speed = editor->DataPage().Model().CellIndex(2, 0);
        view.setCurrentIndex(speed);
        view.edit(speed);
        auto* cellEditor = qobject_cast<QLineEdit*>(view.indexWidget(speed));
        QVERIFY(cellEditor);
        cellEditor->setText("20");
        Press(*editor, "btnCalculateValues");
        QCOMPARE(Cell(*editor, 2, 0), QString("20"));
        const double expected = editor->RuleBase().CrispOutput(std::vector<double>{10, 20});
        QCOMPARE(Cell(*editor, 4, 0), EstimateText(expected));
        QVERIFY(!view.indexWidget(speed));
    }

    // Every change the page makes, as the model's views see it.
    void theModelKeepsQtsRules() {
        auto editor = Open("about_alias.rb");
        ScriptedPrompts prompts;
        QAbstractItemModelTester tester(&editor->DataPage().Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        Import(*editor, prompts, Write("t.txt", "1 1 1 0.5\n2 2 2 0.25\nx 3 3 0.1\n"));
        Press(*editor, "btnCalculateValues");
        editor->DataPage().SetLinguisticApproximation(true);
        Press(*editor, "btnCalculateValues");
        SetCell(*editor, 6, 2, "7");
        Press(*editor, "btnAddInputRow");
        View(*editor).setCurrentIndex(editor->DataPage().Model().CellIndex(1, 0));
        Press(*editor, "btnDeleteInputRow");
        editor->DataPage().SetLinguisticApproximation(false);
        prompts.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        editor->DataPage().TabSheetImportShow();
        QCOMPARE(editor->DataPage().Model().columnCount(), 5);
        Import(*editor, prompts, Write("u.txt", "1 1 0.5\n"));
        QCOMPARE(Rows(*editor), 1);
        editor->SetModified(false);
    }

    // An estimate of 45.5627 showed as "45.600000", and the error was taken from that text.
    void estimatesAndTheLargestErrorShowTheirDigits() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("e.txt", "10 60 50\n40 20 0\n"));
        Press(*editor, "btnCalculateValues");
        const double first = editor->RuleBase().CrispOutput(std::vector<double>{10, 60});
        const double second = editor->RuleBase().CrispOutput(std::vector<double>{40, 20});
        QCOMPARE(Cell(*editor, 4, 0), QString::number(first, 'f', 6));
        QCOMPARE(Cell(*editor, 4, 1), QString::number(second, 'f', 6));
        const double largest = std::max(std::fabs(50 - first), std::fabs(second));
        QCOMPARE(editor->DataPage().MaxError(), QString::number(largest, 'f', 6));
        prompts.FileNames.push_back(folder_.filePath("e.out"));
        Press(*editor, "btnSaveOutput");
        QVERIFY(Contents(folder_.filePath("e.out"))
                    .contains(QString::number(first, 'f', 6).replace('.', ',').toUtf8()));
    }

    void linguisticLearningWritesTheRulesFileAndMarksTheEditor() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        const QString data = Write("learn.txt", "2 110 50\n2,1 110 50\n45 3 0\nbad 1 1\n");
        Import(*editor, prompts, data);
        prompts.Messages.clear();
        Press(*editor, "mnLearn1");
        QVERIFY(editor->Modified());
        const int added = editor->RuleBase().GetNumRules() - 25;
        QVERIFY(added >= 1);
        QCOMPARE(Texts(prompts), QString::number(added) + " rules were added.");
        QCOMPARE(editor->RulesPage().RuleRowCount(), 25 + added);
        const QByteArray rules = Contents(folder_.filePath("learn.rules"));
        QCOMPARE(rules.count('\n'), 25 + added);
        QVERIFY(rules.startsWith("ve sm\tex sm\tml me\t1\n"));

        prompts.Messages.clear();
        Press(*editor, "mnLearn1");
        QCOMPARE(Texts(prompts), QString("0 rules were added."));
        QCOMPARE(editor->RuleBase().GetNumRules(), 25 + added);
        QVERIFY(Contents(folder_.filePath("learn.rules")).contains("\t2\n"));

        // Learning is one step of the rules' undo; the second one changed nothing.
        editor->RulesPage().UndoRuleEdit();
        QCOMPARE(editor->RuleBase().GetNumRules(), 25);

        prompts.Messages.clear();
        Press(*editor, "ApproxLearning");
        QCOMPARE(Texts(prompts), QString("distance does not contain user defined terms."));
        QCOMPARE(editor->RuleBase().GetNumRules(), 25);
    }

    void learningMethodTwoRewritesTheRulesSection() {
        auto editor = Open("controller.rb");
        QVERIFY(!editor->findChild<QAction*>("mnLearn2")->isVisible());
        ScriptedPrompts prompts;
        editor->findChild<QAction*>("mnLearn2")->setEnabled(true);
        Press(*editor, "mnLearn2");
        QCOMPARE(prompts.Captions(), QStringList{"Information"});
        QCOMPARE(Texts(prompts), QString("There is not any row with correct input data."));

        Import(*editor, prompts, Write("m2.txt", "0 0 0\n0 0 0\n"));
        ReopeningHost host;
        host.Editor = editor.get();
        TFormInfUnit reopened(&host, folder_.filePath("controller.rb"));
        reopened.show();
        reopened.DataPage().TabSheetImportShow();
        Import(reopened, prompts, folder_.filePath("m2.txt"));
        reopened.findChild<QAction*>("mnLearn2")->setEnabled(true);
        Press(reopened, "mnLearn2");
        QCOMPARE(host.Opened, QStringList{folder_.filePath("controller.rb")});
        QVERIFY(!reopened.isVisible());
        QCOMPARE(Contents(folder_.filePath("controller.rb")).count("\"ze\" | \"ze\" | \"ze\""), 1);
        Press(*editor, "mnLearn2");
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
        Press(*editor, "mnFTransform");
        QCOMPARE(editor->FTransformSettings()[0].nodes, 2);
        QCOMPARE(editor->FTransformSettings()[1].nodes, 10);
        QCOMPARE(Cell(*editor, 4, 0), QString("30.000000"));
        QCOMPARE(Cell(*editor, 4, 4), QString());
        QCOMPARE(editor->DataPage().MaxError(), QString("0.000000"));
        QCOMPARE(prompts.FileDialogs.back().FileName, folder_.filePath("ft.ftv"));
        QVERIFY(Contents(folder_.filePath("vector.ftv")).startsWith("dimensions: 2\n"));

        SetCell(*editor, 4, 0, QString());
        Press(*editor, "btInverseFTransform");
        QCOMPARE(Cell(*editor, 4, 0), QString("30.000000"));

        // Cancelled, the dialog still keeps what was typed.
        QString shown;
        prompts.Dialogs.push_back([&shown](QDialog& dialog) {
            auto& settings = static_cast<TFTransformSettingsDialog&>(dialog);
            shown = settings.edNumOfPartitions->text();
            settings.edNumOfPartitions->setText("7");
            settings.edNumOfPartitionsExit();
            return QDialog::Rejected;
        });
        Press(*editor, "mnFTransform");
        QCOMPARE(shown, QString("2"));
        QCOMPARE(editor->FTransformSettings()[0].nodes, 7);
    }

    // This did abort: the settings and the transform still had the deleted input's axis.
    void fTransformFollowsDeletedAndAddedInputs() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("two.txt", "0 0 30\n50 120 30\n"));
        Press(*editor, "mnFTransform");
        editor->FTransformSettings()[0].nodes = 2;
        editor->TabSheetInputVar->SelectRow(0);
        prompts.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        QCOMPARE(editor->FTransformSettings().size(), std::size_t(1));
        QCOMPARE(editor->FTransformSettings()[0].nodes, 10);
        Import(*editor, prompts, Write("one.txt", "0 30\n120 30\n"));
        Press(*editor, "btInverseFTransform");
        QCOMPARE(prompts.Captions().back(), QString("Information"));
        Press(*editor, "mnFTransform");
        QCOMPARE(Cell(*editor, 3, 0), QString("30.000000"));

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
        Press(*editor, "mnFTransform");
        QCOMPARE(Cell(*editor, 4, 0), QString("30.000000"));
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
        Press(*editor, "mnFTransform");
        QCOMPARE(Texts(prompts), QString("Maximum number of nodes was exceeded."));
        QCOMPARE(editor->FTransformSettings()[0].nodes, Rows(*editor) + 2);

        prompts.Messages.clear();
        // Now 4 nodes per axis keep the two places apart, 3 do not.
        SetCell(*editor, 3, 1, "0");
        SetCell(*editor, 1, 2, "40");
        SetCell(*editor, 2, 2, "100");
        prompts.Dialogs.push_back(optimize("0.5"));
        Press(*editor, "mnFTransform");
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(editor->FTransformSettings()[0].nodes, 4);
        QCOMPARE(editor->FTransformSettings()[1].nodes, 4);
        QVERIFY(editor->DataPage().MaxError().toDouble() < 0.5);
    }

    void userTermToolsReportWhatStopsThem() {
        auto editor = Open("controller.rb");
        ScriptedPrompts prompts;
        Import(*editor, prompts, Write("u.txt", "1 1 1\n"));
        prompts.Messages.clear();
        Press(*editor, "mnFuzzyTr");
        QCOMPARE(Texts(prompts), QString("UserTerms must exists for each variable"));
        QCOMPARE(prompts.Captions(), QStringList{"Error"});

        Press(*editor, "mnVTransform");
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
        SetCell(single, 3, 0, "kept");
        prompts.Messages.clear();
        Press(single, "mnVTransform");
        QCOMPARE(Texts(prompts), QString("matrixT::Solve(): Singular matrix!"));
        QCOMPARE(Cell(single, 3, 0), QString("kept"));
        prompts.Messages.clear();
        Import(single, prompts, Write("s.txt", "0 1\n5 2\n10 3\n"));
        Press(single, "mnVTransform");
        QCOMPARE(Cell(single, 3, 1), QString("2.000000"));
        Press(single, "mnFuzzyTr");
        QCOMPARE(Cell(single, 3, 2), QString("3.000000"));
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
        editor->DataPage().SetLinguisticApproximation(true);
        Press(*editor, "btnCalculateValues");
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

    // Bounds typed into the variable dialog were held in double precision and the file's in
    // single: after Save and Reopen the same rule base computed other estimates.
    void estimatesAndTheTestWindowAreTheSameAfterSaveAndReopen() {
        auto editor = std::make_unique<TFormInfUnit>(
            nullptr, std::make_unique<CRuleBase>(CRuleBase::kLinguistic));
        TDlgAddVar dialog;
        const auto typeBounds = [&dialog](const QString& low, const QString& high) {
            dialog.ModalLoop = [&dialog, low, high] {
                dialog.edLow->setText(low);
                dialog.edHigh->setText(high);
                dialog.OKBtnClick();
                return dialog.result();
            };
        };
        typeBounds("0.1", "2.3");
        QVERIFY(dialog.EditInputVariable(editor->RuleBase(), 0));
        typeBounds("-0.7", "13.9");
        QVERIFY(dialog.EditOutputVariable(editor->RuleBase(), 0));
        QByteArray rows;
        for (int i = 0; i <= 60; ++i)
            rows += QByteArray::number(0.1 + i * 2.2 / 60) + " " +
                    QByteArray::number(-0.7 + std::fmod(i * 7.3, 14.6)) + "\n";
        const QString data = Write("built.txt", rows);
        ScriptedPrompts prompts;
        Import(*editor, prompts, data);
        Press(*editor, "mnLearn1");

        const auto estimates = [](TFormInfUnit& unit) {
            Press(unit, "btnCalculateValues");
            QStringList column;
            for (int row = 0; row < Rows(unit); ++row)
                column << Cell(unit, 3, row);
            return column;
        };
        qputenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit());  // the test window's file
        const auto projection = [](CRuleBase& ruleBase) {
            TMDIChild window(ruleBase, "built");
            window.InputPanels()[0]->SetCursor(0.37);
            return window.ProjectionOutputs();
        };
        const QStringList computed = estimates(*editor);
        const std::vector<double> shown = projection(editor->RuleBase());
        QVERIFY(!shown.empty());
        prompts.FileNames.push_back(folder_.filePath("built.rb"));
        QVERIFY(editor->SaveRuleBaseAs());

        TFormInfUnit reopened(nullptr, folder_.filePath("built.rb"));
        Import(reopened, prompts, data);
        QCOMPARE(estimates(reopened), computed);
        QCOMPARE(projection(reopened.RuleBase()), shown);
        reopened.SetModified(false);
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
