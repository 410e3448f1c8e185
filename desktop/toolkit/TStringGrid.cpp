#include "desktop/toolkit/TStringGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace {

struct Cell {
    QString text;
    std::intptr_t object = 0;
};

constexpr int kLineWidth = 1;
// How near to a column's right edge, in pixels, a press in a header row starts sizing it.
constexpr int kSizingMargin = 3;
constexpr int kMinSizedWidth = 4;

// Set while a grid's exit handler runs. A grid that loses the focus to it was not left by the
// person; were its own handler to take the focus back in turn, two grids that both refuse to be
// left would pass the focus between them without end.
bool exitHandlerRunning = false;

}  // namespace

struct TStringGrid::Private {
    explicit Private(TStringGrid* owner) : q(owner) {}

    TStringGrid* q;
    int colCount = 5;
    int rowCount = 5;
    int fixedCols = 1;
    int fixedRows = 1;
    std::vector<std::vector<Cell>> rows = std::vector<std::vector<Cell>>(5, std::vector<Cell>(5));
    std::vector<int> colWidths = std::vector<int>(5, 64);
    int defaultColWidth = 64;
    int defaultRowHeight = 24;
    TGridOptions options = 0;
    int col = 1;
    int row = 1;
    int anchorCol = 1;
    int anchorRow = 1;
    int topRow = 1;
    int leftCol = 1;
    QLineEdit* editor = nullptr;
    bool editorMode = false;
    QString textBeforeEdit;
    int sizingCol = -1;
    int sizingStartX = 0;
    int sizingStartWidth = 0;
    bool dragSelecting = false;
    bool forwardingKey = false;
    bool editorRefusedKey = false;

    int ColPitch(int c) const { return colWidths[c] > 0 ? colWidths[c] + kLineWidth : 0; }
    int RowPitch() const { return defaultRowHeight + kLineWidth; }
    int FixedWidth() const {
        int width = 0;
        for (int c = 0; c < fixedCols; ++c)
            width += ColPitch(c);
        return width;
    }
    int FixedHeight() const { return fixedRows * RowPitch(); }
    bool IsScrolledCell(int c, int r) const {
        return c >= fixedCols && c < colCount && r >= fixedRows && r < rowCount;
    }
    bool HasCurrent() const { return IsScrolledCell(col, row); }
    bool RowSelect() const { return options & goRowSelect; }

    int ColX(int c) const {
        if (c < fixedCols) {
            int x = 0;
            for (int i = 0; i < c; ++i)
                x += ColPitch(i);
            return x;
        }
        if (c < leftCol)
            return -1;
        int x = FixedWidth();
        for (int i = leftCol; i < c; ++i)
            x += ColPitch(i);
        return x;
    }
    int RowY(int r) const {
        if (r < fixedRows)
            return r * RowPitch();
        if (r < topRow)
            return -1;
        return FixedHeight() + (r - topRow) * RowPitch();
    }

    int RowsThatFit() const {
        return std::max(1, (q->viewport()->height() - FixedHeight()) / RowPitch());
    }
    int MaxTopRow() const { return std::max(fixedRows, rowCount - RowsThatFit()); }
    int MaxLeftCol() const {
        int room = q->viewport()->width() - FixedWidth();
        int c = colCount - 1;
        while (c > fixedCols && room - ColPitch(c) >= 0) {
            room -= ColPitch(c);
            --c;
        }
        if (c < colCount - 1 && room >= ColPitch(c))
            return std::max(fixedCols, c);
        return std::max(fixedCols, std::min(colCount - 1, c + 1));
    }

    void UpdateScrollBars() {
        QScrollBar* vertical = q->verticalScrollBar();
        vertical->setRange(0, MaxTopRow() - fixedRows);
        vertical->setPageStep(RowsThatFit());
        vertical->setValue(topRow - fixedRows);
        QScrollBar* horizontal = q->horizontalScrollBar();
        horizontal->setRange(0, std::max(0, MaxLeftCol() - fixedCols));
        horizontal->setPageStep(1);
        horizontal->setValue(leftCol - fixedCols);
    }

