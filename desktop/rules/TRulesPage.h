#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "desktop/data/TDataProgress.h"
#include "desktop/rules/RulesEditor.h"

class EditorPageHost;
class QAbstractItemModel;
class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class RulesTableModel;
class RulesTableView;

// The "&Rules" page of an editor window: the rules grid (a table view over the rules' working
// copy), the rule form and check labels above and below it, and the Add and Delete buttons. It
// holds the commands that the main window forwards to the grid.
//
// The grid is the working copy of the rule base's rules (RulesEditor): a cell takes what the
// person typed when its editor commits, and the rules are stored into the rule base then, before
// the checks, when the page is left and before every command that reads them. An expression that
// fails the cell check never leaves its cell: moves, clicks, commits, page changes and the range
// commands refuse while the current cell holds one, and the labels show why; Escape gives the
// cell back the last text that was valid there. Cells are addressed in grid coordinates
// (RulesGridModel): columns 1.. are the variables, rows 1.. the rules.
class TRulesPage : public QWidget {
    Q_OBJECT

  public:
    // showChecks: the window's "Rules info" items mnShowGroup .. mnShowRedundancyAnt (tags 0-3);
    // progress and seconds: the window's progress bar and its label, for long commands.
    TRulesPage(EditorPageHost& window, const std::array<QAction*, 4>& showChecks,
               QProgressBar& progress, QLabel& seconds, QWidget* parent = nullptr);
    ~TRulesPage() override;

    RulesEditor& Editor() { return editor_; }
    // The grid and its model, for the person's events and for reading what the grid shows.
    RulesTableView& Grid();
    QAbstractItemModel& Model();

    QPoint CurrentCell() const;
    // What the grid shows there: the open editor's text in its cell.
    QString CellText(int column, int row) const;
    int RuleRowCount() const;
    // The open editor of the current cell, or null.
    QLineEdit* CellEditor() const;
    // The labels: the last check's message, the part of the text that reads and the rest.
    struct ShownCheck {
        QString message;
        QString goodPart;
        QString badPart;
    };
    ShownCheck CellCheck() const;
    QString RuleForm() const;

    // A move of the current cell as the person's click makes it: refused (false) while the
    // current cell fails its check, or for a cell that is none.
    bool SelectCell(int column, int row);
    // The current cell's editor, opened when it was closed, its text selected.
    QLineEdit* OpenCellEditor();

    // Grid from rule base, with its checks, and back; incomplete rows are not stored.
    void FillRulesGrid();
    void StoreRulesFromGrid();
    // Commits an open cell editor and stores the rules, so that what the rule base holds is what
    // the grid shows; false, with the labels saying why, while the open editor's text fails.
    bool CommitRules();
    // False when the current cell fails its check (its text in an open editor counts).
    bool CurrentCellValid();
    // False, with the page shown and the cell selected, while the current cell is invalid or a
    // row is incomplete.
    bool AllRulesComplete();
    bool GridFocused() const;
    // What keeps the window from closing (an invalid current cell, an incomplete row) or the
    // rules from a rulebase file (those, and any cell the reader refuses), naming the rule and
    // the variable; the page then shows that cell selected.
    std::optional<std::string> GoToCellHoldingTheWindow();
    std::optional<std::string> GoToCellKeepingTheRulesFromAFile();
    // The user expressions of the current column's variable while the page is shown.
    QStringList UserExpressionNames() const;
    // Add and Delete rule, switched off while a test window is open.
    void SetEditingEnabled(bool enabled);

  public slots:
    void TabSheetRulesEnter();
    // Whether the page may be left; stores the grid when it may.
    bool PageControlChanging();
    // Puts a clicked word (in short form) into the current cell's editor, on this page only.
    void InsertWord(const QString& word);
    void MoveToNextCell();
    // The first call after the window is built starts the undo stack with the rules as they are.
    void PushUndoSnapshot();
    void UndoRuleEdit();
    void RedoRuleEdit();
    void RulesInfoClick(int tag);
    void btnCheckConsClick();

    void ButtonAddRuleClick();
    void ButtonDeleteRuleClick();
    void CopyRules();
    void CutRules();
    void PasteRules();
    void DeleteRules();
    void DeleteEmptyRules();
    void DeleteDuplicateRules();
    void DeleteRedundantRules();
    void MergeInconsistentRules();
    void DuplicateRules();
    void InvertSign();

  signals:
    // UserExpressionNames changed with the current column.
    void userExpressionsChanged();

  private:
    void BuildControls();
    void ConnectView();
    bool ShowsPage() const;
    void MarkModified();
    // The text of the current cell, the open editor's while it is open.
    std::string CurrentText() const;
    void ShowCellCheck(QPoint cell, const std::string& text, const std::optional<ESyntax>& error);
    // The veto of the view: the current cell's text passes, or the labels say why.
    bool MayLeaveCurrentCell();
    // The focus left the grid or its open editor: while the current cell fails, a control of
    // this window gives it back.
    void StringGridRulesExit();
    // The working copy shown anew after a change made by change; the current cell goes to
    // (column, row), held to the rule rows.
    void Rebuild(const std::function<void()>& change, int column, int row);
    void ShowHeaders();
    void SetCurrent(int column, int row);
    std::optional<std::pair<int, int>> RowRange() const;
    bool SelectionSpansColumns() const;
    // Commits the open editor and checks the current cell: the start of every command.
    bool ReadyForCommand();
    bool ReadyForRuleBaseCommand();
    // A command's change of rows, the grid shown anew with the current cell in row; when it
    // changed them, the window is marked modified and the checks run. Returns whether it did.
    bool RowCommand(const std::function<bool()>& change, int row);
    void StepUndo(bool (RulesEditor::*step)(bool refillGrid));
    void CopyRowsToClipboard(int top, int bottom);
    std::optional<RulesEditor::CellFault> CellHoldingTheGrid();
    void GoToCell(const RulesEditor::CellFault& fault);

    // The view's events.
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void onCellEdited(int column, int row);
    // A keystroke in the open editor: its text checked, the window modified.
    void StringGridRulesSetEditText();
    void onEscapePressed();
    void onDeletePressed();
    void onAppendRuleRequested();
    void onRowHeaderClicked(int row, Qt::KeyboardModifiers modifiers);
    void onActiveImageClicked(int row);
    void onColumnHeaderClicked(int column);

    EditorPageHost& window_;
    std::array<QAction*, 4> showChecks_;
    TDataProgress progress_;
    RulesEditor editor_;
    // Declared after the editor it reads, so that it goes first.
    std::unique_ptr<RulesTableModel> model_;

    QLabel* lbRuleForm;
    RulesTableView* StringGridRules;
    QLabel* LabelGoodPart;
    QLabel* LabelErrorMessage;
    QLabel* LabelBadPart;
    QPushButton* ButtonAddRule;
    QPushButton* ButtonDeleteRule;

    // Whole rows selected through their numbers: a paste then replaces them.
    bool rowsSelected_ = false;
    bool selectingRows_ = false;
    bool clipboardHoldsCellText_ = false;
    int anchorRow_ = 1;
    bool undoStarted_ = false;
    // The last text that passed the check in a cell, which Escape gives back to it.
    QPoint lastValidCell_;
    std::string lastValidText_;
};
