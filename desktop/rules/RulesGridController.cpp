#include "desktop/rules/RulesGridController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/UserPrompts.h"

namespace {

constexpr int kImageSize = 12;
// Right margin of the active-rule image in the number column.
constexpr int kImageMargin = 3;
// The progress bar moves and the window repaints every so many rules.
constexpr int kProgressStride = 64;
// Background of a cell whose expression fails its check.
const QColor kBadCellColor(255, 215, 215);

int DecimalDigits(int n) {
    int digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

enum class RuleImageKind { kActive, kInactive, kBadCell };

QPixmap RuleImage(RuleImageKind kind) {
    QPixmap image(kImageSize, kImageSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dot(1.5, 1.5, kImageSize - 3, kImageSize - 3);
    if (kind == RuleImageKind::kBadCell) {
        painter.setPen(QPen(QColor(140, 0, 0), 1));
        painter.setBrush(QColor(220, 30, 30));
    } else if (kind == RuleImageKind::kActive) {
        painter.setPen(QPen(QColor(0, 100, 0), 1));
        painter.setBrush(QColor(40, 170, 40));
    } else {
        painter.setPen(QPen(QColor(120, 120, 120), 1));
        painter.setBrush(Qt::NoBrush);
    }
    painter.drawEllipse(dot);
    return image;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

RulesGridController::RulesGridController(CRuleBase& ruleBase, const RulesGridControls& controls,
                                         RulesGridHooks hooks)
    : editor_(ruleBase),
      controls_(controls),
      hooks_(std::move(hooks)),
      grid_(*controls.StringGridRules),
      activeRuleImages_{RuleImage(RuleImageKind::kActive), RuleImage(RuleImageKind::kInactive),
                        RuleImage(RuleImageKind::kBadCell)} {
    grid_.SetDefaultRowHeight(22);
    grid_.SetFixedCols(1);
    grid_.SetFixedRows(1);
    grid_.OnSelectCell = [this](int c, int r) { return StringGridRulesSelectCell(c, r); };
    grid_.OnSetEditText = [this](int c, int r, const QString& text) {
        StringGridRulesSetEditText(c, r, text);
    };
    grid_.OnKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) {
        return StringGridRulesKeyDown(key, modifiers);
    };
    grid_.OnKeyUp = [this](int, Qt::KeyboardModifiers) { StringGridRulesKeyUp(); };
    grid_.OnMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                               int y) { StringGridRulesMouseDown(button, modifiers, x, y); };
    grid_.OnMouseMove = [this](Qt::KeyboardModifiers, int x, int y) {
        StringGridRulesMouseMove(x, y);
    };
    grid_.OnDrawCell = [this](int c, int r, const QRect& rect, TGridDrawState, QPainter& painter) {
        StringGridRulesDrawCell(c, r, rect, painter);
    };
    grid_.OnExit = [this] { StringGridRulesExit(); };
    // Whole rows are selected by clicking the number column; until then a paste inserts.
    SetRangeSelect(false);
}

RulesGridController::~RulesGridController() {
    grid_.OnSelectCell = nullptr;
    grid_.OnSetEditText = nullptr;
    grid_.OnKeyDown = nullptr;
    grid_.OnKeyUp = nullptr;
    grid_.OnMouseDown = nullptr;
    grid_.OnMouseMove = nullptr;
    grid_.OnDrawCell = nullptr;
    grid_.OnExit = nullptr;
}

bool RulesGridController::ShowsRulesPage() const {
    return !hooks_.ShowsRulesPage || hooks_.ShowsRulesPage();
}

void RulesGridController::MarkModified() {
    if (hooks_.MarkModified)
        hooks_.MarkModified();
}

int RulesGridController::RuleNumberColumnWidth(int ruleCount) const {
    return grid_.TextWidth("0") * DecimalDigits(ruleCount) + 6 + grid_.TextWidth(".") + kImageSize;
}

void RulesGridController::FillRulesGrid() {
    const int rules = editor_.RuleBase().GetNumRules();
    if (hooks_.StartProgress)
        hooks_.StartProgress(std::max(rules - 1, 0));
    editor_.FillGrid();
    ShowGrid();
    if (hooks_.EndProgress)
        hooks_.EndProgress();
}

void RulesGridController::ShowGrid() {
    const RulesGridModel& model = editor_.Grid();
    const bool remeasure = hooks_.VariablesChanged && hooks_.VariablesChanged();
    gridReady_ = false;
    grid_.SetColCount(model.ColumnCount());
    grid_.SetRowCount(std::max(model.RowCount(), 2));
    grid_.SetColWidths(0, RuleNumberColumnWidth(model.RuleRowCount()));
    const int minimumWidth = grid_.TextWidth("  -ex sm  ");
    QStringList inputs;
    for (int c = 1; c < model.ColumnCount(); ++c) {
        const QString header = Q(model.Header(c));
        grid_.SetCells(c, 0, header);
        if (remeasure && model.IsVariableColumn(c))
            grid_.SetColWidths(c, std::max(grid_.TextWidth(header) + 6, minimumWidth));
    }
    if (remeasure) {
        static const char* const kWidest[RulesGridModel::kCheckColumnCount] = {
            "same as 000,", "inconsist with 000,", "redundant with 000,", "redundant with 000,"};
        for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k) {
            const bool shown = !controls_.ShowChecks[k] || controls_.ShowChecks[k]->isChecked();
            const int width = grid_.TextWidth(kWidest[k]);
            if (shown)
                grid_.SetColWidths(model.FirstCheckColumn() + k, width);
            else
                hiddenWidths_[k] = width;
        }
        if (hooks_.ClearVariablesChanged)
            hooks_.ClearVariablesChanged();
    }
    for (int r = 1; r <= model.RuleRowCount(); ++r) {
        const RulesGridModel::Row& row = model.RuleRow(r);
        grid_.SetCells(0, r, Q(RulesGridModel::NumberText(r)));
        grid_.SetObjects(0, r, row.active ? 1 : 0);
        for (int c = 1; c <= model.VariableCount(); ++c)
            grid_.SetCells(c, r, Q(row.cells[c - 1]));
    }
    shownCheckRevision_.reset();
    ShowCheckColumns();
    // Rewritten cells are checked anew.
    MarkBadCell(std::nullopt);
    // Fewer variables than before can leave the current cell on a check column, which is never
    // current: it has no expression to check, and nothing typed there is kept.
    if (model.IsCheckColumn(grid_.Col()))
        grid_.FocusCell(model.VariableCount(), grid_.Row());
    gridReady_ = true;
    if (controls_.lbRuleForm) {
        // The form names the connective "&&"; the label shows it as one '&'.
        controls_.lbRuleForm->setText(Q(model.RuleForm()).replace("&&", "&"));
    }
}

void RulesGridController::ShowCheckColumns() {
    if (shownCheckRevision_ == editor_.ChecksRun())
        return;
    shownCheckRevision_ = editor_.ChecksRun();
    const RulesGridModel& model = editor_.Grid();
    for (int r = 1; r <= model.RuleRowCount(); ++r) {
        const RulesGridModel::Row& row = model.RuleRow(r);
        for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k) {
            grid_.SetCells(model.FirstCheckColumn() + k, r, Q(row.checkTexts[k]));
            grid_.SetObjects(model.FirstCheckColumn() + k, r, row.checkKeys[k]);
        }
    }
}