    void ResizeStorage() {
        rows.resize(rowCount);
        for (auto& cells : rows)
            cells.resize(colCount);
        colWidths.resize(colCount, defaultColWidth);
    }

    void ClampCurrent() {
        const int lastCol = std::max(fixedCols, colCount - 1);
        const int lastRow = std::max(fixedRows, rowCount - 1);
        col = std::clamp(col, fixedCols, lastCol);
        row = std::clamp(row, fixedRows, lastRow);
        anchorCol = std::clamp(anchorCol, fixedCols, lastCol);
        anchorRow = std::clamp(anchorRow, fixedRows, lastRow);
        topRow = std::clamp(topRow, fixedRows, std::max(fixedRows, MaxTopRow()));
        leftCol = std::clamp(leftCol, fixedCols, lastCol);
    }

    void SizeChanged() {
        ResizeStorage();
        ClampCurrent();
        UpdateScrollBars();
        PlaceEditor();
        q->viewport()->update();
    }

    void EnsureVisible(int c, int r) {
        if (r >= fixedRows) {
            if (r < topRow)
                topRow = r;
            else if (r >= topRow + RowsThatFit())
                topRow = r - RowsThatFit() + 1;
        }
        if (c >= fixedCols) {
            if (c < leftCol) {
                leftCol = c;
            } else {
                const int width = q->viewport()->width();
                while (leftCol < c && ColX(c) + ColPitch(c) > width)
                    ++leftCol;
            }
        }
        topRow = std::clamp(topRow, fixedRows, std::max(fixedRows, MaxTopRow()));
        UpdateScrollBars();
    }

    bool CanShowEditor() const { return (options & goEditing) && !RowSelect() && HasCurrent(); }

    void PlaceEditor() {
        if (!editor || !editorMode)
            return;
        const QRect rect = q->CellRect(col, row);
        if (rect.isEmpty()) {
            editor->hide();
            return;
        }
        editor->setGeometry(rect);
        editor->show();
    }

    void ShowEditor() {
        if (!editor) {
            editor = new QLineEdit(q->viewport());
            editor->setFrame(false);
            editor->installEventFilter(q);
            QObject::connect(editor, &QLineEdit::textEdited, q, [this](const QString& text) {
                if (!HasCurrent())
                    return;
                rows[row][col].text = text;
                if (q->OnSetEditText)
                    q->OnSetEditText(col, row, text);
            });
        }
        textBeforeEdit = rows[row][col].text;
        editor->setText(textBeforeEdit);
        editor->selectAll();
        PlaceEditor();
        editor->setFocus();
    }

    void HideEditor() {
        if (!editor)
            return;
        const bool hadFocus = editor->hasFocus();
        editor->hide();
        if (hadFocus)
            q->setFocus();
    }

    // The grid's own move: asks OnSelectCell, keeps the editor open over the new cell.
    bool MoveCurrent(int c, int r, bool moveAnchor) {
        if (!IsScrolledCell(c, r))
            return false;
        if (c == col && r == row) {
            if (moveAnchor) {
                anchorCol = c;
                anchorRow = r;
            }
            q->viewport()->update();
            return true;
        }
        if (q->OnSelectCell && !q->OnSelectCell(c, r))
            return false;
        col = c;
        row = r;
        if (moveAnchor) {
            anchorCol = c;
            anchorRow = r;
        }
        EnsureVisible(c, r);
        if (editorMode) {
            if (editor)
                editor->hide();
            ShowEditor();
        }
        q->viewport()->update();
        return true;
    }

    int NextVisibleCol(int c, int step) const {
        for (int i = c + step; i >= fixedCols && i < colCount; i += step) {
            if (colWidths[i] > 0)
                return i;
        }
        return -1;
    }

    void Tab(bool backwards) {
        int c = NextVisibleCol(col, backwards ? -1 : 1);
        int r = row;
        if (c < 0) {
            r += backwards ? -1 : 1;
            if (r < fixedRows || r >= rowCount)
                return;
            c = backwards ? NextVisibleCol(colCount, -1) : NextVisibleCol(fixedCols - 1, 1);
        }
        if (c >= 0)
            MoveCurrent(c, r, true);
    }

