#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyParamSet.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/TStringGrid.h"
#include "desktop/userterms/TUserTerms.h"
#include "desktop/userterms/UserTermCells.h"
#include "desktop/userterms/UserTermPaintBox.h"
#include "desktop/variables/TDlgAddVar.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>

using userterm::PlotItem;

namespace {

std::unique_ptr<CNamedTerm> Term(const std::string& name, UserTermShape shape,
                                 std::vector<double> params, double lo, double hi) {
    auto set = CreateShapeSet(shape, lo, hi);
    set->SetParams(params);
    return std::make_unique<CNamedTerm>(std::vector<std::string>{name}, std::move(set));
}

// The parameters as the settings keep them: in the rulebase file's single precision.
std::vector<double> Params(const CNamedTerm& term) {
    const auto& set = dynamic_cast<const CFuzzyParamSet&>(term.Element());
    std::vector<double> params(static_cast<std::size_t>(set.ParamCount()));
    set.GetParams(params);
    return params;
}

QStringList Row(const TStringGrid& grid, int row) {
    QStringList cells;
    for (int col = 1; col <= 8; ++col)
        cells << grid.Cells(col, row);
    return cells;
}

// Plays the person in the expressions editor: names row row anew and ends with OK or Cancel.
std::function<int(QDialog&)> Rename(int row, const QString& name, bool ok) {
    return [row, name, ok](QDialog& dialog) {
        auto& form = static_cast<TUserTerms&>(dialog);
        form.show();
        form.EditUserTerms->FocusCell(1, row);
        form.EditUserTerms->SetCells(1, row, name);
        ok ? form.btnOkTermsClick() : form.btnCancelTermsClick();
        return form.result();
    };
}

// user_terms.rb, its text changed from one text to another.
QString CopyOfExample(const QTemporaryDir& folder, const QByteArray& from = "",
                      const QByteArray& to = "") {
    QFile example(TAVO_EXAMPLES "/user_terms.rb");
    QFile copy(folder.filePath("user_terms.rb"));
    if (example.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
        copy.write(from.isEmpty() ? example.readAll() : example.readAll().replace(from, to));
    return copy.fileName();
}

}  // namespace

class TUserTermsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CLinguisticSettings> settings_;
    std::set<QString> used_;
    std::vector<std::pair<std::string, std::string>> renames_;
    int marks_ = 0;
    QStringList copied_;

    void MakeSettings(double lo, double hi) {
        settings_ = std::make_unique<CLinguisticSettings>(lo, hi);
        settings_->UpdateSymmetry();
    }

    // Runs the editor over the settings; play acts as the person and says whether to press OK.
    void Run(ScriptedPrompts& prompts, const std::function<bool(TUserTerms&)>& play) {
        prompts.Dialogs.push_back([&play](QDialog& dialog) {
            auto& form = static_cast<TUserTerms&>(dialog);
            form.show();
            if (play(form))
                form.btnOkTermsClick();
            else
                form.btnCancelTermsClick();
            return form.result();
        });
        UserTermsOwner owner;
        owner.Settings = settings_.get();
        owner.VariableIndex = 0;
        owner.IsExpressionUsed = [this](const QString& text, int) { return used_.count(text) > 0; };
        owner.MarkModified = [this] { ++marks_; };
        owner.RenameInRules = [this](const std::map<std::string, std::string>& renames) {
            renames_.insert(renames_.end(), renames.begin(), renames.end());
        };
        owner.CopiedRows = &copied_;
        TUserTerms form;
        form.Execute(owner);
    }

    std::vector<QRect> Markers(const UserTermPaintBox& box) {
        std::vector<QRect> markers;
        for (const PlotItem& item : box.Scene().items)
            if (item.kind == PlotItem::Kind::Marker)
                markers.push_back(item.rect);
        return markers;
    }

  private slots:
    void init() {
        MakeSettings(0, 1);
        used_.clear();
        renames_.clear();
        marks_ = 0;
        copied_.clear();
    }

