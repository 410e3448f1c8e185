// The pictures of the user manual (docs/manual/pictures) and the program's icon, drawn by the
// program itself: each case plays a person through the windows the manual shows and saves them
// into manual-pictures/ of the build folder; scripts/screenshot copies them into the tree, at
// twice the screen's resolution. Each case also checks what its picture must show.
//
// The helpers that touch the grids (rules, data, user expressions) are kept together, so that a
// grid built otherwise needs changes in one place.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "core/lang/CSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "desktop/SpeedButtonGlyphs.h"
#include "desktop/data/TDataPage.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/TestWindowSeam.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/SurfaceBox.h"
#include "desktop/testwindow/TFormSurface.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/userterms/TUserTerms.h"
#include "desktop/userterms/UserTermsView.h"
#include "desktop/variables/TDlgAddVar.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

using toolkit::ModalResult;

namespace {

QString PictureFolder() {
    return QString(TAVO_ARTIFACT_DIR) + "/manual-pictures";
}

// Saved with the resolution it was drawn at, which the help file's typesetting reads.
bool Save(const QPixmap& shot, const QString& name) {
    QImage image = shot.toImage();
    const int dotsPerMeter = qRound(96.0 * shot.devicePixelRatio() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image.save(PictureFolder() + "/" + name + ".png");
}

bool Save(QWidget& widget, const QString& name) {
    // Layouts settle in posted requests, which a grab does not wait for.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
    return Save(widget.grab(), name);
}

QString Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const auto& message : prompts.Messages)
        texts << message.Text;
    return texts.join(" | ");
}

template <typename Form>
Form* ActiveForm(TMainForm& main) {
    QMdiSubWindow* child = main.ActiveChild();
    return child ? qobject_cast<Form*>(child->widget()) : nullptr;
}

// --- the grids, in one place ---

void SetRules(TFormInfUnit& editor, const std::vector<std::vector<std::string>>& rows) {
    Rules rules;
    for (const auto& row : rows)
        rules.AddRule(row);
    editor.RuleBase().SetRulesFromSet(rules);
    editor.RefillRulesGrid();
    editor.MarkModified();
}

// Types text into a rules cell as a person does, leaving the cell editor open.
void TypeIntoRulesCell(TFormInfUnit& editor, int column, int row, const QString& text) {
    TRulesPage& page = editor.RulesPage();
    page.Grid().setFocus();
    page.SelectCell(column, row);
    QTest::keyClick(page.OpenCellEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(page.CellEditor(), text);
}

void Import(TFormInfUnit& editor, ScriptedPrompts& prompts, const QString& file) {
    prompts.FileNames.push_back(file);
    editor.DataPage().btnImportClick();
}

// The node count that a ".ftv" file states for its first input.
int NodesOf(const QString& vector) {
    QFile file(vector);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype at = text.indexOf("nodes: ");
    return at < 0 ? -1 : text.mid(at + 7).section('\n', 0, 0).toInt();
}

void SelectUserTermsRow(TUserTerms& userTerms, int row) {
    userTerms.EditUserTerms->setFocus();
    userTerms.GoToCell(1, row);
    userTerms.EditUserTerms->scrollToTop();
    QCoreApplication::processEvents();
}

void SelectRulesCell(TFormInfUnit& editor, int column, int row) {
    editor.RulesPage().Grid().setFocus();
    editor.RulesPage().SelectCell(column, row);
}

}  // namespace

