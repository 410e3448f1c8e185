#include <QAbstractItemModelTester>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyParamSet.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/userterms/TUserTerms.h"
#include "desktop/userterms/UserTermCells.h"
#include "desktop/userterms/UserTermPaintBox.h"
#include "desktop/userterms/UserTermsModel.h"
#include "desktop/userterms/UserTermsView.h"
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

// Columns 1 to 8 of the grid's row (counted from 1) as the model holds them.
QStringList Row(const QAbstractItemModel& model, int row) {
    QStringList cells;
    for (int col = 0; col < 8; ++col)
        cells << model.index(row - 1, col).data().toString();
    return cells;
}

QString Cell(const QAbstractItemModel& model, int col, int row) {
    return model.index(row - 1, UserTermsModel::ModelColumn(col)).data().toString();
}

QPoint CellCentre(const QTableView& grid, int col, int row) {
    return grid.visualRect(grid.model()->index(row - 1, UserTermsModel::ModelColumn(col))).center();
}

// The person opens the current cell's editor, replaces its text and presses the key.
QLineEdit* Type(TUserTerms& form, const QString& text, Qt::Key key = Qt::Key_Return) {
    UserTermsView& grid = *form.EditUserTerms;
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    if (key != Qt::Key_unknown)
        QTest::keyClick(editor, key);
    return editor;
}

