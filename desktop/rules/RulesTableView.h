#pragma once

#include <QTableView>

#include <functional>

class QLineEdit;

// The rules grid's view: Qt's table view over RulesTableModel, with the rule numbers and the
// active-rule images as its row headers. Its current cell is always a variable cell, and the
// person leaves it (a move, a click, Tab, a commit of the open editor) only when the page's veto
// allows: an expression that fails its check stays in its cell. Tab past the last cell asks for
// a new rule; Delete, Insert and Escape are the page's to answer.
class RulesTableView : public QTableView {
    Q_OBJECT

  public:
    explicit RulesTableView(QWidget* parent = nullptr);

    // Asked before the person leaves the current cell; false keeps them there.
    std::function<bool()> MayLeaveCurrentCell;

    // The columns of variables, first in the model; the check columns follow them.
    void SetVariableColumns(int count, int inputs);
    // The open editor of the current cell, or null.
    QLineEdit* OpenEditor() const;
    // Whether the open editor may close now (the veto, which shows why not).
    bool EditorMayClose() const { return MayLeave(); }
    // Commits the open editor and closes it; false, with the editor kept open, when refused.
    bool CommitEditor();
    // Closes the open editor without committing.
    void RevertEditor();
    // Opens the current cell's editor, its text selected.
    QLineEdit* EditCurrent();
    // Where Tab goes, as a move of the person's.
    void MoveToNextCell();
    // Where the image of a row header lies in the header's viewport.
    QRect ActiveImageRect(int row) const;
    // The cell drawn as failing its check, pink in a red frame and with a red dot for its row;
    // an invalid index clears the mark. The open editor over it shows the mark itself.
    void MarkBadCell(const QModelIndex& index);
    const QPersistentModelIndex& BadCell() const { return badCell_; }

  signals:
    // Tab in the last cell of the last row; a rule added now is moved into.
    void appendRuleRequested();
    void deletePressed();
    void insertPressed();
    // Escape with no editor open, or after the open one was reverted.
    void escapePressed();
    // The focus left a cell (its open editor, or the grid) that may not be left.
    void focusLeftBadCell();
    void editorTextEdited(const QString& text);
    void rowHeaderClicked(int row, Qt::KeyboardModifiers modifiers);
    void activeImageClicked(int row);
    void columnHeaderClicked(int column);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    bool MayLeave() const { return !MayLeaveCurrentCell || MayLeaveCurrentCell(); }
    void FocusCurrent();

    int variableColumns_ = 0;
    QPersistentModelIndex badCell_;
    bool pressRefused_ = false;
};