    void generalFormatRoundsHalfAwayFromZero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("text");
        QTest::newRow("half up") << 0.3125 << 3 << "0.313";
        QTest::newRow("half up odd") << 0.6875 << 3 << "0.688";
        QTest::newRow("cut") << 0.12345 << 3 << "0.123";
        QTest::newRow("negative") << -0.0625 << 3 << "-0.0625";
        QTest::newRow("carry") << 9.996 << 3 << "10";
        QTest::newRow("exponent") << 1234.0 << 3 << "1.23E3";
        QTest::newRow("tiny") << 0.000001 << 3 << "1E-6";
        QTest::newRow("whole") << 100.0 << 3 << "100";
        QTest::newRow("full") << 0.1 << 15 << "0.1";
        QTest::newRow("eighth") << 0.875 << 15 << "0.875";
    }
    void generalFormatRoundsHalfAwayFromZero() {
        QFETCH(double, value);
        QFETCH(int, precision);
        QFETCH(QString, text);
        QCOMPARE(userterm::FormatGeneral(value, precision), text);
    }

    void placeholderRowIsTakenByTheFirstExpression() {
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            [&] {
                QCOMPARE(grid.RowCount(), 2);
                QVERIFY(form.HasPlaceholder());
                QVERIFY(!(grid.Options() & goEditing));
                form.btnDeleteTermClick();
                QCOMPARE(grid.RowCount(), 2);
                QVERIFY(form.FuzzySetPaintBox->Scene().items.empty());
                form.btnAddTriangClick();
                QCOMPARE(grid.RowCount(), 2);
                QVERIFY(!form.HasPlaceholder());
                QCOMPARE(Row(grid, 1), QStringList({"expression1", "triang", "0.125", "", "0.5", "",
                                                    "", "0.875"}));
                form.btnAddGaussianClick();
                QCOMPARE(Row(grid, 2), QStringList({"expression2", "gaussian", "", "0.1", "0.375",
                                                    "0.625", "0.1", ""}));
                QCOMPARE(grid.Cells(0, 2), QString("2."));
            }();
            return true;
        });
        QCOMPARE(settings_->Terms().size(), std::size_t{2});
        QCOMPARE(settings_->Terms()[1]->Element().GetTypeName(), std::string_view("gaussian"));
    }

    void uniformExpressions() {
        ScriptedPrompts prompts;
        prompts.Inputs = {"5", "5", "1", "22"};
        Run(prompts, [](TUserTerms& form) {
            for (int i = 0; i < 4; ++i)
                form.btnAddPilaClick();
            return true;
        });
        QCOMPARE(prompts.InputRequests.at(0).Prompt,
                 QString("Enter number of expressions (2 - 21):"));
        QCOMPARE(prompts.InputRequests.at(0).Value, QString("7"));
        QCOMPARE(prompts.Messages.size(), std::size_t{3});
        QCOMPARE(prompts.Messages[0].Text, QString("One or more of expressions already exists."));
        QCOMPARE(prompts.Messages[1].Text, QString("Number of expressions out of range"));
        QCOMPARE(prompts.Messages[2].Text, QString("Number of expressions out of range"));
        QCOMPARE(prompts.Messages[2].Caption, QString("Wrong input"));
        const std::vector<std::vector<double>> expected = {
            {0, 0, 0.25}, {0, 0.25, 0.5}, {0.25, 0.5, 0.75}, {0.5, 0.75, 1}, {0.75, 1, 1}};
        QCOMPARE(settings_->Terms().size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            QCOMPARE(settings_->Terms()[k]->Name(), "p5_" + std::to_string(k));
            QCOMPARE(Params(*settings_->Terms()[k]), expected[k]);
        }

        MakeSettings(-1, 1);
        ScriptedPrompts symmetric;
        symmetric.Inputs = {"4"};
        Run(symmetric, [](TUserTerms& form) {
            form.btnAddPilaClick();
            return true;
        });
        QCOMPARE(symmetric.Messages.at(0).Text,
                 QString("Number of expressions for symetrical variable must be odd value"));
        QVERIFY(settings_->Terms().empty());
    }

    void shapeChangesKeepThreeDigits() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        settings_->AddTerm(
            Term("q", UserTermShape::kQuadratic, {0.1, 0.12345, 0.3, 0.4, 0.5, 0.6}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            [&] {
                QCOMPARE(grid.Cells(4, 2), QString("0.123"));
                QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                                  grid.CellRect(1, 1).center());
                QCOMPARE(form.CurrentRow(), 1);
                form.pmChangeTypePopup();
                QVERIFY(!form.mnChangeToTriangular->isEnabled());
                form.mnChangeToTrapezoidClick();
                QCOMPARE(Row(grid, 1),
                         QStringList({"t", "trapezoid", "0.2", "", "0.425", "0.575", "", "0.8"}));
                form.mnChangeToQuadraticClick();
                QCOMPARE(grid.Cells(4, 1), QString("0.313"));
                QCOMPARE(grid.Cells(7, 1), QString("0.688"));
                form.mnChangeToTriangularClick();
                QCOMPARE(Row(grid, 1),
                         QStringList({"t", "triang", "0.2", "", "0.5", "", "", "0.8"}));
            }();
            return true;
        });
        QCOMPARE(marks_, 1);
        QCOMPARE(Params(*settings_->Terms()[1])[1], double(0.123f));
    }

    void cancelLeavesTheExpressionsAlone() {
        settings_->AddTerm(
            Term("q", UserTermShape::kQuadratic, {0.1, 0.12345, 0.3, 0.4, 0.5, 0.6}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            form.btnAddTermClick();
            form.btnDeleteTermClick();
            form.btnDeleteTermClick();
            return false;
        });
        QCOMPARE(marks_, 0);
        QCOMPARE(settings_->Terms().size(), std::size_t{1});
        QCOMPARE(Params(*settings_->Terms()[0])[1], double(0.12345f));
    }

    void refusalsKeepTheCursor() {
        settings_->AddTerm(
            Term("q", UserTermShape::kQuadratic, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6}, 0, 1));
        settings_->AddTerm(Term("g", UserTermShape::kGaussian, {0.1, 0.3, 0.6, 0.1}, 0, 1));
        settings_->AddTerm(Term("used", UserTermShape::kTriang, {0.1, 0.3, 0.6}, 0, 1));
        used_ = {"used"};
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            const auto refused = [&](int col, int row, const QString& text) {
                QVERIFY(grid.FocusCell(col, row));
                grid.SetCells(col, row, text);
                QVERIFY(!grid.FocusCell(1, 3));
                QCOMPARE(grid.Col(), col);
                QCOMPARE(grid.Row(), row);
            };
            [&] {
                refused(5, 1, "0.15");
                grid.SetCells(5, 1, "0.3");
                refused(3, 1, "1.5");
                grid.SetCells(3, 1, "0.1");
                refused(4, 2, "0");
                grid.SetCells(4, 2, "0.1");
                refused(1, 1, "very small");
                refused(1, 1, "g");
                refused(1, 1, "#j,");
                grid.SetCells(1, 1, "q");
                QVERIFY(grid.FocusCell(1, 3));
                QCOMPARE(grid.Cells(9, 3), QString("U"));
                form.btnDeleteTermClick();
                QCOMPARE(grid.RowCount(), 4);
            }();
            return true;
        });
        QStringList texts;
        for (const auto& message : prompts.Messages)
            texts << message.Text;
        QCOMPARE(texts, QStringList({"Value is less than previous parameter",
                                     "Value is out of variable range",
                                     "Scale factor must be greater then zero",
                                     "Expression already exists", "Expression already exists",
                                     "Expression name \"#j,\" cannot be kept in a rulebase file: "
                                     "use letters, digits and signs without a comma, and no "
                                     "blank at its start or end.",
                                     "Cannot delete expression used in description."}));
    }

    void tabStopsFollowTheShape() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        settings_->AddTerm(Term("g", UserTermShape::kGaussian, {0.05, 0.3, 0.4, 0.1}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            const auto tabs = [&](Qt::KeyboardModifiers modifiers, int count) {
                QList<int> cols;
                for (int i = 0; i < count; ++i) {
                    QTest::keyClick(&grid, Qt::Key_Tab, modifiers);
                    cols << grid.Col() + 10 * grid.Row();
                }
                return cols;
            };
            [&] {
                QVERIFY(grid.FocusCell(2, 1));
                QVERIFY(!(grid.Options() & goEditing));
                QCOMPARE(tabs({}, 4), QList<int>({13, 15, 18, 21}));
                QVERIFY(grid.Options() & goEditing);
                QCOMPARE(tabs({}, 4), QList<int>({24, 25, 26, 27}));
                QCOMPARE(tabs(Qt::ShiftModifier, 3), QList<int>({26, 25, 24}));
            }();
            return true;
        });
    }

    void renamingPassesToTheRules() {
        settings_->AddTerm(Term("a", UserTermShape::kTriang, {0.1, 0.3, 0.6}, 0, 1));
        settings_->AddTerm(Term("b", UserTermShape::kTriang, {0.1, 0.3, 0.6}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            form.EditUserTerms->FocusCell(1, 2);
            form.EditUserTerms->SetCells(1, 2, "bee");
            return true;
        });
        QCOMPARE(renames_.size(), std::size_t{1});
        QCOMPARE(renames_[0], std::make_pair(std::string("b"), std::string("bee")));
        QCOMPARE(settings_->Terms()[1]->Name(), std::string("bee"));
    }

    void copiedRowsPasteUnderNewNames() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [this](TUserTerms& form) {
            form.EditUserTerms->FocusCell(1, 1);
            form.CopyRows();
            form.PasteRows();
            form.PasteRows();
            return true;
        });
        QCOMPARE(copied_, QStringList({"t;triang;0.2;;0.5;;;0.8;"}));
        QCOMPARE(settings_->Terms().size(), std::size_t{3});
        QCOMPARE(settings_->Terms()[1]->Name(), std::string("t_2"));
        QCOMPARE(settings_->Terms()[2]->Name(), std::string("t_1"));
        QCOMPARE(Params(*settings_->Terms()[2]), std::vector<double>({0.2f, 0.5f, 0.8f}));
    }

    void dragMovesTheNearestPoint() {
        settings_->AddTerm(Term("z", UserTermShape::kTrapezoid, {0.2, 0.4, 0.6, 0.8}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            // A thousand pixels each way: one pixel per thousandth, degrees as far apart as values.
            form.FuzzySetPaintBox->setFixedSize(1050, 1060);
            const auto x = [](double v) { return static_cast<int>(25 + v * 1000 + 0.5); };
            const int top = 30;
            const auto params = [&] { return Row(grid, 1).mid(2); };
            [&] {
                grid.FocusCell(3, 1);
                form.DragPoint(x(0.1), top, {});
                QCOMPARE(params(), QStringList({"0.2", "", "0.4", "0.6", "", "0.8"}));
                form.DragPoint(x(0.3), top, Qt::ShiftModifier);
                QCOMPARE(params(), QStringList({"0.1", "", "0.3", "0.5", "", "0.7"}));
                form.DragPoint(x(0.6), top, Qt::ShiftModifier);
                QCOMPARE(params(), QStringList({"0.2", "", "0.4", "0.6", "", "0.8"}));
                form.DragPoint(x(0.9), top, Qt::ShiftModifier);
                QCOMPARE(params(), QStringList({"0.2", "", "0.4", "0.6", "", "1"}));
                form.DragPoint(0, 1030, {});
                QCOMPARE(params(), QStringList({"0", "", "0.4", "0.6", "", "1"}));
            }();
            return true;
        });
        QCOMPARE(Params(*settings_->Terms()[0]), std::vector<double>({0, 0.4f, 0.6f, 1}));
    }

    void editorWindowsRuleBaseKeepsItsRulesValid() {
        TemporaryRegistry store;
        TFormInfUnit editor(nullptr, TAVO_EXAMPLES "/user_terms.rb");
        editor.SetModified(false);
        UserTermsOwner owner = UserTermsOwnerOf(editor, 0);
        QCOMPARE(owner.VariableIndex, 0);
        QCOMPARE(UserTermsOwnerOf(editor, -1).VariableIndex, 2);
        ScriptedPrompts prompts;
        prompts.Dialogs.push_back([](QDialog& dialog) {
            auto& form = static_cast<TUserTerms&>(dialog);
            form.show();
            TStringGrid& grid = *form.EditUserTerms;
            [&] {
                QCOMPARE(grid.Cells(9, 1), QString("U"));
                QCOMPARE(Row(grid, 4),
                         QStringList({"comfortable", "gaussian", "", "20", "20", "23", "30", ""}));
                QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                                  grid.CellRect(1, 1).center());
                form.btnDeleteTermClick();
                QCOMPARE(grid.RowCount(), 5);
            }();
            form.btnOkTermsClick();
            return form.result();
        });
        TUserTerms form;
        form.Execute(owner);
        QVERIFY(editor.Modified());
        const auto& terms = owner.Settings->Terms();
        QCOMPARE(terms[0]->Names(), std::vector<std::string>({"freezing", "fr"}));
        QCOMPARE(terms[3]->Names(), std::vector<std::string>({"comfortable"}));
        QCOMPARE(editor.RuleBase().GetAntExpression(0, 1), std::string("fr or mi"));
        QVERIFY(!owner.Settings->CheckExpression("fr or mi"));
    }

    void variableDialogOpensTheEditorAndRenamesInTheRules() {
        TemporaryRegistry store;
        TDlgAddVar dialog;
        InstallVariableDialog(dialog);
        TFormInfUnit editor(nullptr, TAVO_EXAMPLES "/user_terms.rb");
        ScriptedPrompts prompts;
        prompts.Dialogs.push_back([](QDialog& shown) {
            auto& form = static_cast<TUserTerms&>(shown);
            form.show();
            form.EditUserTerms->FocusCell(1, 3);
            form.EditUserTerms->SetCells(1, 3, "warm");
            form.btnOkTermsClick();
            return form.result();
        });
        dialog.ModalLoop = [&] {
            dialog.btnEditTermsClick();
            dialog.OKBtnClick();
            return dialog.result();
        };
        editor.StringGridInputVar->FocusCell(0, 1);
        editor.ButtonEditInputVarClick();
        InstalledEditorSeams() = {};
        const auto& settings =
            dynamic_cast<const CBasicSettings&>(*editor.RuleBase().GetVariable(0).GetSettings());
        QCOMPARE(settings.Terms()[2]->Names(), std::vector<std::string>({"warm", "ho"}));
        QCOMPARE(editor.RuleBase().GetAntExpression(0, 4), std::string("warm"));
        QCOMPARE(editor.RuleBase().GetAntExpression(0, 5), std::string("ho or comfortable"));
    }

    // "comfortable" stands alone in rule 4 and inside "ho or comfortable" in rule 6. A rename
    // in the expressions editor reaches both on its OK, which marks the window modified; the
    // variable dialog's Cancel keeps it, and the expressions editor's Cancel leaves all as it was.
    void renamesReachEveryUseOnOk() {
        TemporaryRegistry store;
        QTemporaryDir folder;
        const QString file = CopyOfExample(folder);
        TDlgAddVar dialog;
        InstallVariableDialog(dialog);
        TFormInfUnit editor(nullptr, file);
        const RuleUndoStacks& undo = editor.RulesPage().Editor().UndoStacks();
        const CRuleBase& ruleBase = editor.RuleBase();
        ScriptedPrompts prompts;
        const auto edit = [&](const QString& name, bool expressionsOk, bool dialogOk) {
            prompts.Dialogs.push_back(Rename(4, name, expressionsOk));
            dialog.ModalLoop = [&] {
                dialog.btnEditTermsClick();
                if (dialogOk)
                    dialog.OKBtnClick();
                return dialog.result();
            };
            editor.StringGridInputVar->FocusCell(0, 1);
            editor.ButtonEditInputVarClick();
            return QString::fromStdString(ruleBase.GetAntExpression(0, 3) + " / " +
                                          ruleBase.GetAntExpression(0, 5));
        };
        const std::size_t steps = undo.UndoDepth();
        QCOMPARE(edit("cosy", false, false), QString("comfortable / ho or comfortable"));
        QVERIFY(!editor.Modified());
        QCOMPARE(edit("cosy", true, false), QString("cosy / ho or cosy"));
        QVERIFY(editor.Modified());
        QCOMPARE(ruleBase.GetVariable(0).GetSettings()->UserTerms()[3]->Name(),
                 std::string("cosy"));
        QCOMPARE(edit("snug", true, true), QString("snug / ho or snug"));
        InstalledEditorSeams() = {};
        // Undo takes back rule edits, never a rename: the old name is no term any more.
        QCOMPARE(undo.UndoDepth(), steps);
        editor.RulesPage().UndoRuleEdit();
        QCOMPARE(ruleBase.GetAntExpression(0, 3), std::string("snug"));
        QVERIFY(editor.Save());
        QCOMPARE(TFormInfUnit(nullptr, file).RuleBase().GetAntExpression(0, 5),
                 std::string("ho or snug"));
        QVERIFY(prompts.Messages.empty());
    }

    // With "mild or comfortable" in rule 4, "comfortable" is used only inside longer cells.
    void termsUsedInsideLongerCellsAreNotDeleted() {
        TemporaryRegistry store;
        QTemporaryDir folder;
        TFormInfUnit editor(nullptr, CopyOfExample(folder, "\"comfortable\" \"mu\"",
                                                   "\"mild or comfortable\" \"mu\""));
        ScriptedPrompts prompts;
        prompts.Dialogs.push_back([](QDialog& dialog) {
            auto& form = static_cast<TUserTerms&>(dialog);
            form.show();
            form.EditUserTerms->FocusCell(1, 4);
            form.btnDeleteTermClick();
            form.btnOkTermsClick();
            return form.result();
        });
        TUserTerms(nullptr).Execute(UserTermsOwnerOf(editor, 0));
        QCOMPARE(prompts.Captions(), QStringList({"Error"}));
        QCOMPARE(editor.RuleBase().GetVariable(0).GetSettings()->UserTerms().size(), 4u);
    }

    void deleteAndChangeTypeWaitForACurrentRow() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            form.btnDeleteTermClick();
            form.mnChangeToQuadraticClick();
            [&] {
                QCOMPARE(Row(*form.EditUserTerms, 1).mid(0, 3),
                         QStringList({"t", "triang", "0.2"}));
            }();
            return true;
        });
        QCOMPARE(settings_->Terms().size(), std::size_t{1});
    }

    // A bad number typed into a spread, then a Shift+click on the plot: this did end the program.
    void shiftClickAfterABadNumberMovesTheLastGoodOne() {
        settings_->AddTerm(Term("g", UserTermShape::kGaussian, {0.05, 0.3, 0.4, 0.1}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditUserTerms;
            // A thousand pixels per unit: of the kernel, 0.4 is nearest to a click at 0.5.
            form.FuzzySetPaintBox->setFixedSize(1050, 1060);
            [&] {
                QVERIFY(grid.FocusCell(4, 1));
                grid.SetEditorMode(true);
                QTest::keyClicks(grid.InplaceEditor(), "abc");
                QCOMPARE(grid.InplaceEditor()->palette().color(QPalette::Text), QColor(Qt::red));
                QVERIFY(!grid.FocusCell(5, 1));
                grid.grab().save(TAVO_ARTIFACT_DIR "/userterms-bad-number.png");
                QTest::mouseClick(form.FuzzySetPaintBox, Qt::LeftButton, Qt::ShiftModifier,
                                  QPoint(525, 30));
                QCOMPARE(Row(grid, 1).mid(2), QStringList({"", "0.15", "0.4", "0.5", "0.2", ""}));
            }();
            return true;
        });
        QCOMPARE(prompts.Messages.at(0).Text, QString("'abc' is not a valid floating point value"));
        QCOMPARE(Params(*settings_->Terms()[0]), std::vector<double>({0.15f, 0.4f, 0.5f, 0.2f}));
    }

    void plotsDrawEachShapeWhereItsParametersSay() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        settings_->AddTerm(Term("g", UserTermShape::kGaussian, {0.05, 0.3, 0.4, 0.1}, 0, 1));
        settings_->AddTerm(
            Term("q", UserTermShape::kQuadratic, {0.5, 0.6, 0.7, 0.8, 0.9, 1}, 0, 1));
        settings_->AddTerm(Term("z", UserTermShape::kTrapezoid, {0, 0.1, 0.2, 0.4}, 0, 1));
        // Centres of the markers in a box of 607 x 143: x = 25 + v * 557, degree 0.5 at y 72.
        const std::vector<std::vector<QPoint>> expected = {
            {{136, 113}, {303, 30}, {470, 113}},
            {{192, 30}, {247, 30}},
            {{303, 113}, {359, 72}, {414, 30}, {470, 30}, {526, 72}, {582, 113}},
            {{25, 113}, {80, 30}, {136, 30}, {247, 113}}};
        ScriptedPrompts prompts;
        Run(prompts, [&expected](TUserTerms& form) {
            const auto markers = [&] {
                std::vector<QPoint> centres;
                for (const PlotItem& item : form.FuzzySetPaintBox->Scene().items)
                    if (item.kind == PlotItem::Kind::Marker)
                        centres.push_back(item.rect.center());
                return centres;
            };
            [&] {
                QVERIFY(form.FuzzySetPaintBox->Scene().items.empty());
                QCOMPARE(form.FuzzySetPaintBox->size(), QSize(607, 143));
                for (int row = 1; row <= 4; ++row) {
                    const QRect cell = form.EditUserTerms->CellRect(1, row);
                    QTest::mouseClick(form.EditUserTerms->viewport(), Qt::LeftButton, {},
                                      cell.center());
                    QCOMPARE(markers(), expected[static_cast<std::size_t>(row - 1)]);
                    form.FuzzySetPanel->grab().save(
                        QString(TAVO_ARTIFACT_DIR "/userterms-row%1.png").arg(row));
                }
                // The grid hides scroll bars it no longer needs from the event loop.
                QCoreApplication::processEvents();
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-user-page.png");
                form.ExpressionPages->setCurrentIndex(1);
                form.EditStdTerms->FocusCell(1, 2);
                form.EditStdTermsMouseUp();
                QCOMPARE(form.EditStdTerms->Cells(1, 2), QString("ex sm"));
                QCOMPARE(form.EditStdTerms->RowCount(), 26);
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-standard.png");
            }();
            return false;
        });

        MakeSettings(-1, 1);
        ScriptedPrompts symmetric;
        Run(symmetric, [](TUserTerms& form) {
            TStringGrid& grid = *form.EditStdTerms;
            [&] {
                QCOMPARE(grid.RowCount(), 53);
                QCOMPARE(grid.Cells(1, 1), QString("+sm"));
                QCOMPARE(grid.Cells(1, 26), QString("-sm"));
                QCOMPARE(grid.Cells(1, 51), QString("ze"));
                QCOMPARE(grid.Cells(1, 52), QString("ro ze"));
                QCOMPARE(grid.Cells(3, 52), QString("-0.1"));
                form.ExpressionPages->setCurrentIndex(1);
                grid.FocusCell(1, 27);
                form.EditStdTermsMouseUp();
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-standard-symmetric.png");
            }();
            return false;
        });
    }
};

QTEST_MAIN(TUserTermsTest)
#include "TUserTermsTest.moc"