void RulesGridController::UpdateRuleNumbers() {
    const RulesGridModel& model = editor_.Grid();
    grid_.SetColWidths(0, RuleNumberColumnWidth(model.RuleRowCount()));
}

void RulesGridController::StoreRulesFromGrid() {
    editor_.StoreGrid();
}

std::optional<ESyntax> RulesGridController::CheckRuleCell(int column, int row) const {
    return editor_.CheckCell(column, row);
}

void RulesGridController::ShowCellCheck(int column, int row, const std::optional<ESyntax>& error) {
    MarkBadCell(error ? std::optional<QPoint>(QPoint(column, row)) : std::nullopt);
    if (!controls_.LabelErrorMessage)
        return;
    if (!error) {
        controls_.LabelErrorMessage->clear();
        controls_.LabelGoodPart->clear();
        controls_.LabelBadPart->clear();
        return;
    }
    const QString text = Q(editor_.Grid().Cell(column, row));
    controls_.LabelErrorMessage->setText(Q(error->Message()));
    if (error->Position() != -2) {
        controls_.LabelGoodPart->setText(text.left(error->Position()));
        controls_.LabelBadPart->setText(text.mid(error->Position()));
    }
}

void RulesGridController::MarkBadCell(std::optional<QPoint> cell) {
    if (cell != badCell_) {
        for (const std::optional<QPoint>& marked : {badCell_, cell}) {
            if (marked) {
                grid_.InvalidateCell(marked->x(), marked->y());
                grid_.InvalidateCell(0, marked->y());
            }
        }
        badCell_ = cell;
    }
    // The open editor covers the cell's mark; it shows it itself.
    if (QLineEdit* edit = grid_.InplaceEditor()) {
        QPalette palette = grid_.palette();
        if (badCell_ == QPoint(grid_.Col(), grid_.Row()))
            palette.setColor(QPalette::Base, kBadCellColor);
        edit->setPalette(palette);
    }
}

