#include "desktop/TRulesPage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>

#include <algorithm>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/TFormInfUnit.h"
#include "desktop/toolkit/TStringGrid.h"

namespace {

int DecimalDigits(int n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

// Room for the active-rule image at the right of the rule number.
constexpr int kRuleImageWidth = 16;
constexpr int kCheckColumnCount = 4;

}  // namespace

TRulesPage::TRulesPage(TFormInfUnit& form) : form_(form) {
    TStringGrid& grid = *form_.StringGridRules;
    grid.OnSelectCell = [this](int col, int) {
        if (!gridReady_)
            return true;
        const CRuleBase& ruleBase = form_.RuleBase();
        if (col > ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables())
            return false;
        return CurrentCellValid();
    };
    grid.OnSetEditText = [this](int, int, const QString&) { form_.MarkModified(); };
    grid.OnDrawCell = [this](int col, int row, const QRect& rect, TGridDrawState,
                             QPainter& painter) {
        if (row > 0 && col == form_.RuleBase().GetNumAntVariables())
            painter.fillRect(rect.right() - 1, rect.top(), 2, rect.height() + 1, Qt::black);
    };
}

TRulesPage::~TRulesPage() = default;

void TRulesPage::FillRulesGrid() {
    TStringGrid& grid = *form_.StringGridRules;
    const CRuleBase& ruleBase = form_.RuleBase();
    const int inputs = ruleBase.GetNumAntVariables();
    const int outputs = ruleBase.GetNumSucVariables();
    const int rules = ruleBase.GetNumRules();
    const int variables = inputs + outputs;
    gridReady_ = false;
    grid.SetEditorMode(false);
    grid.SetColCount(variables + 1 + kCheckColumnCount);
    grid.SetRowCount(rules + 1);
    grid.SetColWidths(
        0, grid.TextWidth("0") * DecimalDigits(rules) + 6 + grid.TextWidth(".") + kRuleImageWidth);
    const int minimumWidth = grid.TextWidth("  -ex sm  ");
    QStringList inputNames;
    QStringList outputNames;
    for (int c = 1; c <= variables; ++c) {
        const int index = c <= inputs ? c - 1 : inputs - c;
        const QString name = QString::fromStdString(ruleBase.GetVariableName(index));
        grid.SetCells(c, 0, name);
        (c <= inputs ? inputNames : outputNames) << name;
        if (form_.VariablesChanged())
            grid.SetColWidths(c, std::max(grid.TextWidth(name) + 6, minimumWidth));
    }
    const char* const headers[kCheckColumnCount] = {"Group", "Inconsistency", "Redundant suc",
                                                    "Redundant ant"};
    const char* const widest[kCheckColumnCount] = {"same as 000,", "inconsist with 000,",
                                                   "redundant with 000,", "redundant with 000,"};
    for (int k = 0; k < kCheckColumnCount; ++k) {
        if (form_.VariablesChanged())
            grid.SetColWidths(variables + 1 + k, grid.TextWidth(widest[k]));
        grid.SetCells(variables + 1 + k, 0, headers[k]);
    }
    form_.SetVariablesChanged(false);
    for (int r = 0; r < rules; ++r) {
        grid.SetCells(0, r + 1, QString::number(r + 1) + '.');
        grid.SetObjects(0, r + 1, ruleBase.IsRuleActive(r) ? 1 : 0);
        for (int c = 1; c <= variables; ++c) {
            const std::string& text = c <= inputs ? ruleBase.GetAntExpression(c - 1, r)
                                                  : ruleBase.GetSucExpression(c - 1 - inputs, r);
            grid.SetCells(c, r + 1, QString::fromStdString(text));
        }
        for (int k = 0; k < kCheckColumnCount; ++k)
            grid.SetCells(variables + 1 + k, r + 1, {});
    }
    gridReady_ = true;
    form_.lbRuleForm->setText(inputNames.join(" & ") + " --> " + outputNames.join(" & "));
}

void TRulesPage::StoreRulesFromGrid() {
    TStringGrid& grid = *form_.StringGridRules;
    CRuleBase& ruleBase = form_.RuleBase();
    const int variables = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables();
    if (grid.ColCount() < variables + 1)
        return;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> active;
    for (int r = 1; r < grid.RowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 1; c <= variables; ++c) {
            const QString text = grid.Cells(c, r);
            if (text.isEmpty())
                break;
            cells.push_back(text.toStdString());
        }
        if (static_cast<int>(cells.size()) == variables) {
            rows.push_back(std::move(cells));
            active.push_back(grid.Objects(0, r) != 0);
        }
    }
    const int n = static_cast<int>(rows.size());
    static const char kActive[] = "1";
    std::vector<const char*> table(static_cast<std::size_t>(variables + 1) * n);
    for (int r = 0; r < n; ++r) {
        table[r] = active[r] ? kActive : nullptr;
        for (int c = 0; c < variables; ++c)
            table[static_cast<std::size_t>(c + 1) * n + r] = rows[r][c].c_str();
    }
    ruleBase.SetRulesByColumns(table, n);
    try {
        ruleBase.Prepare();
    } catch (const ESyntaxRB&) {
        // Cells that do not build stay as texts; the grid's checks report them.
    }
}