// Plays the person in the expressions editor: names row row anew and ends with OK or Cancel.
std::function<int(QDialog&)> Rename(int row, const QString& name, bool ok) {
    return [row, name, ok](QDialog& dialog) {
        auto& form = static_cast<TUserTerms&>(dialog);
        form.show();
        form.GoToCell(1, row);
        Type(form, name);
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

    void theFirstExpressionOfAnEmptyList() {
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            const UserTermsModel& model = form.Model();
            QAbstractItemModelTester tester(form.EditUserTerms->model());
            [&] {
                QCOMPARE(model.rowCount(), 0);
                form.btnDeleteTermClick();
                QCOMPARE(model.rowCount(), 0);
                QVERIFY(form.FuzzySetPaintBox->Scene().items.empty());
                form.btnAddTriangClick();
                QCOMPARE(model.rowCount(), 1);
                QCOMPARE(form.CurrentRow(), 1);
                QCOMPARE(Row(model, 1), QStringList({"expression1", "triang", "0.125", "", "0.5",
                                                     "", "", "0.875"}));
                form.btnAddGaussianClick();
                QCOMPARE(Row(model, 2), QStringList({"expression2", "gaussian", "", "0.1", "0.375",
                                                     "0.625", "0.1", ""}));
                QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString("2."));
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
            const UserTermsModel& model = form.Model();
            [&] {
                QCOMPARE(Cell(model, 4, 2), QString("0.123"));
                QTest::mouseClick(form.EditUserTerms->viewport(), Qt::LeftButton, {},
                                  CellCentre(*form.EditUserTerms, 1, 1));
                QCOMPARE(form.CurrentRow(), 1);
                form.pmChangeTypePopup();
                QVERIFY(!form.mnChangeToTriangular->isEnabled());
                form.mnChangeToTrapezoidClick();
                QCOMPARE(Row(model, 1),
                         QStringList({"t", "trapezoid", "0.2", "", "0.425", "0.575", "", "0.8"}));
                form.mnChangeToQuadraticClick();
                QCOMPARE(Cell(model, 4, 1), QString("0.313"));
                QCOMPARE(Cell(model, 7, 1), QString("0.688"));
                form.mnChangeToTriangularClick();
                QCOMPARE(Row(model, 1),
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
            const UserTermsModel& model = form.Model();
            // The person types the text and leaves with Tab, which the check refuses: the cell
            // stays current with its editor open; a click elsewhere is refused too.
            const auto refused = [&](int col, int row, const QString& text) {
                QVERIFY(form.GoToCell(col, row));
                Type(form, text, Qt::Key_Tab);
                QCOMPARE(QPoint(form.CurrentCol(), form.CurrentRow()), QPoint(col, row));
                QVERIFY(form.EditUserTerms->indexWidget(form.EditUserTerms->currentIndex()));
                QTest::keyClick(form.EditUserTerms->indexWidget(form.EditUserTerms->currentIndex()),
                                Qt::Key_Escape);
                QVERIFY(!form.GoToCell(1, 3));
                QCOMPARE(QPoint(form.CurrentCol(), form.CurrentRow()), QPoint(col, row));
            };
            [&] {
                refused(5, 1, "0.15");
                Type(form, "0.3");
                refused(3, 1, "1.5");
                Type(form, "0.1");
                refused(4, 2, "0");
                Type(form, "0.1");
                refused(1, 1, "very small");
                refused(1, 1, "g");
                refused(1, 1, "#j,");
                Type(form, "q");
                QVERIFY(form.GoToCell(1, 3));
                QCOMPARE(Cell(model, 9, 3), QString("U"));
                form.btnDeleteTermClick();
                QCOMPARE(model.rowCount(), 3);
            }();
            return true;
        });
        QStringList texts;
        for (const auto& message : prompts.Messages)
            texts << message.Text;
        const QString badName =
            "Expression name \"#j,\" cannot be kept in a rulebase file: use "
            "letters, digits and signs without a comma, and no blank at its "
            "start or end.";
        QCOMPARE(
            texts,
            QStringList({"Value is less than previous parameter",
                         "Value is less than previous parameter", "Value is out of variable range",
                         "Value is out of variable range", "Scale factor must be greater then zero",
                         "Scale factor must be greater then zero", "Expression already exists",
                         "Expression already exists", "Expression already exists",
                         "Expression already exists", badName, badName,
                         "Cannot delete expression used in description."}));
    }

    void tabStopsFollowTheShape() {
        settings_->AddTerm(Term("t", UserTermShape::kTriang, {0.2, 0.5, 0.8}, 0, 1));
        settings_->AddTerm(Term("g", UserTermShape::kGaussian, {0.05, 0.3, 0.4, 0.1}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            UserTermsView& grid = *form.EditUserTerms;
            const auto tabs = [&](Qt::KeyboardModifiers modifiers, int count) {
                QList<int> cols;
                for (int i = 0; i < count; ++i) {
                    QTest::keyClick(&grid, Qt::Key_Tab, modifiers);
                    cols << form.CurrentCol() + 10 * form.CurrentRow();
                }
                return cols;
            };
            const auto editable = [&] {
                return bool(grid.currentIndex().flags() & Qt::ItemIsEditable);
            };
            [&] {
                QVERIFY(form.GoToCell(2, 1));
                QVERIFY(!editable());
                QCOMPARE(tabs({}, 4), QList<int>({13, 15, 18, 21}));
                QVERIFY(editable());
                QCOMPARE(tabs({}, 4), QList<int>({24, 25, 26, 27}));
                QCOMPARE(tabs(Qt::ShiftModifier, 3), QList<int>({26, 25, 24}));
                // Tab in an open editor commits it and opens the next stop's.
                Type(form, "0.35", Qt::Key_Tab);
                QCOMPARE(Cell(form.Model(), 4, 2), QString("0.35"));
                QCOMPARE(form.CurrentCol() + 10 * form.CurrentRow(), 25);
                QVERIFY(grid.indexWidget(grid.currentIndex()));
                // Escape closes the editor and leaves the cell as it was.
                Type(form, "0.9", Qt::Key_Escape);
                QVERIFY(!grid.indexWidget(grid.currentIndex()));
                QCOMPARE(Cell(form.Model(), 5, 2), QString("0.3"));
            }();
            return true;
        });
    }

    void renamingPassesToTheRules() {
        settings_->AddTerm(Term("a", UserTermShape::kTriang, {0.1, 0.3, 0.6}, 0, 1));
        settings_->AddTerm(Term("b", UserTermShape::kTriang, {0.1, 0.3, 0.6}, 0, 1));
        ScriptedPrompts prompts;
        Run(prompts, [](TUserTerms& form) {
            form.GoToCell(1, 2);
            // OK takes the name from the open editor.
            Type(form, "bee", Qt::Key_unknown);
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
            form.GoToCell(1, 1);
            form.activateWindow();
            form.EditUserTerms->setFocus();
            [&] { QVERIFY(QTest::qWaitForWindowActive(&form)); }();
            QTest::keyClick(form.EditUserTerms, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(form.EditUserTerms, Qt::Key_V, Qt::ControlModifier);
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
            // A thousand pixels each way: one pixel per thousandth, degrees as far apart as values.
            form.FuzzySetPaintBox->setFixedSize(1050, 1060);
            const auto x = [](double v) { return static_cast<int>(25 + v * 1000 + 0.5); };
            const int top = 30;
            const auto params = [&] { return Row(form.Model(), 1).mid(2); };
            [&] {
                form.GoToCell(3, 1);
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
            const UserTermsModel& model = form.Model();
            [&] {
                QCOMPARE(Cell(model, 9, 1), QString("U"));
                QCOMPARE(Row(model, 4),
                         QStringList({"comfortable", "gaussian", "", "20", "20", "23", "30", ""}));
                QTest::mouseClick(form.EditUserTerms->viewport(), Qt::LeftButton, {},
                                  CellCentre(*form.EditUserTerms, 1, 1));
                form.btnDeleteTermClick();
                QCOMPARE(model.rowCount(), 4);
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
            form.GoToCell(1, 3);
            Type(form, "warm");
            form.btnOkTermsClick();
            return form.result();
        });
        dialog.ModalLoop = [&] {
            dialog.btnEditTermsClick();
            dialog.OKBtnClick();
            return dialog.result();
        };
        editor.TabSheetInputVar->SelectRow(0);
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
            editor.TabSheetInputVar->SelectRow(0);
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
            form.GoToCell(1, 4);
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
                QCOMPARE(Row(form.Model(), 1).mid(0, 3), QStringList({"t", "triang", "0.2"}));
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
            // A thousand pixels per unit: of the kernel, 0.4 is nearest to a click at 0.5.
            form.FuzzySetPaintBox->setFixedSize(1050, 1060);
            [&] {
                QVERIFY(form.GoToCell(4, 1));
                QLineEdit* editor = Type(form, "abc", Qt::Key_unknown);
                QVERIFY(editor);
                QCOMPARE(editor->palette().color(QPalette::Text), QColor(Qt::red));
                QVERIFY(!form.GoToCell(5, 1));
                form.EditUserTerms->grab().save(TAVO_ARTIFACT_DIR "/userterms-bad-number.png");
                QTest::mouseClick(form.FuzzySetPaintBox, Qt::LeftButton, Qt::ShiftModifier,
                                  QPoint(525, 30));
                QCOMPARE(Row(form.Model(), 1).mid(2),
                         QStringList({"", "0.15", "0.4", "0.5", "0.2", ""}));
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
                    QTest::mouseClick(form.EditUserTerms->viewport(), Qt::LeftButton, {},
                                      CellCentre(*form.EditUserTerms, 1, row));
                    QCOMPARE(markers(), expected[static_cast<std::size_t>(row - 1)]);
                    form.FuzzySetPanel->grab().save(
                        QString(TAVO_ARTIFACT_DIR "/userterms-row%1.png").arg(row));
                }
                // The grid hides scroll bars it no longer needs from the event loop.
                QCoreApplication::processEvents();
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-user-page.png");
                form.ExpressionPages->setCurrentIndex(1);
                QTest::mouseClick(form.EditStdTerms->viewport(), Qt::LeftButton, {},
                                  CellCentre(*form.EditStdTerms, 1, 2));
                QVERIFY(!form.StdSetPaintBox->Scene().items.empty());
                QCOMPARE(Cell(*form.EditStdTerms->model(), 1, 2), QString("ex sm"));
                QCOMPARE(form.EditStdTerms->model()->rowCount(), 25);
                QCOMPARE(form.EditStdTerms->model()->flags(form.EditStdTerms->currentIndex()) &
                             Qt::ItemIsEditable,
                         Qt::NoItemFlags);
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-standard.png");
            }();
            return false;
        });

        MakeSettings(-1, 1);
        ScriptedPrompts symmetric;
        Run(symmetric, [](TUserTerms& form) {
            const QAbstractItemModel& grid = *form.EditStdTerms->model();
            [&] {
                QCOMPARE(grid.rowCount(), 52);
                QCOMPARE(Cell(grid, 1, 1), QString("+sm"));
                QCOMPARE(Cell(grid, 1, 26), QString("-sm"));
                QCOMPARE(Cell(grid, 1, 51), QString("ze"));
                QCOMPARE(Cell(grid, 1, 52), QString("ro ze"));
                QCOMPARE(Cell(grid, 3, 52), QString("-0.1"));
                form.ExpressionPages->setCurrentIndex(1);
                form.EditStdTerms->setCurrentIndex(grid.index(26, 0));
                form.grab().save(TAVO_ARTIFACT_DIR "/userterms-standard-symmetric.png");
            }();
            return false;
        });
    }
};

QTEST_MAIN(TUserTermsTest)
#include "TUserTermsTest.moc"