    bool EditorShown() const { return editorMode && editor && editor->isVisible(); }

    // The grid's keys; true when the key was used. With the editor open, the keys that move
    // within its text stay with it.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool fromEditor) {
        if (key == Qt::Key_Backtab) {
            key = Qt::Key_Tab;
            modifiers |= Qt::ShiftModifier;
        }
        if (q->OnKeyDown && q->OnKeyDown(key, modifiers))
            return true;
        if (!HasCurrent())
            return false;
        const bool extend = (modifiers & Qt::ShiftModifier) && (options & goRangeSelect);
        const int page = RowsThatFit();
        switch (key) {
            case Qt::Key_Up:
                MoveCurrent(col, std::max(fixedRows, row - 1), !extend);
                return true;
            case Qt::Key_Down:
                MoveCurrent(col, std::min(rowCount - 1, row + 1), !extend);
                return true;
            case Qt::Key_PageUp:
                MoveCurrent(col, std::max(fixedRows, row - page), !extend);
                return true;
            case Qt::Key_PageDown:
                MoveCurrent(col, std::min(rowCount - 1, row + page), !extend);
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right: {
                if (fromEditor)
                    return false;
                const int c = NextVisibleCol(col, key == Qt::Key_Left ? -1 : 1);
                if (c >= 0)
                    MoveCurrent(c, row, !extend);
                return true;
            }
            case Qt::Key_Home:
            case Qt::Key_End:
                if (fromEditor)
                    return false;
                if (modifiers & Qt::ControlModifier) {
                    MoveCurrent(col, key == Qt::Key_Home ? fixedRows : rowCount - 1, !extend);
                } else {
                    const int c = key == Qt::Key_Home ? NextVisibleCol(fixedCols - 1, 1)
                                                      : NextVisibleCol(colCount, -1);
                    if (c >= 0)
                        MoveCurrent(c, row, !extend);
                }
                return true;
            case Qt::Key_Tab:
                if (!(options & goTabs))
                    return false;
                Tab(modifiers & Qt::ShiftModifier);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!CanShowEditor())
                    return false;
                q->SetEditorMode(!editorMode);
                return true;
            case Qt::Key_F2:
                q->SetEditorMode(true);
                return true;
            case Qt::Key_Escape:
                if (!editorMode)
                    return false;
                if (rows[row][col].text != textBeforeEdit) {
                    rows[row][col].text = textBeforeEdit;
                    if (q->OnSetEditText)
                        q->OnSetEditText(col, row, textBeforeEdit);
                }
                q->SetEditorMode(false);
                return true;
            default:
                break;
        }
        return false;
    }

    // Hands a key that reached the grid to the open editor, once; true when the editor took
    // it. A key the editor refuses comes back up to the grid, which must not send it down
    // again: that loop ends only when the stack is gone.
    bool ForwardToEditor(QKeyEvent* event) {
        QScopedValueRollback<bool> forwarding(forwardingKey, true);
        editorRefusedKey = false;
        editor->setFocus();
        QApplication::sendEvent(editor, event);
        return !editorRefusedKey;
    }

    bool IsOwnWidget(const QWidget* widget) const {
        return widget && (widget == q || widget == q->viewport() || widget == editor);
    }

    int SizingColAt(int x, int y) const {
        if (!(options & goColSizing) || y >= FixedHeight())
            return -1;
        for (int c = 0; c < colCount; ++c) {
            const int left = ColX(c);
            if (left < 0 || colWidths[c] <= 0)
                continue;
            const int right = left + colWidths[c];
            if (std::abs(x - right) <= kSizingMargin)
                return c;
        }
        return -1;
    }

    void PaintCell(QPainter& painter, int c, int r, const QRect& rect) {
        const bool fixed = c < fixedCols || r < fixedRows;
        const TGridRect selection = q->Selection();
        const bool focusedCell = c == col && r == row && q->hasFocus();
        TGridDrawState state = 0;
        if (fixed)
            state |= gdFixed;
        const bool inSelection = !fixed && c >= selection.Left && c <= selection.Right &&
                                 r >= selection.Top && r <= selection.Bottom;
        if (focusedCell)
            state |= gdFocused;
        if (inSelection && (!focusedCell || RowSelect() || (options & goDrawFocusSelected)))
            state |= gdSelected;
        const QPalette& palette = q->palette();
        if (q->DefaultDrawing) {
            if (fixed) {
                painter.fillRect(rect, palette.button());
                painter.setPen(palette.light().color());
                painter.drawLine(rect.topLeft(), rect.topRight());
                painter.drawLine(rect.topLeft(), rect.bottomLeft());
                painter.setPen(palette.buttonText().color());
            } else if (state & gdSelected) {
                painter.fillRect(rect, palette.highlight());
                painter.setPen(palette.highlightedText().color());
            } else {
                painter.fillRect(rect, palette.base());
                painter.setPen(palette.text().color());
            }
            const QString& text = rows[r][c].text;
            if (!text.isEmpty())
                painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                 text);
            if (focusedCell && !(state & gdSelected) && !(editorMode && editor->isVisible())) {
                painter.setPen(QPen(palette.text().color(), 1, Qt::DotLine));
                painter.drawRect(rect.adjusted(0, 0, -1, -1));
            }
        }
        if (q->OnDrawCell) {
            painter.save();
            painter.setClipRect(rect);
            q->OnDrawCell(c, r, rect, state, painter);
            painter.restore();
        }
    }
};

