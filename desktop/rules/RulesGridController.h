#pragma once

#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "desktop/rules/RulesEditor.h"
#include "desktop/toolkit/TStringGrid.h"

class CRuleBase;
class QAction;
class QLabel;

// The rules page's controls, owned by the editor window.
struct RulesGridControls {
    TStringGrid* StringGridRules = nullptr;
    QLabel* lbRuleForm = nullptr;
    QLabel* LabelErrorMessage = nullptr;
    QLabel* LabelGoodPart = nullptr;
    QLabel* LabelBadPart = nullptr;
    // mnShowGroup, mnShowConsistency, mnShowRedundancy, mnShowRedundancyAnt (tags 0-3).
    std::array<QAction*, RulesGridModel::kCheckColumnCount> ShowChecks{};
};

// What the rules grid asks of its editor window and the main window. Empty hooks do nothing
// (and the rules page counts as shown).
struct RulesGridHooks {
    std::function<void()> MarkModified;
    std::function<bool()> ShowsRulesPage;
    std::function<void()> ShowRulesPage;
    // The main window's Cut, Copy and Paste actions.
    std::function<void()> EnableClipboardActions;
    // The user-expression buttons of the main window's "User Terms" toolbar: the names of the
    // current column's user expressions; an empty list removes them.
    std::function<void(const QStringList& names)> ShowUserExpressionButtons;
    // The editor's progress bar and elapsed-time label.
    std::function<void(int maximum)> StartProgress;
    std::function<void(int position)> StepProgress;
    std::function<void()> EndProgress;
    // The editor's variables-changed flag: the next fill re-measures the columns.
    std::function<bool()> VariablesChanged;
    std::function<void()> ClearVariablesChanged;
};

// The handlers of the rules grid and the commands of the rules page: everything between the
// person, the grid widget and the rules' working copy (RulesEditor). The grid widget shows the
// working copy; edits typed into it come back through its events. An invalid expression never
// leaves its cell: moves, clicks, page changes and range commands refuse while the current
// cell fails its check, and the labels show the message with the good and the bad part.
class RulesGridController {
  public:
    RulesGridController(CRuleBase& ruleBase, const RulesGridControls& controls,
                        RulesGridHooks hooks);
    ~RulesGridController();
    RulesGridController(const RulesGridController&) = delete;
    RulesGridController& operator=(const RulesGridController&) = delete;

    RulesEditor& Editor() { return editor_; }

    void FillRulesGrid();
    void StoreRulesFromGrid();
    std::optional<ESyntax> CheckRuleCell(int column, int row) const;
    bool ValidateRuleCell(int column, int row);
    bool CurrentCellValid();
    // False, with the page shown and the cell selected, marked and its fault in the labels,
    // while the current cell is invalid or a row is incomplete.
    bool AllRulesComplete();
    // What keeps the window from closing (an invalid current cell, an incomplete row) or the
    // rules from a rulebase file (those, and any cell that the reader would refuse), naming the
    // rule and the variable; the rules page then shows that cell as AllRulesComplete does.
    std::optional<std::string> GoToCellHoldingTheWindow();
    std::optional<std::string> GoToCellKeepingTheRulesFromAFile();
    int RuleNumberColumnWidth(int ruleCount) const;

    void TabSheetRulesEnter();
    bool PageControlChanging();
    void TabSheetRulesExit();
    void StringGridRulesExit();
    void StringGridRulesKeyUp();
    void StringGridRulesSetEditText(int column, int row, const QString& text);
    bool StringGridRulesSelectCell(int column, int row);
    bool StringGridRulesKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void StringGridRulesMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                                  int y);
    void StringGridRulesMouseMove(int x, int y);
    void StringGridRulesDrawCell(int column, int row, const QRect& rect, QPainter& painter);

    void btnCheckConsClick();
    void RulesInfoClick(int tag);

    void ButtonAddRuleClick();
    void ButtonDeleteRuleClick();
    void DeleteRules();
    void CopyRules();
    void CutRules();
    void PasteRules();
    void DeleteEmptyRules();
    void DuplicateRules();
    void InvertSign();
    void InsertWord(const QString& word);
    void DeleteDuplicateRules();
    void DeleteRedundantRules();
    void MergeInconsistentRules();

    void ResetUndo();
    void PushUndoSnapshot();
    void UndoRuleEdit();
    void RedoRuleEdit();

    void ScrollToCurrentRow();
    void RemoveUserExpressionButtons();
    // The buttons of the column's variable; those shown already stay.
    void ShowUserExpressionButtons(int column);

  private:
    bool ShowsRulesPage() const;
    void MarkModified();
    // The working copy into the widget: everything, or the check columns only.
    void ShowGrid();
    void ShowCheckColumns();
    void ShowCellCheck(int column, int row, const std::optional<ESyntax>& error);
    // The cell whose expression fails, or none: drawn red, with a red dot for its row.
    void MarkBadCell(std::optional<QPoint> cell);
    // An invalid current cell, else the first incomplete row's empty cell.
    std::optional<RulesEditor::CellFault> CellHoldingTheGrid();
    void GoToCell(const RulesEditor::CellFault& fault);
    void SetRangeSelect(bool on);
    // The selection's rule rows, top first; nothing when it holds none.
    std::optional<std::pair<int, int>> RowRange() const;
    // The select-cell check for a move to column 0 of row: the current cell must be valid.
    bool MayLeaveCurrentCell();
    void SetCellText(int column, int row, const std::string& text);
    // Moves the current cell for the program, without the grid's select-cell check.
    void FocusCellQuietly(int column, int row);
    // After rows went: the current column in row, or in the last rule when row is beyond it.
    void FocusRuleRow(int row);
    void AfterRowCommand();
    // The whole-rule-base commands' start: a shown grid must be whole; a hidden one gives way to
    // the rule base.
    bool ReadyForRuleBaseCommand();
    // Selects the first pasted cell that fails its check, so that it is corrected first.
    void SelectFirstInvalidCell(int top, int bottom);
    QRect ActiveImageRect(const QRect& cell) const;
    void UpdateRuleNumbers();

    RulesEditor editor_;
    RulesGridControls controls_;
    RulesGridHooks hooks_;
    TStringGrid& grid_;
    bool gridReady_ = true;
    bool clipboardHoldsCellText_ = false;
    int anchorRow_ = 1;
    // Widths of the check columns before they were hidden.
    std::array<int, RulesGridModel::kCheckColumnCount> hiddenWidths_{};
    std::optional<std::uint64_t> shownCheckRevision_;
    // Active rule, inactive rule, rule with a bad cell.
    std::array<QPixmap, 3> activeRuleImages_;
    std::optional<QPoint> badCell_;
    QStringList shownUserExpressions_;
};
