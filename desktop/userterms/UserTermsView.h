#pragma once

#include <QTableView>

#include <functional>

// The user-expressions grid. Tab and Shift+Tab stop only at cells the person may edit, row by
// row, wrapping at either end; every other key moves as in any table. The current cell is left
// only when the form allows it: a cell whose value is refused keeps the cursor, whatever moves
// it (keys, an editor's Tab, a click, the program).
class UserTermsView : public QTableView {
    Q_OBJECT

  public:
    explicit UserTermsView(QWidget* parent = nullptr);

    // Asked before the current cell moves to another; false keeps it (the hook says why). A
    // hook, not a signal, because its answer vetoes the move.
    std::function<bool(const QModelIndex& to)> AllowMove;

    // The open editor's text goes into the model, so that what a command reads is what the
    // person sees.
    void CommitEditor();
    // Makes the cell current when allowed; false when refused.
    bool GoTo(const QModelIndex& index);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool Allows(const QModelIndex& to);
    QModelIndex NextTabStop(bool backwards) const;

    // A press that was refused leaves the cursor where it is until the button is released.
    bool pressRefused_ = false;
};