TStringGrid::TStringGrid(QWidget* parent)
    : QAbstractScrollArea(parent), d(std::make_unique<Private>(this)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setFrameShape(QFrame::StyledPanel);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const bool wasIn = d->IsOwnWidget(old);
        const bool isIn = d->IsOwnWidget(now);
        if (wasIn && !isIn && OnExit && !exitHandlerRunning) {
            // Once the focus has moved: an exit handler that takes the focus back while Qt is
            // still moving it fights the MDI area, which moves it on again, until the stack is
            // gone.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!OnExit || d->IsOwnWidget(QApplication::focusWidget()))
                        return;
                    QScopedValueRollback<bool> running(exitHandlerRunning, true);
                    OnExit();
                },
                Qt::QueuedConnection);
        } else if (!wasIn && isIn && OnEnter) {
            OnEnter();
        }
        if (wasIn != isIn)
            viewport()->update();
    });
    d->UpdateScrollBars();
}

TStringGrid::~TStringGrid() {
    // The editor may hold the focus; losing it must not reach a grid that is half gone.
    disconnect(qApp, nullptr, this, nullptr);
    delete d->editor;
}

int TStringGrid::ColCount() const {
    return d->colCount;
}
void TStringGrid::SetColCount(int count) {
    d->colCount = std::max(1, count);
    d->fixedCols = std::min(d->fixedCols, d->colCount);
    d->SizeChanged();
}
int TStringGrid::RowCount() const {
    return d->rowCount;
}
void TStringGrid::SetRowCount(int count) {
    d->rowCount = std::max(1, count);
    d->fixedRows = std::min(d->fixedRows, d->rowCount);
    d->SizeChanged();
}
int TStringGrid::FixedCols() const {
    return d->fixedCols;
}
void TStringGrid::SetFixedCols(int count) {
    d->fixedCols = std::clamp(count, 0, d->colCount);
    d->SizeChanged();
}
int TStringGrid::FixedRows() const {
    return d->fixedRows;
}
void TStringGrid::SetFixedRows(int count) {
    d->fixedRows = std::clamp(count, 0, d->rowCount);
    d->SizeChanged();
}

QString TStringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount)
        return {};
    return d->rows[row][col].text;
}

void TStringGrid::SetCells(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount)
        return;
    d->rows[row][col].text = text;
    if (d->editorMode && d->editor && col == d->col && row == d->row) {
        // The owner rewrote the cell under the open editor (an undo may have moved another rule
        // there): Escape goes back to this text, never to one from before.
        d->textBeforeEdit = text;
        if (d->editor->text() != text)
            d->editor->setText(text);
    }
    InvalidateCell(col, row);
}