bool RulesGridController::ValidateRuleCell(int column, int row) {
    if (!editor_.Grid().IsVariableColumn(column) || !editor_.Grid().IsRuleRow(row))
        return true;
    if (editor_.Grid().Cell(column, row).empty()) {
        if (badCell_ == QPoint(column, row))
            MarkBadCell(std::nullopt);
        return true;
    }
    const std::optional<ESyntax> error = CheckRuleCell(column, row);
    ShowCellCheck(column, row, error);
    return !error;
}

bool RulesGridController::CurrentCellValid() {
    return ValidateRuleCell(grid_.Col(), grid_.Row());
}

void RulesGridController::GoToCell(const RulesEditor::CellFault& fault) {
    if (hooks_.ShowRulesPage)
        hooks_.ShowRulesPage();
    if (fault.column != grid_.Col() || fault.row != grid_.Row()) {
        grid_.SetEditorMode(false);
        grid_.SetSelection({fault.column, fault.row, fault.column, fault.row});
    }
    // Back into the cell as it was left: typing goes on in an editor that is open there.
    if (QLineEdit* edit = grid_.InplaceEditor())
        edit->setFocus();
    else
        grid_.setFocus();
    ScrollToCurrentRow();
    // The labels split a text that fails its check into its good and its bad part.
    if (const std::optional<ESyntax> error = CheckRuleCell(fault.column, fault.row)) {
        ShowCellCheck(fault.column, fault.row, error);
        return;
    }
    MarkBadCell(QPoint(fault.column, fault.row));
    if (controls_.LabelErrorMessage) {
        controls_.LabelErrorMessage->setText(Q(fault.message));
        controls_.LabelGoodPart->clear();
        controls_.LabelBadPart->clear();
    }
}

std::optional<RulesEditor::CellFault> RulesGridController::CellHoldingTheGrid() {
    if (auto fault = editor_.CellFaultAt(grid_.Col(), grid_.Row()))
        return fault;
    return editor_.FirstIncompleteCell();
}

bool RulesGridController::AllRulesComplete() {
    const auto fault = CellHoldingTheGrid();
    if (!fault)
        return true;
    GoToCell(*fault);
    return false;
}

std::optional<std::string> RulesGridController::GoToCellHoldingTheWindow() {
    // A hidden grid was whole when it was left, and its current cell may since have gone stale
    // through edits of the variables; the rules it holds are checked when they are saved.
    if (!ShowsRulesPage())
        return std::nullopt;
    const auto fault = CellHoldingTheGrid();
    if (!fault)
        return std::nullopt;
    GoToCell(*fault);
    return fault->message;
}

