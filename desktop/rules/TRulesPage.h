#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string>

class EditorPageHost;
class QLabel;
class QProgressBar;
class RulesGridController;
struct RulesGridControls;
class TStringGrid;

// The rules page of an editor window: the rules grid as the working copy of the rule base's
// rules, and the commands the main window forwards to it. The window owns one and calls it at
// the points below; the grid's handlers and the commands live in RulesGridController.
class TRulesPage {
  public:
    // The grid's controls, and the window's progress bar and seconds label for long commands.
    TRulesPage(EditorPageHost& window, const RulesGridControls& controls, QProgressBar& progress,
               QLabel& seconds);
    ~TRulesPage();
    TRulesPage(const TRulesPage&) = delete;
    TRulesPage& operator=(const TRulesPage&) = delete;

    RulesGridController& Controller() { return *controller_; }

    // Grid from rule base and back; incomplete rows are not stored.
    void FillRulesGrid();
    void StoreRulesFromGrid();
    // False when the current cell's text is not a valid expression of its variable.
    bool CurrentCellValid();
    // False, with the page shown and the first empty variable cell selected, when a rule row
    // is incomplete (or the current cell is invalid).
    bool AllRulesComplete();
    bool GridFocused() const;
    // What keeps the window from closing, or the rules from a rulebase file, naming the rule
    // and the variable; the page then shows that cell selected. See RulesGridController.
    std::optional<std::string> GoToCellHoldingTheWindow();
    std::optional<std::string> GoToCellKeepingTheRulesFromAFile();

    // Page events.
    void TabSheetRulesEnter();
    // Whether the page may be left; stores the grid when it may.
    bool PageControlChanging();

    // Puts a clicked word (in short form) into the selected cell, on the rules page only.
    void InsertWord(const QString& word);
    // The word buttons' right-button insertion moves on to the next cell.
    void MoveToNextCell();

    // The first call after the window is built starts the undo stack with the rules as they
    // are.
    void PushUndoSnapshot();
    void UndoRuleEdit();
    void RedoRuleEdit();
    void RulesInfoClick(int tag);

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

  private:
    EditorPageHost& window_;
    TStringGrid& grid_;
    std::unique_ptr<RulesGridController> controller_;
    bool undoStarted_ = false;
};