std::intptr_t TStringGrid::Objects(int col, int row) const {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount)
        return 0;
    return d->rows[row][col].object;
}

void TStringGrid::SetObjects(int col, int row, std::intptr_t object) {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount)
        return;
    d->rows[row][col].object = object;
}

int TStringGrid::DefaultColWidth() const {
    return d->defaultColWidth;
}
void TStringGrid::SetDefaultColWidth(int width) {
    d->defaultColWidth = width;
    std::fill(d->colWidths.begin(), d->colWidths.end(), width);
    d->SizeChanged();
}
int TStringGrid::DefaultRowHeight() const {
    return d->defaultRowHeight;
}
void TStringGrid::SetDefaultRowHeight(int height) {
    d->defaultRowHeight = std::max(1, height);
    d->SizeChanged();
}
int TStringGrid::ColWidths(int col) const {
    return col >= 0 && col < d->colCount ? d->colWidths[col] : 0;
}
void TStringGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= d->colCount || d->colWidths[col] == width)
        return;
    d->colWidths[col] = width;
    d->UpdateScrollBars();
    d->PlaceEditor();
    viewport()->update();
}

TGridOptions TStringGrid::Options() const {
    return d->options;
}
void TStringGrid::SetOptions(TGridOptions options) {
    d->options = options;
    if (!d->CanShowEditor() && d->editorMode)
        SetEditorMode(false);
    if (options & goAlwaysShowEditor)
        SetEditorMode(true);
    viewport()->update();
}

int TStringGrid::Col() const {
    return d->col;
}
int TStringGrid::Row() const {
    return d->row;
}

bool TStringGrid::FocusCell(int col, int row) {
    return d->MoveCurrent(col, row, true);
}

TGridRect TStringGrid::Selection() const {
    TGridRect rect{std::min(d->col, d->anchorCol), std::min(d->row, d->anchorRow),
                   std::max(d->col, d->anchorCol), std::max(d->row, d->anchorRow)};
    if (d->RowSelect()) {
        rect.Left = d->fixedCols;
        rect.Right = d->colCount - 1;
    }
    return rect;
}

void TStringGrid::SetSelection(const TGridRect& rect) {
    if (!d->IsScrolledCell(rect.Left, rect.Top) || !d->IsScrolledCell(rect.Right, rect.Bottom))
        return;
    d->anchorCol = rect.Left;
    d->anchorRow = rect.Top;
    const bool moved = d->col != rect.Right || d->row != rect.Bottom;
    d->col = rect.Right;
    d->row = rect.Bottom;
    if (moved && d->editorMode) {
        d->editor->hide();
        d->ShowEditor();
    }
    viewport()->update();
}

bool TStringGrid::EditorMode() const {
    return d->editorMode;
}

void TStringGrid::SetEditorMode(bool on) {
    if (on == d->editorMode && (!on || (d->editor && d->editor->isVisible())))
        return;
    if (on) {
        if (!d->CanShowEditor())
            return;
        d->editorMode = true;
        d->ShowEditor();
    } else {
        if (d->options & goAlwaysShowEditor)
            return;
        d->editorMode = false;
        d->HideEditor();
    }
    viewport()->update();
}

QLineEdit* TStringGrid::InplaceEditor() const {
    return d->editorMode && d->editor ? d->editor : nullptr;
}

int TStringGrid::TopRow() const {
    return d->topRow;
}
void TStringGrid::SetTopRow(int row) {
    d->topRow = std::clamp(row, d->fixedRows, std::max(d->fixedRows, d->MaxTopRow()));
    d->UpdateScrollBars();
    d->PlaceEditor();
    viewport()->update();
}
int TStringGrid::LeftCol() const {
    return d->leftCol;
}
void TStringGrid::SetLeftCol(int col) {
    d->leftCol = std::clamp(col, d->fixedCols, std::max(d->fixedCols, d->colCount - 1));
    d->UpdateScrollBars();
    d->PlaceEditor();
    viewport()->update();
}

int TStringGrid::VisibleRowCount() const {
    return std::min(d->RowsThatFit(), d->rowCount - d->topRow);
}