std::optional<std::string> RulesGridController::GoToCellKeepingTheRulesFromAFile() {
    // A shown grid is the working copy; a hidden one was stored when it was left, and other
    // pages may have changed the rules since.
    std::optional<RulesEditor::CellFault> fault;
    if (ShowsRulesPage()) {
        fault = CellHoldingTheGrid();
        if (!fault)
            StoreRulesFromGrid();
    }
    if (!fault)
        fault = editor_.FirstCellThatDoesNotBuild();
    if (!fault)
        return std::nullopt;
    GoToCell(*fault);
    return fault->message;
}

void RulesGridController::TabSheetRulesEnter() {
    FillRulesGrid();
    btnCheckConsClick();
    ShowUserExpressionButtons(grid_.Col());
}

bool RulesGridController::PageControlChanging() {
    if (!AllRulesComplete())
        return false;
    StoreRulesFromGrid();
    return true;
}

void RulesGridController::TabSheetRulesExit() {
    if (AllRulesComplete())
        StoreRulesFromGrid();
}

void RulesGridController::StringGridRulesExit() {
    RemoveUserExpressionButtons();
    if (!CurrentCellValid()) {
        if (hooks_.ShowRulesPage)
            hooks_.ShowRulesPage();
        grid_.setFocus();
    }
}

void RulesGridController::StringGridRulesKeyUp() {
    CurrentCellValid();
}

void RulesGridController::StringGridRulesSetEditText(int column, int row, const QString& text) {
    if (!editor_.Grid().IsVariableColumn(column) || !editor_.Grid().IsRuleRow(row))
        return;
    editor_.Grid().SetCell(column, row, text.toStdString());
    if (grid_.Options() & goRangeSelect) {
        grid_.SetSelection({column, row, column, row});
        SetRangeSelect(false);
    }
    MarkModified();
}

void RulesGridController::SetRangeSelect(bool on) {
    const TGridOptions options = grid_.Options();
    grid_.SetOptions(on ? options | goRangeSelect : options & ~goRangeSelect);
}

bool RulesGridController::StringGridRulesSelectCell(int column, int /*row*/) {
    if (!gridReady_)
        return true;
    if (hooks_.EnableClipboardActions)
        hooks_.EnableClipboardActions();
    if (column > 0)
        SetRangeSelect(false);
    if (editor_.Grid().IsCheckColumn(column))
        return false;
    const std::optional<ESyntax> error = CheckRuleCell(grid_.Col(), grid_.Row());
    if (error) {
        ShowCellCheck(grid_.Col(), grid_.Row(), error);
        // The move is refused where the person looks: the typing goes on in the editor that
        // they see, not in one that lost the focus to the click.
        if (QLineEdit* edit = grid_.InplaceEditor())
            edit->setFocus();
        return false;
    }
    MarkBadCell(std::nullopt);
    btnCheckConsClick();
    ShowUserExpressionButtons(column);
    return true;
}

bool RulesGridController::MayLeaveCurrentCell() {
    return StringGridRulesSelectCell(0, grid_.Row());
}

bool RulesGridController::StringGridRulesKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Shift)
        return false;
    if (hooks_.EnableClipboardActions)
        hooks_.EnableClipboardActions();
    anchorRow_ = grid_.Row();
    const RulesGridModel& model = editor_.Grid();
    const int lastVariable = model.VariableCount();
    bool consumed = false;
    if (key == Qt::Key_Delete) {
        const TGridRect selection = grid_.Selection();
        if (selection.Left != selection.Right) {
            ButtonDeleteRuleClick();
            consumed = true;
        } else if (!grid_.EditorMode() && model.IsVariableColumn(grid_.Col())) {
            SetCellText(grid_.Col(), grid_.Row(), "");
            grid_.SetEditorMode(true);
            consumed = true;
        }
        if (consumed)
            MarkModified();
    } else if (key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier) &&
               grid_.Col() == lastVariable) {
        if (grid_.Row() < model.RuleRowCount()) {
            grid_.FocusCell(1, grid_.Row() + 1);
        } else if (CurrentCellValid()) {
            grid_.SetEditorMode(false);
            ButtonAddRuleClick();
            MarkModified();
        }
        grid_.SetEditorMode(false);
        consumed = true;
    } else if (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier) && grid_.Col() == 1 &&
               grid_.Row() >= 2) {
        grid_.FocusCell(lastVariable, grid_.Row() - 1);
        grid_.SetEditorMode(false);
        consumed = true;
    }
    ScrollToCurrentRow();
    return consumed;
}