bool TRulesPage::CurrentCellValid() {
    TStringGrid& grid = *form_.StringGridRules;
    const CRuleBase& ruleBase = form_.RuleBase();
    const int inputs = ruleBase.GetNumAntVariables();
    const int col = grid.Col();
    const QString text = grid.Cells(col, grid.Row());
    if (text.isEmpty() || col < 1 || col > inputs + ruleBase.GetNumSucVariables())
        return true;
    const int index = col <= inputs ? col - 1 : inputs - col;
    const std::optional<ESyntax> error =
        ruleBase.GetSettings(index).CheckExpression(text.toStdString());
    if (!error) {
        form_.LabelErrorMessage->clear();
        form_.LabelGoodPart->clear();
        form_.LabelBadPart->clear();
        return true;
    }
    form_.LabelErrorMessage->setText(QString::fromStdString(error->Message()));
    if (error->Position() != -2) {
        form_.LabelGoodPart->setText(text.left(error->Position()));
        form_.LabelBadPart->setText(text.mid(error->Position()));
    }
    return false;
}

bool TRulesPage::AllRulesComplete() {
    TStringGrid& grid = *form_.StringGridRules;
    if (!CurrentCellValid()) {
        form_.ShowRulesPage();
        grid.setFocus();
        return false;
    }
    const CRuleBase& ruleBase = form_.RuleBase();
    const int variables = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables();
    if (grid.ColCount() < variables + 1)
        return true;
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = 1; c <= variables; ++c) {
            if (!grid.Cells(c, r).isEmpty())
                continue;
            grid.SetEditorMode(false);
            form_.ShowRulesPage();
            grid.setFocus();
            grid.SetSelection({c, r, c, r});
            return false;
        }
    }
    return true;
}

bool TRulesPage::GridFocused() const {
    const QWidget* active = form_.ActiveControl();
    const TStringGrid* grid = form_.StringGridRules;
    return active && (active == grid || active->parentWidget() == grid->viewport());
}

void TRulesPage::TabSheetRulesEnter() {
    FillRulesGrid();
}

bool TRulesPage::PageControlChanging() {
    if (!AllRulesComplete())
        return false;
    StoreRulesFromGrid();
    return true;
}

void TRulesPage::InsertWord(const QString& word) {
    if (!form_.ShowsRulesPage())
        return;
    TStringGrid& grid = *form_.StringGridRules;
    const CRuleBase& ruleBase = form_.RuleBase();
    const int inputs = ruleBase.GetNumAntVariables();
    const TGridRect selection = grid.Selection();
    const int col = selection.Left;
    const int row = selection.Top;
    if (col < 1 || col > inputs + ruleBase.GetNumSucVariables() || row < 1)
        return;
    const int index = col <= inputs ? col - 1 : inputs - col;
    const auto* settings = dynamic_cast<const CBasicSettings*>(&ruleBase.GetSettings(index));
    if (!settings)
        return;
    grid.SetCells(col, row,
                  QString::fromStdString(settings->CombineExpressions(
                      grid.Cells(col, row).toStdString(), word.toStdString())));
    form_.ShowRulesPage();
    grid.setFocus();
    grid.SetEditorMode(true);
    form_.MarkModified();
}

void TRulesPage::MoveToNextCell() {
    if (!form_.ShowsRulesPage())
        return;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(form_.StringGridRules, &tab);
}

void TRulesPage::PushUndoSnapshot() {}
void TRulesPage::UndoRuleEdit() {}
void TRulesPage::RedoRuleEdit() {}

void TRulesPage::RulesInfoClick(int tag) {
    TStringGrid& grid = *form_.StringGridRules;
    const CRuleBase& ruleBase = form_.RuleBase();
    const int col = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables() + 1 + tag;
    QAction* items[kCheckColumnCount] = {form_.mnShowGroup, form_.mnShowConsistency,
                                         form_.mnShowRedundancy, form_.mnShowRedundancyAnt};
    QAction* item = items[tag];
    if (item->isChecked())
        grid.SetColWidths(col, -1);
    item->setChecked(!item->isChecked());
}

void TRulesPage::ButtonAddRuleClick() {
    TStringGrid& grid = *form_.StringGridRules;
    if (!CurrentCellValid())
        return;
    const int after = std::max(1, grid.Selection().Top);
    grid.InsertRows(after + 1, 1);
    grid.SetObjects(0, after + 1, 1);
    for (int r = 1; r < grid.RowCount(); ++r)
        grid.SetCells(0, r, QString::number(r) + '.');
    grid.FocusCell(1, after + 1);
    grid.setFocus();
    form_.MarkModified();
}

void TRulesPage::ButtonDeleteRuleClick() {
    TStringGrid& grid = *form_.StringGridRules;
    const TGridRect selection = grid.Selection();
    const int top = std::max(1, selection.Top);
    const int count = selection.Bottom - top + 1;
    if (count <= 0 || grid.RowCount() <= count + 1 || !CurrentCellValid())
        return;
    grid.DeleteRows(top, count);
    for (int r = 1; r < grid.RowCount(); ++r)
        grid.SetCells(0, r, QString::number(r) + '.');
    form_.MarkModified();
}

void TRulesPage::CopyRules() {}
void TRulesPage::CutRules() {}
void TRulesPage::PasteRules() {}
void TRulesPage::DeleteRules() {}
void TRulesPage::DeleteEmptyRules() {}
void TRulesPage::DeleteDuplicateRules() {}
void TRulesPage::DeleteRedundantRules() {}
void TRulesPage::MergeInconsistentRules() {}
void TRulesPage::MergeRules() {}
void TRulesPage::DuplicateRules() {}
void TRulesPage::InvertSign() {}
