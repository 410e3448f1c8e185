#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QLineEdit;
class QPainter;

// A cell range, inclusive on every side, in grid columns and rows.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

enum TGridOption : unsigned {
    goRangeSelect = 1u << 0,
    goDrawFocusSelected = 1u << 1,
    goColSizing = 1u << 2,
    goEditing = 1u << 3,
    goTabs = 1u << 4,
    goRowSelect = 1u << 5,
    goAlwaysShowEditor = 1u << 6,
    goThumbTracking = 1u << 7,
};
using TGridOptions = unsigned;

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// A grid of text cells addressed as column, row. The first FixedCols columns and FixedRows
// rows are headers: drawn raised, never current, not scrolled. Each cell also holds an integer
// object of its owner's choosing. The current cell (Col, Row) moves only when OnSelectCell
// allows it; with goEditing an editor over the current cell writes every keystroke into the
// cell and reports it through OnSetEditText. Rows have one height; a column of width <= 0 is
// hidden. A grid may consist of header rows only; it has no current cell then.
class TStringGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    int FixedCols() const;
    void SetFixedCols(int count);
    int FixedRows() const;
    void SetFixedRows(int count);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    std::intptr_t Objects(int col, int row) const;
    void SetObjects(int col, int row, std::intptr_t object);

    int DefaultColWidth() const;
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);

    TGridOptions Options() const;
    void SetOptions(TGridOptions options);

    int Col() const;
    int Row() const;
    // Moves the current cell there when OnSelectCell allows; the selection becomes that cell.
    // False when refused or out of range.
    bool FocusCell(int col, int row);
    void SetCol(int col) { FocusCell(col, Row()); }
    void SetRow(int row) { FocusCell(Col(), row); }
    // Normalised; with goRowSelect it spans every scrolled column.
    TGridRect Selection() const;
    // Anchors at the top-left and makes the bottom-right current, without asking OnSelectCell.
    void SetSelection(const TGridRect& rect);

    bool EditorMode() const;
    void SetEditorMode(bool on);
    // The open editor, or null.
    QLineEdit* InplaceEditor() const;

    // The grid's answer to a key press (OnKeyDown, then its own moves), as if a person pressed
    // the key; true when it was used.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);

    int TopRow() const;
    void SetTopRow(int row);
    int LeftCol() const;
    void SetLeftCol(int col);
    // Scrolled rows and columns that fit whole in the view.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // The cell under a point of the widget's viewport; -1, -1 outside every cell.
    void MouseToCell(int x, int y, int& col, int& row) const;
    // In viewport coordinates; empty for a cell out of view or hidden.
    QRect CellRect(int col, int row) const;
    int TextWidth(const QString& text) const;

    // Inserts count empty rows before row at (at == RowCount appends).
    void InsertRows(int at, int count);
    void DeleteRows(int at, int count);
    // Moves a whole row, cells and objects, to index to; the rows between shift by one.
    void MoveRow(int from, int to);
    void InvalidateCell(int col, int row);

    // Drawing: with DefaultDrawing the grid paints background and text first, then OnDrawCell
    // draws over it; without, OnDrawCell draws the cell alone.
    bool DefaultDrawing = true;

    // Events, in the order a person's action causes them.
    std::function<bool(int col, int row)> OnSelectCell;
    std::function<void(int col, int row, const QRect& rect, TGridDrawState state,
                       QPainter& painter)>
        OnDrawCell;
    std::function<void(int col, int row, const QString& text)> OnSetEditText;
    // Return true to consume the key (the grid then does nothing with it).
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
    std::function<void(int key, Qt::KeyboardModifiers modifiers)> OnKeyUp;
    // After the grid's own handling of the press; x, y in viewport coordinates. Not for a press
    // that starts sizing a column.
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)>
        OnMouseDown;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)>
        OnMouseUp;
    std::function<void(Qt::KeyboardModifiers modifiers, int x, int y)> OnMouseMove;
    std::function<void()> OnDblClick;
    // Focus entering or leaving the grid together with its editor.
    std::function<void()> OnEnter;
    std::function<void()> OnExit;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    struct Private;
    std::unique_ptr<Private> d;
};