void RulesGridController::ScrollToCurrentRow() {
    const int row = grid_.Row();
    const int visible = std::max(grid_.VisibleRowCount(), 1);
    if (row >= grid_.TopRow() + visible)
        grid_.SetTopRow(std::max(1, row - visible + 1));
    else if (row < grid_.TopRow())
        grid_.SetTopRow(std::max(1, row));
}

QRect RulesGridController::ActiveImageRect(const QRect& cell) const {
    return {cell.right() - kImageSize - kImageMargin, cell.top() + (cell.height() - kImageSize) / 2,
            kImageSize, kImageSize};
}

void RulesGridController::StringGridRulesDrawCell(int column, int row, const QRect& rect,
                                                  QPainter& painter) {
    const RulesGridModel& model = editor_.Grid();
    if (row < 1 || row > model.RuleRowCount())
        return;
    const bool badRow = badCell_ && badCell_->y() == row;
    if (column == 0) {
        RuleImageKind image =
            model.IsActive(row) ? RuleImageKind::kActive : RuleImageKind::kInactive;
        if (badRow)
            image = RuleImageKind::kBadCell;
        painter.drawPixmap(ActiveImageRect(rect).topLeft(),
                           activeRuleImages_[static_cast<int>(image)]);
        return;
    }
    if (badRow && badCell_->x() == column) {
        painter.fillRect(rect, kBadCellColor);
        painter.setPen(QPen(Qt::red, 2));
        painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
        painter.setPen(Qt::darkRed);
        painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         Q(model.Cell(column, row)));
    }
    if (column == model.InputCount())
        painter.fillRect(rect.right() - 1, rect.top(), 2, rect.height() + 1, Qt::black);
}

void RulesGridController::StringGridRulesMouseMove(int x, int y) {
    int column = -1;
    int row = -1;
    grid_.MouseToCell(x, y, column, row);
    const std::optional<std::string> text = editor_.NormalizedText(column, row);
    grid_.viewport()->setToolTip(text ? Q(*text) : QString());
}

void RulesGridController::StringGridRulesMouseDown(Qt::MouseButton button,
                                                   Qt::KeyboardModifiers modifiers, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    int column = -1;
    int row = -1;
    grid_.MouseToCell(x, y, column, row);
    if (column > 0 && !CurrentCellValid())
        return;
    if (hooks_.EnableClipboardActions)
        hooks_.EnableClipboardActions();
    RulesGridModel& model = editor_.Grid();
    if (row > 0 && column > 0 && model.IsRuleRow(row)) {
        anchorRow_ = row;
        SetRangeSelect(false);
        if (model.IsCheckColumn(column))
            grid_.FocusCell(model.VariableCount(), row);
    } else if (row > 0 && column == 0 && model.IsRuleRow(row)) {
        if (ActiveImageRect(grid_.CellRect(0, row)).contains(x, y)) {
            model.SetActive(row, !model.IsActive(row));
            grid_.SetObjects(0, row, model.IsActive(row) ? 1 : 0);
            grid_.InvalidateCell(0, row);
            MarkModified();
            return;
        }
        grid_.SetEditorMode(false);
        if (!MayLeaveCurrentCell())
            return;
        SetRangeSelect(true);
        int top = row;
        int bottom = row;
        if (modifiers & Qt::ShiftModifier) {
            top = std::min(anchorRow_, row);
            bottom = std::max(anchorRow_, row);
        } else {
            anchorRow_ = row;
        }
        grid_.SetSelection({1, top, model.VariableCount(), bottom});
    } else if (row == 0 && column > 0 && column < model.ColumnCount()) {
        grid_.SetEditorMode(false);
        editor_.Sort(column);
        ShowGrid();
        MarkModified();
        btnCheckConsClick();
    }
}