class ManualPicturesTest : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;
    std::unique_ptr<TemporaryRegistry> store_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<TMainForm> form_;

    // A copy of an example in a folder of a fixed name, so that captions show the same path on
    // every machine.
    QString Example(const QString& name) {
        const QDir shown(QDir::temp().filePath("Tavo"));
        shown.mkpath("data");
        const QString copy = shown.filePath(name);
        QFile::remove(copy);
        QFile::copy(QString(TAVO_EXAMPLES) + "/" + name, copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    TMDIChild* PressTest(TFormInfUnit& editor) {
        QTest::mouseClick(editor.ButtonTest, Qt::LeftButton);
        return ActiveForm<TMDIChild>(*form_);
    }

    TFormInfUnit* OpenForExample(const QString& name) {
        TFormInfUnit* editor = form_->OpenFileByName(Example(name + ".rb"));
        if (!editor)
            return nullptr;
        editor->parentWidget()->setGeometry(8, 8, 760, 520);
        editor->PageControl->setCurrentWidget(editor->TabSheetImport);
        return editor;
    }

    // Compute, and the largest error it shows.
    static double MaxError(TFormInfUnit& editor) {
        editor.PageControl->setCurrentWidget(editor.TabSheetImport);
        editor.DataPage().btnCalculateValuesClick();
        return editor.DataPage().MaxError().toDouble();
    }

    static void ChooseMethods(TFormInfUnit& editor, const QString& inference,
                              const QString& defuzzification) {
        editor.ComboBoxInfType->setCurrentText(inference);
        editor.ComboBoxInfTypeChange();
        editor.ComboBoxDefType->setCurrentText(defuzzification);
        editor.ComboBoxDefTypeChange();
    }

    // The numbers the manual's worked example quotes, for whoever draws the pictures again.
    static void Report(const QString& step, double maxError) {
        qInfo().noquote() << step << ": max error" << maxError;
    }

    // "Add Uniform" in the user-expressions editor of a variable, through the variable dialog.
    void GiveUniformExpressions(TFormInfUnit& editor, int variable, int count, bool draw) {
        prompts_->Dialogs = {[this, count, draw](QDialog& dialog) {
            auto& variableDialog = dynamic_cast<TDlgAddVar&>(dialog);
            prompts_->Inputs = {QString::number(count)};
            prompts_->Dialogs.push_front([draw](QDialog& form) {
                auto& userTerms = dynamic_cast<TUserTerms&>(form);
                userTerms.btnAddPilaClick();
                if (draw) {
                    SelectUserTermsRow(userTerms, 4);
                    Save(userTerms, "userterms-user");
                    userTerms.ExpressionPages->setCurrentIndex(1);
                    Save(userTerms, "userterms-standard");
                }
                return int(QDialog::Accepted);
            });
            variableDialog.btnEditTerms->click();
            variableDialog.OKBtn->click();
            return variableDialog.result();
        }};
        if (variable >= 0) {
            editor.PageControl->setCurrentWidget(editor.TabSheetInputVar);
            editor.TabSheetInputVar->SelectRow(variable);
            editor.ButtonEditInputVarClick();
        } else {
            editor.PageControl->setCurrentWidget(editor.TabSheetOutputVar);
            editor.TabSheetOutputVar->SelectRow(-1 - variable);
            editor.ButtonEditOutputVarClick();
        }
        editor.PageControl->setCurrentWidget(editor.TabSheetImport);
    }

  private slots:
    void initTestCase() {
        QVERIFY(QDir().mkpath(PictureFolder()));
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    }

    void init() {
        store_ = std::make_unique<TemporaryRegistry>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        // The program as main() makes it.
        InstallTestWindow(InstalledEditorSeams());
        form_ = std::make_unique<TMainForm>();
        form_->CommandLine = {"Tavodesk"};
        InstallVariableDialog(*new TDlgAddVar(form_.get()));
        form_->resize(1000, 700);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() {
        prompts_->Answers = {ModalResult::Yes, ModalResult::No, ModalResult::No, ModalResult::No};
        form_->close();
        form_.reset();
        InstalledEditorSeams() = {};
        prompts_.reset();
        store_.reset();
    }

    // A controller from an empty rule base: variables, rules, test window, surface, saving.
    void firstSession() {
        prompts_->Dialogs = {[](QDialog& dialog) {
            auto& properties = dynamic_cast<TDialogNewBaseProperties&>(dialog);
            properties.adjustSize();
            Save(properties, "first-new-rulebase");
            return int(QDialog::Accepted);
        }};
        form_->FileNew1->trigger();
        TFormInfUnit* editor = ActiveForm<TFormInfUnit>(*form_);
        QVERIFY(editor);
        editor->parentWidget()->setGeometry(10, 10, 780, 500);

        const auto fill = [](const char* picture, const QString& name, const QString& low,
                             const QString& high) {
            return [=](QDialog& dialog) {
                auto& variable = dynamic_cast<TDlgAddVar&>(dialog);
                variable.edName->setText(name);
                variable.edLow->setText(low);
                variable.edHigh->setText(high);
                if (picture)
                    Save(variable, picture);
                variable.OKBtn->click();
                return variable.result();
            };
        };
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        prompts_->Dialogs = {fill("first-edit-variable", "error", "-10", "10"),
                             fill("first-add-variable", "change", "-2", "2"),
                             fill(nullptr, "power", "-100", "100")};
        editor->TabSheetInputVar->SelectRow(0);
        editor->ButtonEditInputVarClick();
        editor->ButtonAddVarClick();
        editor->ButtonEditOutputVarClick();
        QVERIFY(prompts_->Dialogs.empty());
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 2);
        QCOMPARE(editor->RuleBase().GetVariableName(-1), std::string("power"));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        QVERIFY(Save(*editor->parentWidget(), "first-input-variables"));

        SetRules(*editor, {{"-bi", "undef", "-bi"},
                           {"-me", "undef", "-me"},
                           {"-sm", "undef", "-sm"},
                           {"sm", "undef", "sm"},
                           {"me", "undef", "me"},
                           {"bi", "undef", "bi"},
                           {"ro ze", "-bi", "me"},
                           {"ro ze", "bi", "-me"},
                           {"ro ze", "ro ze", "ze"}});
        editor->ShowRulesPage();
        SelectRulesCell(*editor, 3, 7);
        QVERIFY(Save(*editor->parentWidget(), "first-rules"));

        TMDIChild* test = PressTest(*editor);
        QVERIFY(test);
        test->parentWidget()->setGeometry(20, 20, 900, 640);
        test->InputPanels()[0]->SetCursor(0.65);
        test->InputPanels()[1]->SetCursor(0.4);
        QVERIFY(Save(*test->parentWidget(), "first-test-window"));
        QVERIFY(test->MemoFiredRules->toPlainText().startsWith("Number of fired rules: "));

        test->btSurface->click();
        auto* surface = test->findChild<TFormSurface*>();
        QVERIFY(surface);
        // Turned a little about the vertical axis, as with the mouse, to show the surface's face.
        SurfaceBox& box = *surface->pbxSurface;
        const QPoint start(box.width() * 9 / 10, box.height() * 6 / 10);
        QTest::mousePress(&box, Qt::LeftButton, {}, start);
        QTest::mouseMove(&box, start - QPoint(box.width() / 4, 0));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, start - QPoint(box.width() / 4, 0));
        QVERIFY(Save(*surface, "first-surface"));
        QCOMPARE(surface->Net().Rows(), 10);

        test->parentWidget()->close();
        QDir::temp().mkpath("Tavo");
        const QString saved = QDir::temp().filePath("Tavo/heating.rb");
        QFile::remove(saved);
        prompts_->FileNames = {saved};
        editor->ButtonSaveAs->click();
        QVERIFY2(QFile::exists(saved), qPrintable(Texts(*prompts_)));
        QCOMPARE(editor->FileName(), saved);
    }

    void mainWindowAndEditor() {
        for (QAction* item : {form_->mnBasicTerms, form_->mnModifiers})
            item->trigger();
        form_->resize(1000, 540);
        TFormInfUnit* editor = form_->OpenFileByName(Example("controller.rb"));
        QVERIFY(editor);
        editor->parentWidget()->setGeometry(8, 8, 880, 400);
        editor->ShowRulesPage();
        SelectRulesCell(*editor, 2, 3);
        QVERIFY(Save(*form_, "main-window"));

        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        QCOMPARE(editor->lbTypeOfUnit->text(), QString("Linguistic"));
        QVERIFY(Save(*editor->parentWidget(), "editor-general"));
    }

    void testWindowAndSurface() {
        TFormInfUnit* editor = form_->OpenFileByName(Example("controller.rb"));
        QVERIFY(editor);
        TMDIChild* test = PressTest(*editor);
        QVERIFY(test);
        test->parentWidget()->setGeometry(10, 10, 900, 640);
        test->InputPanels()[0]->SetCursor(0.3);
        test->InputPanels()[1]->SetCursor(0.6);
        QVERIFY(Save(*test->parentWidget(), "test-window"));
        test->btSurface->click();
        auto* surface = test->findChild<TFormSurface*>();
        QVERIFY(surface);
        surface->cbxSteps->setCurrentText("25");
        QCOMPARE(surface->Net().Rows(), 25);
        QVERIFY(Save(*surface, "surface"));
    }

    void rulesGrid() {
        TFormInfUnit* editor = form_->OpenFileByName(Example("controller.rb"));
        QVERIFY(editor);
        editor->parentWidget()->setGeometry(8, 8, 820, 470);
        editor->ShowRulesPage();
        TypeIntoRulesCell(*editor, 2, 3, "ve me");
        QCOMPARE(editor->RulesPage().CellCheck().message,
                 QString("hedge not applicable to this atomic term"));
        QVERIFY(Save(*editor->parentWidget(), "rules-bad-cell"));
        QTest::keyClick(editor->RulesPage().CellEditor(), Qt::Key_Escape);

        SetRules(*editor, {{"ve sm", "sm", "bi"},
                           {"ve sm", "sm", "bi"},
                           {"sm", "me", "me"},
                           {"sm", "me", "bi"},
                           {"bi", "bi", "bi"},
                           {"bi", "bi", "ve bi"},
                           {"ex sm", "ex sm", "ex bi"},
                           {"sm", "ex sm", "ex bi"}});
        editor->ShowRulesPage();
        SelectRulesCell(*editor, 1, 1);
        QCOMPARE(editor->RulesPage().CellText(4, 1), QString("same as 2."));
        QCOMPARE(editor->RulesPage().CellText(7, 7), QString("wrt 8"));
        QVERIFY(Save(*editor->parentWidget(), "rules-checks"));
    }

    // The manual's worked example with one input: linguistic learning, merging, the methods,
    // the F-transform; then approximate learning on user expressions.
    void workedExampleOneInput() {
        TFormInfUnit* editor = OpenForExample("noisy_sine");
        QVERIFY(editor);
        Import(*editor, *prompts_, Example("data/noisy_sine.txt"));
        QCOMPARE(prompts_->Messages.back().Text, QString("101 rows succesfully imported"));

        editor->DataPage().mnLearn1Click();
        QCOMPARE(prompts_->Messages.back().Text, QString("53 rules were added."));
        QVERIFY(QFile::exists(QDir::temp().filePath("Tavo/data/noisy_sine.rules")));
        Report("sine, linguistic learning, default methods", MaxError(*editor));
        editor->ShowRulesPage();
        form_->mnMergeInconsistent->trigger();
        QCOMPARE(editor->RuleBase().GetNumRules(), 21);
        QVERIFY(Save(*editor->parentWidget(), "example-sine-rules"));
        ChooseMethods(*editor, "Fuzzy Approximation (DNF) with Product",
                      "Simple Center Of Gravity (COG)");
        editor->DataPage().SetLinguisticApproximation(true);
        const double merged = MaxError(*editor);
        Report("sine, merged, DNF with product and COG", merged);
        QVERIFY(merged < 1.2);
        QVERIFY(Save(*editor->parentWidget(), "data-page"));

        TMDIChild* test = PressTest(*editor);
        QVERIFY(test);
        test->parentWidget()->setGeometry(20, 20, 900, 600);
        test->InputPanels()[0]->SetCursor(0.27);
        QVERIFY(Save(*test->parentWidget(), "example-sine-test"));
        test->parentWidget()->close();

        prompts_->Dialogs = {[](QDialog& dialog) {
            auto& settings = dynamic_cast<TFTransformSettingsDialog&>(dialog);
            settings.adjustSize();
            Save(settings, "ftransform-settings");
            return int(QDialog::Accepted);
        }};
        editor->DataPage().mnFTransformClick();
        const double transform = editor->DataPage().MaxError().toDouble();
        Report("sine, F-transform of 10 triangular nodes", transform);
        QVERIFY(transform < merged);

        prompts_->Dialogs = {[](QDialog& dialog) {
            auto& settings = dynamic_cast<TFTransformSettingsDialog&>(dialog);
            settings.cbOptimize->setChecked(true);
            settings.edMaxErrorValue->setText("0.4");
            settings.cbOutputToFile->setChecked(true);
            settings.btOK->click();
            return settings.result();
        }};
        const QString vector = QDir::temp().filePath("Tavo/data/noisy_sine.ftv");
        QFile::remove(vector);
        prompts_->FileNames = {vector};
        editor->DataPage().mnFTransformClick();
        const double optimised = editor->DataPage().MaxError().toDouble();
        const int nodes = editor->FTransformSettings()[0].nodes;
        Report("sine, F-transform optimised to 0.4, nodes " + QString::number(nodes), optimised);
        QVERIFY(optimised < 0.4);
        QCOMPARE(NodesOf(vector), nodes);

        // Approximate learning, from the start again, on uniform user expressions.
        editor->SetModified(false);
        editor->parentWidget()->close();
        editor = OpenForExample("noisy_sine");
        Import(*editor, *prompts_, Example("data/noisy_sine.txt"));
        GiveUniformExpressions(*editor, 0, 11, true);
        GiveUniformExpressions(*editor, -1, 9, false);
        editor->DataPage().ApproxLearningClick();
        QCOMPARE(prompts_->Messages.back().Text, QString("23 rules were added."));
        ChooseMethods(*editor, "Fuzzy Approximation (DNF) with Minimum",
                      "Simple Center Of Gravity (COG)");
        const double approximate = MaxError(*editor);
        Report("sine, approximate learning, DNF with minimum and COG", approximate);
        QVERIFY(approximate < 0.7);
        test = PressTest(*editor);
        QVERIFY(test);
        test->parentWidget()->setGeometry(20, 20, 900, 600);
        test->InputPanels()[0]->SetCursor(0.27);
        QVERIFY(Save(*test->parentWidget(), "example-sine-approximate"));
        test->parentWidget()->close();
    }

    void workedExampleTwoInputs() {
        TFormInfUnit* editor = OpenForExample("noisy_surface");
        QVERIFY(editor);
        Import(*editor, *prompts_, Example("data/noisy_surface.txt"));
        QCOMPARE(prompts_->Messages.back().Text, QString("441 rows succesfully imported"));
        editor->DataPage().mnLearn1Click();
        QCOMPARE(prompts_->Messages.back().Text, QString("395 rules were added."));
        Report("surface, linguistic learning, default methods", MaxError(*editor));
        editor->DataPage().mnFTransformClick();
        const double transform = editor->DataPage().MaxError().toDouble();
        Report("surface, F-transform of 10 by 10 nodes", transform);
        QVERIFY(transform < 1.5);

        editor->SetModified(false);
        editor->parentWidget()->close();
        editor = OpenForExample("noisy_surface");
        Import(*editor, *prompts_, Example("data/noisy_surface.txt"));
        GiveUniformExpressions(*editor, 0, 7, false);
        GiveUniformExpressions(*editor, 1, 7, false);
        GiveUniformExpressions(*editor, -1, 9, false);
        editor->DataPage().ApproxLearningClick();
        QCOMPARE(prompts_->Messages.back().Text, QString("117 rules were added."));
        ChooseMethods(*editor, "Fuzzy Approximation (DNF) with Minimum",
                      "Simple Center Of Gravity (COG)");
        Report("surface, approximate learning, DNF with minimum and COG", MaxError(*editor));

        TMDIChild* test = PressTest(*editor);
        QVERIFY(test);
        test->btSurface->click();
        auto* surface = test->findChild<TFormSurface*>();
        QVERIFY(surface);
        surface->cbxSteps->setCurrentText("21");
        QCOMPARE(surface->Net().Rows(), 21);
        QVERIFY(Save(*surface, "example-surface"));
        test->parentWidget()->close();
    }

    void applicationIcon() {
        const QPixmap icon = ApplicationGlyph().pixmap(QSize(64, 64), 1.0);
        QCOMPARE(icon.size(), QSize(64, 64));
        QVERIFY(QDir().mkpath(QString(TAVO_ARTIFACT_DIR) + "/installation"));
        QVERIFY(icon.save(QString(TAVO_ARTIFACT_DIR) + "/installation/tavo.png"));
    }
};

QTEST_MAIN(ManualPicturesTest)
#include "ManualPicturesTest.moc"
