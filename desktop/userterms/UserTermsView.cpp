#include "desktop/userterms/UserTermsView.h"

#include <QMouseEvent>

#include <utility>

UserTermsView::UserTermsView(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

void UserTermsView::CommitEditor() {
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        commitData(editor);
}

bool UserTermsView::Allows(const QModelIndex& to) {
    return !to.isValid() || to == currentIndex() || !AllowMove || AllowMove(to);
}

bool UserTermsView::GoTo(const QModelIndex& index) {
    CommitEditor();
    if (!Allows(index))
        return false;
    setCurrentIndex(index);
    return true;
}

QModelIndex UserTermsView::NextTabStop(bool backwards) const {
    const QModelIndex start = currentIndex();
    const int rows = model()->rowCount();
    const int cols = model()->columnCount();
    int row = start.row();
    int col = start.column();
    for (int step = 0; step < rows * cols; ++step) {
        col += backwards ? -1 : 1;
        if (col < 0 || col >= cols) {
            col = backwards ? cols - 1 : 0;
            row = (row + (backwards ? rows - 1 : 1)) % rows;
        }
        const QModelIndex cell = model()->index(row, col);
        if (cell.flags() & Qt::ItemIsEditable)
            return cell;
    }
    return start;
}

QModelIndex UserTermsView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // A key that an open editor did not take moves from the text the person sees.
    CommitEditor();
    const bool tab = action == MoveNext || action == MovePrevious;
    const QModelIndex to = tab && currentIndex().isValid()
                               ? NextTabStop(action == MovePrevious)
                               : QTableView::moveCursor(action, modifiers);
    return Allows(to) ? to : currentIndex();
}

void UserTermsView::mousePressEvent(QMouseEvent* event) {
    pressRefused_ = !Allows(indexAt(event->position().toPoint()));
    if (pressRefused_)
        event->accept();
    else
        QTableView::mousePressEvent(event);
}

void UserTermsView::mouseMoveEvent(QMouseEvent* event) {
    // Sweeping a selection moves the cursor too.
    if (!pressRefused_ && (event->buttons() & Qt::LeftButton))
        pressRefused_ = !Allows(indexAt(event->position().toPoint()));
    if (!pressRefused_)
        QTableView::mouseMoveEvent(event);
}

void UserTermsView::mouseReleaseEvent(QMouseEvent* event) {
    if (std::exchange(pressRefused_, false))
        event->accept();
    else
        QTableView::mouseReleaseEvent(event);
}