void RulesGridController::btnCheckConsClick() {
    for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k) {
        const bool shown = !controls_.ShowChecks[k] || controls_.ShowChecks[k]->isChecked();
        if (editor_.Shown()[k] != shown)
            editor_.SetShown(k, shown);
    }
    editor_.RunChecks();
    ShowCheckColumns();
}

void RulesGridController::RulesInfoClick(int tag) {
    QAction* item = controls_.ShowChecks[tag];
    if (!item)
        return;
    const int column = editor_.Grid().FirstCheckColumn() + tag;
    if (item->isChecked()) {
        hiddenWidths_[tag] = grid_.ColWidths(column);
        grid_.SetColWidths(column, -1);
    } else {
        grid_.SetColWidths(column, hiddenWidths_[tag] > 0 ? hiddenWidths_[tag]
                                                          : grid_.TextWidth("redundant with 000,"));
    }
    item->setChecked(!item->isChecked());
    btnCheckConsClick();
}

std::optional<std::pair<int, int>> RulesGridController::RowRange() const {
    const TGridRect selection = grid_.Selection();
    int top = std::max(selection.Top, 1);
    int bottom = std::max(selection.Bottom, 1);
    if (top > bottom)
        std::swap(top, bottom);
    bottom = std::min(bottom, editor_.Grid().RuleRowCount());
    if (top > bottom)
        return std::nullopt;
    return std::pair{top, bottom};
}

void RulesGridController::SetCellText(int column, int row, const std::string& text) {
    editor_.Grid().SetCell(column, row, text);
    grid_.SetCells(column, row, Q(text));
}

void RulesGridController::FocusCellQuietly(int column, int row) {
    gridReady_ = false;
    grid_.FocusCell(column, row);
    gridReady_ = true;
}

void RulesGridController::FocusRuleRow(int row) {
    FocusCellQuietly(std::max(grid_.Col(), 1), std::min(row, editor_.Grid().RuleRowCount()));
}

void RulesGridController::AfterRowCommand() {
    ShowGrid();
    MarkModified();
    btnCheckConsClick();
    ScrollToCurrentRow();
}

void RulesGridController::ButtonAddRuleClick() {
    if (!CurrentCellValid())
        return;
    const int top = std::max(grid_.Selection().Top, 0);
    const int added = editor_.AddRule(std::min(top, editor_.Grid().RuleRowCount()));
    ShowGrid();
    FocusCellQuietly(1, added);
    grid_.setFocus();
    btnCheckConsClick();
    MarkModified();
    ShowUserExpressionButtons(1);
    ScrollToCurrentRow();
}

void RulesGridController::ButtonDeleteRuleClick() {
    const auto range = RowRange();
    if (!range || !MayLeaveCurrentCell())
        return;
    if (!editor_.DeleteRules(range->first, range->second))
        return;
    // The selected rows are gone: a paste now goes in after the current row instead of
    // replacing the row that moved up into the gap.
    SetRangeSelect(false);
    FocusRuleRow(range->first);
    AfterRowCommand();
}

void RulesGridController::DeleteRules() {
    const TGridRect selection = grid_.Selection();
    if (selection.Left != selection.Right) {
        ButtonDeleteRuleClick();
        return;
    }
    if (QLineEdit* edit = grid_.EditorMode() ? grid_.InplaceEditor() : nullptr) {
        // Like the edit box's own clear: the selected part goes, the rest of the typing stays.
        if (editor_.Grid().IsVariableColumn(grid_.Col()) && edit->hasSelectedText()) {
            edit->del();
            SetCellText(grid_.Col(), grid_.Row(), edit->text().toStdString());
            MarkModified();
        }
        return;
    }
    if (!editor_.Grid().IsVariableColumn(grid_.Col()))
        return;
    SetCellText(grid_.Col(), grid_.Row(), "");
    grid_.SetEditorMode(true);
    MarkModified();
}