int TStringGrid::VisibleColCount() const {
    int count = 0;
    const int width = viewport()->width();
    for (int c = d->leftCol; c < d->colCount; ++c) {
        if (d->ColX(c) + d->ColPitch(c) > width)
            break;
        ++count;
    }
    return count;
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = -1;
    row = -1;
    if (x < 0 || y < 0)
        return;
    for (int c = 0; c < d->colCount; ++c) {
        const int left = d->ColX(c);
        if (left >= 0 && d->colWidths[c] > 0 && x >= left && x < left + d->ColPitch(c)) {
            col = c;
            break;
        }
    }
    if (y < d->FixedHeight())
        row = y / d->RowPitch();
    else
        row = d->topRow + (y - d->FixedHeight()) / d->RowPitch();
    if (row >= d->rowCount || col < 0) {
        col = -1;
        row = -1;
    }
}

QRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount || d->colWidths[col] <= 0)
        return {};
    const int x = d->ColX(col);
    const int y = d->RowY(row);
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height())
        return {};
    return QRect(x, y, d->colWidths[col], d->defaultRowHeight);
}

int TStringGrid::TextWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text);
}

void TStringGrid::InsertRows(int at, int count) {
    if (count <= 0 || at < 0 || at > d->rowCount)
        return;
    d->rows.insert(d->rows.begin() + at, count, std::vector<Cell>(d->colCount));
    d->rowCount += count;
    d->SizeChanged();
}

void TStringGrid::DeleteRows(int at, int count) {
    if (at < 0 || count <= 0 || at >= d->rowCount)
        return;
    count = std::min(count, d->rowCount - at);
    if (d->rowCount - count < 1)
        return;
    d->rows.erase(d->rows.begin() + at, d->rows.begin() + at + count);
    d->rowCount -= count;
    d->fixedRows = std::min(d->fixedRows, d->rowCount);
    d->SizeChanged();
}

void TStringGrid::MoveRow(int from, int to) {
    if (from < 0 || to < 0 || from >= d->rowCount || to >= d->rowCount || from == to)
        return;
    if (from < to)
        std::rotate(d->rows.begin() + from, d->rows.begin() + from + 1, d->rows.begin() + to + 1);
    else
        std::rotate(d->rows.begin() + to, d->rows.begin() + from, d->rows.begin() + from + 1);
    viewport()->update();
}

void TStringGrid::InvalidateCell(int col, int row) {
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect.adjusted(0, 0, kLineWidth, kLineWidth));
}

void TStringGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    painter.fillRect(viewport()->rect(), palette().base());
    const QColor lineColor = palette().mid().color();
    auto paintRow = [&](int r) {
        const int y = d->RowY(r);
        for (int c = 0; c < d->colCount; ++c) {
            if (c >= d->fixedCols && c < d->leftCol)
                continue;
            if (d->colWidths[c] <= 0)
                continue;
            const int x = d->ColX(c);
            if (x >= width)
                break;
            const QRect rect(x, y, d->colWidths[c], d->defaultRowHeight);
            d->PaintCell(painter, c, r, rect);
            painter.setPen(lineColor);
            painter.drawLine(x + rect.width(), y, x + rect.width(), y + rect.height());
            painter.drawLine(x, y + rect.height(), x + rect.width(), y + rect.height());
        }
    };
    for (int r = 0; r < d->fixedRows; ++r)
        paintRow(r);
    for (int r = d->topRow; r < d->rowCount && d->RowY(r) < height; ++r)
        paintRow(r);
}

void TStringGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    d->topRow = std::clamp(d->topRow, d->fixedRows, std::max(d->fixedRows, d->MaxTopRow()));
    d->UpdateScrollBars();
    d->PlaceEditor();
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    if (d->forwardingKey) {
        // Accepted here so that it stops on its way up; ForwardToEditor sends it on.
        d->editorRefusedKey = true;
        return;
    }
    // With the editor open the grid already saw the key through its filter; a key that comes
    // up from the focused editor goes on to the parent, never back to the editor.
    if (d->EditorShown()) {
        if (d->editor->hasFocus() || !d->ForwardToEditor(event))
            event->ignore();
        return;
    }
    if (d->HandleKey(event->key(), event->modifiers(), false))
        return;
    const QString text = event->text();
    if (d->CanShowEditor() && !text.isEmpty() && text[0].isPrint() &&
        !(event->modifiers() & Qt::ControlModifier)) {
        // Typing on a cell opens the editor with that first character.
        SetEditorMode(true);
        if (d->EditorShown() && d->ForwardToEditor(event))
            return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TStringGrid::keyReleaseEvent(QKeyEvent* event) {
    // The filter on the editor reported the release already.
    const bool fromEditor = d->EditorShown() && d->editor->hasFocus();
    if (OnKeyUp && !fromEditor)
        OnKeyUp(event->key() == Qt::Key_Backtab ? Qt::Key_Tab : event->key(), event->modifiers());
    QAbstractScrollArea::keyReleaseEvent(event);
}

bool TStringGrid::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    return d->HandleKey(key, modifiers, d->EditorShown());
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // An open editor keeps the focus, also when the cell under the mouse is refused.
    if (d->EditorShown())
        d->editor->setFocus();
    else
        setFocus();
    if (event->button() == Qt::LeftButton) {
        const int sizing = d->SizingColAt(point.x(), point.y());
        if (sizing >= 0) {
            d->sizingCol = sizing;
            d->sizingStartX = point.x();
            d->sizingStartWidth = d->colWidths[sizing];
        } else {
            int c = -1;
            int r = -1;
            MouseToCell(point.x(), point.y(), c, r);
            if (d->IsScrolledCell(c, r)) {
                const bool extend =
                    (event->modifiers() & Qt::ShiftModifier) && (d->options & goRangeSelect);
                if (c == d->col && r == d->row && !extend && d->CanShowEditor() && !d->editorMode) {
                    d->anchorCol = c;
                    d->anchorRow = r;
                    SetEditorMode(true);
                } else if (d->MoveCurrent(c, r, !extend)) {
                    d->dragSelecting = d->options & goRangeSelect;
                }
            }
        }
    }
    // A press that starts sizing a column is no click on its header.
    if (OnMouseDown && d->sizingCol < 0)
        OnMouseDown(event->button(), event->modifiers(), point.x(), point.y());
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (d->sizingCol >= 0) {
        SetColWidths(d->sizingCol,
                     std::max(kMinSizedWidth, d->sizingStartWidth + point.x() - d->sizingStartX));
    } else if (d->dragSelecting && (event->buttons() & Qt::LeftButton)) {
        int c = -1;
        int r = -1;
        MouseToCell(point.x(), point.y(), c, r);
        if (d->IsScrolledCell(c, r))
            d->MoveCurrent(c, r, false);
    } else {
        viewport()->setCursor(d->SizingColAt(point.x(), point.y()) >= 0 ? Qt::SplitHCursor
                                                                        : Qt::ArrowCursor);
    }
    if (OnMouseMove)
        OnMouseMove(event->modifiers(), point.x(), point.y());
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    d->sizingCol = -1;
    d->dragSelecting = false;
    const QPoint point = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(event->button(), event->modifiers(), point.x(), point.y());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    int c = -1;
    int r = -1;
    const QPoint point = event->position().toPoint();
    MouseToCell(point.x(), point.y(), c, r);
    if (OnDblClick)
        OnDblClick();
    if (c == d->col && r == d->row && d->CanShowEditor())
        SetEditorMode(true);
}

void TStringGrid::scrollContentsBy(int, int) {
    d->topRow = d->fixedRows + verticalScrollBar()->value();
    d->leftCol = d->fixedCols + horizontalScrollBar()->value();
    d->PlaceEditor();
    viewport()->update();
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == d->editor) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (d->HandleKey(key->key(), key->modifiers(), true))
                return true;
        } else if (event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (OnKeyUp)
                OnKeyUp(key->key() == Qt::Key_Backtab ? Qt::Key_Tab : key->key(), key->modifiers());
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool TStringGrid::focusNextPrevChild(bool next) {
    if (d->options & goTabs)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}