void RulesGridController::CopyRules() {
    if (grid_.EditorMode() && grid_.InplaceEditor()) {
        QApplication::clipboard()->setText(grid_.Cells(grid_.Col(), grid_.Row()));
        clipboardHoldsCellText_ = true;
        return;
    }
    const auto range = RowRange();
    if (!range || !MayLeaveCurrentCell())
        return;
    QApplication::clipboard()->setText(Q(editor_.CopyRows(range->first, range->second)));
    clipboardHoldsCellText_ = false;
}

void RulesGridController::CutRules() {
    const auto range = RowRange();
    if (!range || !MayLeaveCurrentCell())
        return;
    QApplication::clipboard()->setText(Q(editor_.CopyRows(range->first, range->second)));
    clipboardHoldsCellText_ = false;
    if (editor_.DeleteRules(range->first, range->second)) {
        SetRangeSelect(false);
        FocusRuleRow(range->first);
        AfterRowCommand();
    }
}

void RulesGridController::PasteRules() {
    const QString text = QApplication::clipboard()->text();
    const bool rowsSelected = grid_.Options() & goRangeSelect;
    const bool editing = grid_.EditorMode() && grid_.InplaceEditor();
    if (!rowsSelected && editing) {
        if (clipboardHoldsCellText_ && editor_.Grid().IsVariableColumn(grid_.Col())) {
            SetCellText(grid_.Col(), grid_.Row(), text.toStdString());
            MarkModified();
        }
        ScrollToCurrentRow();
        return;
    }
    if (!rowsSelected && clipboardHoldsCellText_)
        return;
    const auto range = RowRange();
    const int top = range ? range->first : 0;
    const int bottom = range ? range->second : 0;
    if (!MayLeaveCurrentCell())
        return;
    const auto pasted = editor_.PasteRows(text.toStdString(), top, bottom, rowsSelected);
    if (!pasted)
        return;
    SetRangeSelect(false);
    ShowGrid();
    FocusCellQuietly(1, pasted->first);
    MarkModified();
    btnCheckConsClick();
    SelectFirstInvalidCell(pasted->first, pasted->second);
    ScrollToCurrentRow();
}

void RulesGridController::SelectFirstInvalidCell(int top, int bottom) {
    for (int r = top; r <= bottom; ++r) {
        for (int c = 1; c <= editor_.Grid().VariableCount(); ++c) {
            if (const auto error = CheckRuleCell(c, r)) {
                FocusCellQuietly(c, r);
                ShowCellCheck(c, r, error);
                return;
            }
        }
    }
}

void RulesGridController::DeleteEmptyRules() {
    if (!CurrentCellValid())
        return;
    if (editor_.DeleteEmptyRows())
        FocusRuleRow(grid_.Row());
    AfterRowCommand();
}

void RulesGridController::DuplicateRules() {
    SetRangeSelect(false);
    const auto range = RowRange();
    if (!range || !MayLeaveCurrentCell())
        return;
    QApplication::clipboard()->setText(Q(editor_.CopyRows(range->first, range->second)));
    clipboardHoldsCellText_ = false;
    const auto copies = editor_.DuplicateRows(range->first, range->second);
    ShowGrid();
    FocusCellQuietly(std::max(grid_.Col(), 1), copies.first);
    MarkModified();
    btnCheckConsClick();
    ScrollToCurrentRow();
}

void RulesGridController::InvertSign() {
    const auto range = RowRange();
    if (!range || !MayLeaveCurrentCell())
        return;
    editor_.InvertSign(range->first, range->second);
    AfterRowCommand();
}

void RulesGridController::InsertWord(const QString& word) {
    if (!ShowsRulesPage())
        return;
    const TGridRect selection = grid_.Selection();
    if (!editor_.Grid().IsVariableColumn(selection.Left) ||
        !editor_.Grid().IsRuleRow(selection.Top))
        return;
    editor_.InsertWord(selection.Left, selection.Top, word.toStdString());
    grid_.SetCells(selection.Left, selection.Top,
                   Q(editor_.Grid().Cell(selection.Left, selection.Top)));
    if (hooks_.ShowRulesPage)
        hooks_.ShowRulesPage();
    grid_.setFocus();
    grid_.SetEditorMode(true);
    MarkModified();
    btnCheckConsClick();
}

void RulesGridController::DeleteDuplicateRules() {
    if (!CurrentCellValid())
        return;
    if (!editor_.DeleteDuplicateRules())
        return;
    FocusRuleRow(grid_.Row());
    AfterRowCommand();
}

bool RulesGridController::ReadyForRuleBaseCommand() {
    if (ShowsRulesPage())
        return AllRulesComplete();
    // A hidden grid was whole when it was left, and its current cell may since have gone stale.
    // Other pages change the rules (variable bounds, renamed expressions); the hidden grid must
    // not write its older texts back over them.
    editor_.RuleBaseChanged();
    return true;
}

void RulesGridController::DeleteRedundantRules() {
    if (!ReadyForRuleBaseCommand())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (hooks_.StartProgress)
        hooks_.StartProgress(editor_.RuleBase().GetNumRules());
    const bool changed = editor_.DeleteRedundantRules([this](int rule) {
        if (rule % kProgressStride != 0)
            return;
        if (hooks_.StepProgress)
            hooks_.StepProgress(rule);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (hooks_.EndProgress)
        hooks_.EndProgress();
    QApplication::restoreOverrideCursor();
    if (!changed)
        return;
    if (ShowsRulesPage())
        FocusRuleRow(grid_.Row());
    AfterRowCommand();
}

void RulesGridController::MergeInconsistentRules() {
    if (!ReadyForRuleBaseCommand())
        return;
    bool changed = false;
    try {
        changed = editor_.MergeInconsistentRules();
    } catch (const ESyntax& error) {
        toolkit::MessageDlg(Q(error.Message()), "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
    }
    if (!changed)
        return;
    FocusRuleRow(grid_.Row());
    AfterRowCommand();
}

void RulesGridController::ResetUndo() {
    editor_.ResetUndo();
}

void RulesGridController::PushUndoSnapshot() {
    const RulesGridModel& model = editor_.Grid();
    const int column = grid_.Col();
    const int row = grid_.Row();
    const bool valid = model.IsVariableColumn(column) && model.IsRuleRow(row) &&
                       !model.Cell(column, row).empty() && !CheckRuleCell(column, row);
    editor_.PushUndoSnapshot(valid);
}

void RulesGridController::UndoRuleEdit() {
    const bool shown = ShowsRulesPage();
    if (!editor_.UndoRuleEdit(shown) || !shown)
        return;
    ShowGrid();
    ScrollToCurrentRow();
}

void RulesGridController::RedoRuleEdit() {
    const bool shown = ShowsRulesPage();
    if (!editor_.RedoRuleEdit(shown) || !shown)
        return;
    ShowGrid();
    ScrollToCurrentRow();
}

void RulesGridController::RemoveUserExpressionButtons() {
    if (shownUserExpressions_.isEmpty())
        return;
    shownUserExpressions_.clear();
    if (hooks_.ShowUserExpressionButtons)
        hooks_.ShowUserExpressionButtons({});
}

void RulesGridController::ShowUserExpressionButtons(int column) {
    QStringList names;
    if (editor_.Grid().IsVariableColumn(column)) {
        const auto* settings = dynamic_cast<const CBasicSettings*>(
            &editor_.RuleBase().GetSettings(editor_.Grid().VariableIndexOfColumn(column)));
        if (settings) {
            for (const auto& term : settings->Terms())
                names << Q(term->Name());
        }
    }
    // A move within the column keeps its buttons as they are.
    if (names == shownUserExpressions_)
        return;
    shownUserExpressions_ = names;
    if (hooks_.ShowUserExpressionButtons)
        hooks_.ShowUserExpressionButtons(names);
}
