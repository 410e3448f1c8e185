#include "desktop/rules/TRulesPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorPageHost.h"
#include "desktop/rules/RulesTableModel.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/toolkit/UserPrompts.h"

namespace {

// Background of an open editor whose text fails its check.
const QColor kBadEditorColor(255, 215, 215);
constexpr int kImageWidth = 12;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

int DecimalDigits(int n) {
    int digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

}  // namespace

TRulesPage::TRulesPage(EditorPageHost& window, const std::array<QAction*, 4>& showChecks,
                       QProgressBar& progress, QLabel& seconds, QWidget* parent)
    : QWidget(parent),
      window_(window),
      showChecks_(showChecks),
      progress_(progress, seconds),
      editor_(window.RuleBase()),
      model_(std::make_unique<RulesTableModel>(editor_)) {
    BuildControls();
    ConnectView();
}

TRulesPage::~TRulesPage() {
    // The view goes after the model and the page's members: it must call neither back.
    StringGridRules->MayLeaveCurrentCell = nullptr;
    StringGridRules->disconnect(this);
    StringGridRules->selectionModel()->disconnect(this);
    model_->disconnect(this);
}

void TRulesPage::BuildControls() {
    lbRuleForm = new QLabel(this);
    lbRuleForm->setObjectName("lbRuleForm");
    StringGridRules = new RulesTableView(this);
    StringGridRules->setObjectName("StringGridRules");
    StringGridRules->setModel(model_.get());
    LabelErrorMessage = new QLabel(this);
    LabelErrorMessage->setObjectName("LabelErrorMessage");
    LabelGoodPart = new QLabel(this);
    LabelGoodPart->setObjectName("LabelGoodPart");
    LabelBadPart = new QLabel(this);
    LabelBadPart->setObjectName("LabelBadPart");
    LabelBadPart->setStyleSheet("color: red");
    for (QLabel* label : {lbRuleForm, LabelErrorMessage, LabelGoodPart, LabelBadPart})
        label->setTextFormat(Qt::PlainText);
    ButtonAddRule = new QPushButton("Add &rule", this);
    ButtonAddRule->setObjectName("ButtonAddRule");
    ButtonDeleteRule = new QPushButton("&Delete rule", this);
    ButtonDeleteRule->setObjectName("ButtonDeleteRule");

    auto* page = new QVBoxLayout(this);
    page->addWidget(lbRuleForm);
    page->addWidget(StringGridRules, 1);
    auto* checkLine = new QHBoxLayout;
    checkLine->setSpacing(0);
    checkLine->addWidget(LabelErrorMessage);
    checkLine->addSpacing(12);
    checkLine->addWidget(LabelGoodPart);
    checkLine->addWidget(LabelBadPart);
    checkLine->addStretch(1);
    page->addLayout(checkLine);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonAddRule);
    buttons->addWidget(ButtonDeleteRule);
    buttons->addStretch(1);
    page->addLayout(buttons);

    connect(ButtonAddRule, &QPushButton::clicked, this, &TRulesPage::ButtonAddRuleClick);
    connect(ButtonDeleteRule, &QPushButton::clicked, this, &TRulesPage::ButtonDeleteRuleClick);
    for (int tag = 0; tag < int(showChecks_.size()); ++tag) {
        QAction* item = showChecks_[tag];
        if (!item)
            continue;
        // The handler toggles the check mark itself.
        connect(item, &QAction::triggered, this, [this, item, tag] {
            item->setChecked(!item->isChecked());
            RulesInfoClick(tag);
        });
    }
}

void TRulesPage::ConnectView() {
    RulesTableView* view = StringGridRules;
    view->MayLeaveCurrentCell = [this] { return MayLeaveCurrentCell(); };
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TRulesPage::onCurrentChanged);
    connect(model_.get(), &RulesTableModel::cellEdited, this, &TRulesPage::onCellEdited);
    connect(view, &RulesTableView::editorTextEdited, this, &TRulesPage::StringGridRulesSetEditText);
    connect(view, &RulesTableView::escapePressed, this, &TRulesPage::onEscapePressed);
    connect(view, &RulesTableView::deletePressed, this, &TRulesPage::onDeletePressed);
    connect(view, &RulesTableView::insertPressed, this, &TRulesPage::ButtonAddRuleClick);
    connect(view, &RulesTableView::appendRuleRequested, this, &TRulesPage::onAppendRuleRequested);
    connect(view, &RulesTableView::focusLeftBadCell, this, &TRulesPage::StringGridRulesExit);
    connect(view, &RulesTableView::rowHeaderClicked, this, &TRulesPage::onRowHeaderClicked);
    connect(view, &RulesTableView::activeImageClicked, this, &TRulesPage::onActiveImageClicked);
    connect(view, &RulesTableView::columnHeaderClicked, this, &TRulesPage::onColumnHeaderClicked);
}

RulesTableView& TRulesPage::Grid() {
    return *StringGridRules;
}

QAbstractItemModel& TRulesPage::Model() {
    return *model_;
}

bool TRulesPage::ShowsPage() const {
    return window_.ShowsRulesPage();
}

void TRulesPage::MarkModified() {
    window_.MarkModified();
}

QPoint TRulesPage::CurrentCell() const {
    const QModelIndex current = StringGridRules->currentIndex();
    return current.isValid() ? RulesTableModel::CellOf(current) : QPoint(1, 1);
}

QString TRulesPage::CellText(int column, int row) const {
    if (QLineEdit* editor = CellEditor(); editor && CurrentCell() == QPoint(column, row))
        return editor->text();
    return Q(editor_.Grid().Text(column, row));
}

int TRulesPage::RuleRowCount() const {
    return editor_.Grid().RuleRowCount();
}

QLineEdit* TRulesPage::CellEditor() const {
    return StringGridRules->OpenEditor();
}

TRulesPage::ShownCheck TRulesPage::CellCheck() const {
    return {LabelErrorMessage->text(), LabelGoodPart->text(), LabelBadPart->text()};
}

QString TRulesPage::RuleForm() const {
    return lbRuleForm->text();
}

std::string TRulesPage::CurrentText() const {
    if (QLineEdit* editor = CellEditor())
        return editor->text().toStdString();
    const QPoint cell = CurrentCell();
    const RulesGridModel& grid = editor_.Grid();
    return grid.IsVariableColumn(cell.x()) && grid.IsRuleRow(cell.y())
               ? grid.Cell(cell.x(), cell.y())
               : std::string();
}

void TRulesPage::ShowCellCheck(QPoint cell, const std::string& text,
                               const std::optional<ESyntax>& error) {
    StringGridRules->MarkBadCell(error ? model_->IndexOf(cell.x(), cell.y()) : QModelIndex());
    // The open editor covers the cell's mark; it shows it itself.
    if (QLineEdit* editor = CellEditor()) {
        QPalette palette = StringGridRules->palette();
        if (error)
            palette.setColor(QPalette::Base, kBadEditorColor);
        editor->setPalette(palette);
    }
    if (!error) {
        LabelErrorMessage->clear();
        LabelGoodPart->clear();
        LabelBadPart->clear();
        return;
    }
    LabelErrorMessage->setText(Q(error->Message()));
    if (error->Position() != -2) {
        const QString shown = Q(text);
        LabelGoodPart->setText(shown.left(error->Position()));
        LabelBadPart->setText(shown.mid(error->Position()));
    }
}

bool TRulesPage::CurrentCellValid() {
    const QPoint cell = CurrentCell();
    const std::string text = CurrentText();
    // An empty cell only leaves its row incomplete; the labels stay as they are.
    if (text.empty()) {
        if (StringGridRules->BadCell() == model_->IndexOf(cell.x(), cell.y()))
            ShowCellCheck(cell, text, std::nullopt);
        return true;
    }
    const std::optional<ESyntax> error = editor_.CheckText(cell.x(), text);
    ShowCellCheck(cell, text, error);
    if (!error) {
        lastValidCell_ = cell;
        lastValidText_ = text;
    }
    return !error;
}

bool TRulesPage::MayLeaveCurrentCell() {
    // The person works in the grid: Cut, Copy and Paste apply to it.
    if (window_.Host())
        window_.Host()->EnableClipboardActions();
    return CurrentCellValid();
}

void TRulesPage::StringGridRulesExit() {
    // Once the focus has moved: a control of this window gives it back, any other window keeps
    // it (taking it back from there would fight that window).
    QTimer::singleShot(0, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus == StringGridRules || StringGridRules->isAncestorOf(focus) ||
            !window_.Window().isAncestorOf(focus) || CurrentCellValid())
            return;
        if (!ShowsPage())
            window_.ShowRulesPage();
        StringGridRules->setFocus();
    });
}

void TRulesPage::SetCurrent(int column, int row) {
    const RulesGridModel& grid = editor_.Grid();
    if (grid.VariableCount() == 0 || grid.RuleRowCount() == 0)
        return;
    column = std::clamp(column, 1, grid.VariableCount());
    row = std::clamp(row, 1, grid.RuleRowCount());
    const QModelIndex index = model_->IndexOf(column, row);
    StringGridRules->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    StringGridRules->scrollTo(index);
}

void TRulesPage::ShowHeaders() {
    const RulesGridModel& grid = editor_.Grid();
    QHeaderView& columns = *StringGridRules->horizontalHeader();
    const QFontMetrics metrics = StringGridRules->fontMetrics();
    StringGridRules->SetVariableColumns(grid.VariableCount(), grid.InputCount());
    StringGridRules->verticalHeader()->setFixedWidth(
        metrics.horizontalAdvance("0") * DecimalDigits(grid.RuleRowCount()) + 6 +
        metrics.horizontalAdvance(".") + kImageWidth +
        StringGridRules->style()->pixelMetric(QStyle::PM_HeaderMargin));
    if (window_.VariablesChanged()) {
        const int minimumWidth = metrics.horizontalAdvance("  -ex sm  ");
        for (int c = 1; c <= grid.VariableCount(); ++c)
            columns.resizeSection(c - 1, std::max({metrics.horizontalAdvance(Q(grid.Header(c))) + 6,
                                                   minimumWidth, columns.sectionSizeHint(c - 1)}));
        static const char* const kWidest[RulesGridModel::kCheckColumnCount] = {
            "same as 000,", "inconsist with 000,", "redundant with 000,", "redundant with 000,"};
        for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k) {
            const int column = grid.FirstCheckColumn() - 1 + k;
            columns.resizeSection(column, std::max(metrics.horizontalAdvance(kWidest[k]),
                                                   columns.sectionSizeHint(column)));
        }
        window_.SetVariablesChanged(false);
    }
    for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k)
        StringGridRules->setColumnHidden(grid.FirstCheckColumn() - 1 + k,
                                         showChecks_[k] && !showChecks_[k]->isChecked());
    // The form names the connective "&&"; the label shows it as one '&'.
    lbRuleForm->setText(Q(grid.RuleForm()).replace("&&", "&"));
}

void TRulesPage::Rebuild(const std::function<void()>& change, int column, int row) {
    model_->Reset(change);
    ShowHeaders();
    SetCurrent(column, row);
}

void TRulesPage::FillRulesGrid() {
    const QPoint at = CurrentCell();
    {
        const ProgressScope progress(progress_, std::max(editor_.RuleBase().GetNumRules() - 1, 0));
        Rebuild([this] { editor_.FillGrid(); }, at.x(), at.y());
    }
    btnCheckConsClick();
}

void TRulesPage::StoreRulesFromGrid() {
    editor_.StoreGrid();
}

bool TRulesPage::CommitRules() {
    if (!StringGridRules->CommitEditor())
        return false;
    StoreRulesFromGrid();
    return true;
}

void TRulesPage::btnCheckConsClick() {
    for (int k = 0; k < RulesGridModel::kCheckColumnCount; ++k) {
        const bool shown = !showChecks_[k] || showChecks_[k]->isChecked();
        if (editor_.Shown()[k] != shown)
            editor_.SetShown(k, shown);
    }
    const std::uint64_t before = editor_.ChecksRun();
    editor_.RunChecks();
    if (editor_.ChecksRun() != before)
        model_->ChecksChanged();
}

void TRulesPage::RulesInfoClick(int tag) {
    QAction* item = showChecks_[tag];
    if (!item)
        return;
    StringGridRules->setColumnHidden(editor_.Grid().FirstCheckColumn() - 1 + tag,
                                     item->isChecked());
    item->setChecked(!item->isChecked());
    btnCheckConsClick();
}

std::optional<RulesEditor::CellFault> TRulesPage::CellHoldingTheGrid() {
    const QPoint cell = CurrentCell();
    if (auto fault = editor_.CellFaultAt(cell.x(), cell.y(), CurrentText()))
        return fault;
    return editor_.FirstIncompleteCell();
}

void TRulesPage::GoToCell(const RulesEditor::CellFault& fault) {
    window_.ShowRulesPage();
    if (QPoint(fault.column, fault.row) != CurrentCell()) {
        StringGridRules->RevertEditor();
        SetCurrent(fault.column, fault.row);
    }
    // Back into the cell as it was left: typing goes on in an editor that is open there.
    if (QLineEdit* editor = CellEditor())
        editor->setFocus();
    else
        StringGridRules->setFocus();
    StringGridRules->scrollTo(StringGridRules->currentIndex());
    // The labels split a text that fails its check into its good and its bad part.
    if (!CurrentCellValid())
        return;
    StringGridRules->MarkBadCell(model_->IndexOf(fault.column, fault.row));
    LabelErrorMessage->setText(Q(fault.message));
    LabelGoodPart->clear();
    LabelBadPart->clear();
}

bool TRulesPage::AllRulesComplete() {
    const auto fault = CellHoldingTheGrid();
    if (!fault)
        return true;
    GoToCell(*fault);
    return false;
}

bool TRulesPage::GridFocused() const {
    const QWidget* active = window_.ActiveControl();
    return active && (active == StringGridRules || StringGridRules->isAncestorOf(active));
}

std::optional<std::string> TRulesPage::GoToCellHoldingTheWindow() {
    // A hidden grid was whole when it was left, and its current cell may since have gone stale
    // through edits of the variables; the rules it holds are checked when they are saved.
    if (!ShowsPage())
        return std::nullopt;
    if (StringGridRules->CommitEditor())
        StoreRulesFromGrid();
    const auto fault = CellHoldingTheGrid();
    if (!fault)
        return std::nullopt;
    GoToCell(*fault);
    // A cell that fails has a way out besides correcting it.
    if (fault->column == CurrentCell().x() && fault->row == CurrentCell().y() &&
        !CurrentCellValid())
        return fault->message + ". Escape in the cell gives it back its last valid text";
    return fault->message;
}

std::optional<std::string> TRulesPage::GoToCellKeepingTheRulesFromAFile() {
    // A shown grid is the working copy; a hidden one was stored when it was left, and other
    // pages may have changed the rules since.
    std::optional<RulesEditor::CellFault> fault;
    if (ShowsPage()) {
        StringGridRules->CommitEditor();
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

QStringList TRulesPage::UserExpressionNames() const {
    QStringList names;
    const QPoint cell = CurrentCell();
    if (!ShowsPage() || !editor_.Grid().IsVariableColumn(cell.x()))
        return names;
    const auto* settings = dynamic_cast<const CBasicSettings*>(
        &editor_.RuleBase().GetSettings(editor_.Grid().VariableIndexOfColumn(cell.x())));
    if (settings) {
        for (const auto& term : settings->Terms())
            names << Q(term->Name());
    }
    return names;
}

void TRulesPage::SetEditingEnabled(bool enabled) {
    ButtonAddRule->setEnabled(enabled);
    ButtonDeleteRule->setEnabled(enabled);
}

void TRulesPage::TabSheetRulesEnter() {
    FillRulesGrid();
    emit userExpressionsChanged();
}

bool TRulesPage::PageControlChanging() {
    if (!StringGridRules->CommitEditor() || !AllRulesComplete())
        return false;
    StoreRulesFromGrid();
    return true;
}

void TRulesPage::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!current.isValid())
        return;
    // A cell of its own ends a selection of whole rows and anchors the next one.
    if (!selectingRows_) {
        rowsSelected_ = false;
        anchorRow_ = current.row() + 1;
    }
    // A cell moved to shows its own check; one that passes clears the labels.
    const QPoint cell = RulesTableModel::CellOf(current);
    const std::string text = CurrentText();
    const std::optional<ESyntax> error = editor_.CheckText(cell.x(), text);
    ShowCellCheck(cell, text, error);
    if (!error) {
        lastValidCell_ = cell;
        lastValidText_ = text;
    }
    if (!previous.isValid() || previous.column() != current.column())
        emit userExpressionsChanged();
}

void TRulesPage::onCellEdited(int column, int row) {
    rowsSelected_ = false;
    lastValidCell_ = QPoint(column, row);
    lastValidText_ = editor_.Grid().Cell(column, row);
    btnCheckConsClick();
    MarkModified();
}

void TRulesPage::StringGridRulesSetEditText() {
    // Typing into one cell of selected rows leaves that cell alone selected.
    if (std::exchange(rowsSelected_, false))
        StringGridRules->selectionModel()->select(StringGridRules->currentIndex(),
                                                  QItemSelectionModel::ClearAndSelect);
    CurrentCellValid();
    // Typing is a change the Save command must see, before the cell commits it.
    MarkModified();
}

void TRulesPage::onEscapePressed() {
    const QPoint cell = CurrentCell();
    const RulesGridModel& grid = editor_.Grid();
    if (!grid.IsVariableColumn(cell.x()) || !grid.IsRuleRow(cell.y()) ||
        !editor_.CheckCell(cell.x(), cell.y())) {
        CurrentCellValid();
        return;
    }
    // The cell itself holds a text that fails (pasted, or left so by a change of its variable):
    // it gets back the last text that passed there, which releases it.
    const std::string restored = lastValidCell_ == cell ? lastValidText_ : std::string();
    model_->setData(model_->IndexOf(cell.x(), cell.y()), Q(restored), Qt::EditRole);
    CurrentCellValid();
}

void TRulesPage::onDeletePressed() {
    if (SelectionSpansColumns()) {
        ButtonDeleteRuleClick();
        return;
    }
    if (!editor_.Grid().IsVariableColumn(CurrentCell().x()))
        return;
    // The editor opens empty; Escape brings the text back.
    if (QLineEdit* editor = OpenCellEditor()) {
        editor->clear();
        StringGridRulesSetEditText();
    }
}

void TRulesPage::onAppendRuleRequested() {
    model_->InsertRules(editor_.Grid().RuleRowCount(), 1);
    ShowHeaders();
    btnCheckConsClick();
    MarkModified();
}

void TRulesPage::onRowHeaderClicked(int row, Qt::KeyboardModifiers modifiers) {
    if (!StringGridRules->CommitEditor() || !MayLeaveCurrentCell())
        return;
    const int clicked = row + 1;
    int top = clicked;
    int bottom = clicked;
    if (modifiers & Qt::ShiftModifier) {
        top = std::min(anchorRow_, clicked);
        bottom = std::max(anchorRow_, clicked);
    } else {
        anchorRow_ = clicked;
    }
    const int last = editor_.Grid().VariableCount();
    const QScopedValueRollback<bool> selecting(selectingRows_, true);
    SetCurrent(last, clicked);
    StringGridRules->selectionModel()->select(
        QItemSelection(model_->IndexOf(1, top), model_->IndexOf(last, bottom)),
        QItemSelectionModel::ClearAndSelect);
    rowsSelected_ = true;
    StringGridRules->setFocus();
}

void TRulesPage::onActiveImageClicked(int row) {
    model_->ToggleActive(row + 1);
    MarkModified();
}

void TRulesPage::onColumnHeaderClicked(int column) {
    if (!ReadyForCommand())
        return;
    const QPoint at = CurrentCell();
    Rebuild([this, column] { editor_.Sort(column + 1); }, at.x(), at.y());
    MarkModified();
    btnCheckConsClick();
}

std::optional<std::pair<int, int>> TRulesPage::RowRange() const {
    const int rules = editor_.Grid().RuleRowCount();
    int top = CurrentCell().y();
    int bottom = top;
    for (const QItemSelectionRange& range : StringGridRules->selectionModel()->selection()) {
        top = std::min(top, range.top() + 1);
        bottom = std::max(bottom, range.bottom() + 1);
    }
    top = std::max(top, 1);
    bottom = std::min(bottom, rules);
    if (top > bottom)
        return std::nullopt;
    return std::pair{top, bottom};
}

bool TRulesPage::SelectionSpansColumns() const {
    for (const QItemSelectionRange& range : StringGridRules->selectionModel()->selection()) {
        if (range.left() != range.right() ||
            range.left() != StringGridRules->currentIndex().column())
            return true;
    }
    return false;
}

bool TRulesPage::ReadyForCommand() {
    return StringGridRules->CommitEditor() && MayLeaveCurrentCell();
}

bool TRulesPage::RowCommand(const std::function<bool()>& change, int row) {
    bool changed = false;
    Rebuild([&] { changed = change(); }, CurrentCell().x(), row);
    if (!changed)
        return false;
    // The selected rows are gone or changed: a paste now goes in after the current row.
    rowsSelected_ = false;
    MarkModified();
    btnCheckConsClick();
    StringGridRules->scrollTo(StringGridRules->currentIndex());
    return true;
}

void TRulesPage::ButtonAddRuleClick() {
    if (!ReadyForCommand())
        return;
    const auto range = RowRange();
    const int after = range ? range->first : 0;
    model_->InsertRules(after, 1);
    ShowHeaders();
    SetCurrent(1, after + 1);
    StringGridRules->setFocus();
    btnCheckConsClick();
    MarkModified();
}

void TRulesPage::ButtonDeleteRuleClick() {
    const auto range = RowRange();
    if (range && ReadyForCommand())
        RowCommand([&] { return editor_.DeleteRules(range->first, range->second); }, range->first);
}

void TRulesPage::DeleteRules() {
    QLineEdit* editor = CellEditor();
    if (!editor && SelectionSpansColumns()) {
        ButtonDeleteRuleClick();
    } else if (!editor) {
        onDeletePressed();
    } else if (editor->hasSelectedText()) {
        // Like the edit box's own clear: the selected part goes, the rest of the typing stays.
        editor->del();
        StringGridRulesSetEditText();
    }
}

void TRulesPage::CopyRowsToClipboard(int top, int bottom) {
    QApplication::clipboard()->setText(Q(editor_.CopyRows(top, bottom)));
    clipboardHoldsCellText_ = false;
}

void TRulesPage::CopyRules() {
    if (QLineEdit* editor = CellEditor()) {
        QApplication::clipboard()->setText(editor->text());
        clipboardHoldsCellText_ = true;
        return;
    }
    const auto range = RowRange();
    if (range && MayLeaveCurrentCell())
        CopyRowsToClipboard(range->first, range->second);
}

void TRulesPage::CutRules() {
    const auto range = RowRange();
    if (!range || !ReadyForCommand())
        return;
    CopyRowsToClipboard(range->first, range->second);
    RowCommand([&] { return editor_.DeleteRules(range->first, range->second); }, range->first);
}

void TRulesPage::PasteRules() {
    const QString text = QApplication::clipboard()->text();
    if (QLineEdit* editor = CellEditor(); editor && !rowsSelected_) {
        if (clipboardHoldsCellText_) {
            editor->setText(text);
            StringGridRulesSetEditText();
        }
        return;
    }
    if (!rowsSelected_ && clipboardHoldsCellText_)
        return;
    const auto range = RowRange();
    if (!range || !ReadyForCommand())
        return;
    std::optional<std::pair<int, int>> pasted;
    const bool replace = rowsSelected_;
    if (!RowCommand(
            [&] {
                pasted =
                    editor_.PasteRows(text.toStdString(), range->first, range->second, replace);
                return pasted.has_value();
            },
            range->first + (replace ? 0 : 1)))
        return;
    // The first pasted cell that fails is corrected first.
    SetCurrent(1, pasted->first);
    for (int r = pasted->first; r <= pasted->second; ++r) {
        for (int c = 1; c <= editor_.Grid().VariableCount(); ++c) {
            if (editor_.CheckCell(c, r)) {
                SetCurrent(c, r);
                return;
            }
        }
    }
}

void TRulesPage::DeleteEmptyRules() {
    if (ReadyForCommand())
        RowCommand([this] { return editor_.DeleteEmptyRows(); }, CurrentCell().y());
}

void TRulesPage::DuplicateRules() {
    rowsSelected_ = false;
    const auto range = RowRange();
    if (!range || !ReadyForCommand())
        return;
    CopyRowsToClipboard(range->first, range->second);
    std::pair<int, int> copies;
    RowCommand(
        [&] {
            copies = editor_.DuplicateRows(range->first, range->second);
            return true;
        },
        range->second);
    SetCurrent(CurrentCell().x(), copies.first);
}

void TRulesPage::InvertSign() {
    const auto range = RowRange();
    if (range && ReadyForCommand())
        RowCommand([&] { return editor_.InvertSign(range->first, range->second); },
                   CurrentCell().y());
}

void TRulesPage::InsertWord(const QString& word) {
    if (!ShowsPage())
        return;
    const QPoint cell = CurrentCell();
    const std::optional<std::string> merged =
        editor_.WithWord(cell.x(), CurrentText(), word.toStdString());
    // A word that changes nothing (a connective the cell cannot take, another rule base's
    // expression) is no edit.
    if (!merged)
        return;
    StringGridRules->setFocus();
    if (QLineEdit* editor = OpenCellEditor()) {
        editor->setText(Q(*merged));
        StringGridRulesSetEditText();
    }
}

void TRulesPage::MoveToNextCell() {
    if (ShowsPage())
        StringGridRules->MoveToNextCell();
}

QLineEdit* TRulesPage::OpenCellEditor() {
    return StringGridRules->EditCurrent();
}

bool TRulesPage::SelectCell(int column, int row) {
    const RulesGridModel& grid = editor_.Grid();
    if (!grid.IsVariableColumn(column) || !grid.IsRuleRow(row))
        return false;
    if (QPoint(column, row) == CurrentCell())
        return true;
    if (!StringGridRules->CommitEditor() || !MayLeaveCurrentCell())
        return false;
    rowsSelected_ = false;
    SetCurrent(column, row);
    return true;
}

bool TRulesPage::ReadyForRuleBaseCommand() {
    if (ShowsPage())
        return StringGridRules->CommitEditor() && AllRulesComplete();
    // A hidden grid was whole when it was left, and its current cell may since have gone stale.
    // Other pages change the rules (variable bounds, renamed expressions); the hidden grid must
    // not write its older texts back over them.
    editor_.RuleBaseChanged();
    return true;
}

void TRulesPage::DeleteDuplicateRules() {
    if (ReadyForCommand())
        RowCommand([this] { return editor_.DeleteDuplicateRules(); }, CurrentCell().y());
}

void TRulesPage::DeleteRedundantRules() {
    if (!ReadyForRuleBaseCommand())
        return;
    const ProgressScope scope(progress_, editor_.RuleBase().GetNumRules());
    RowCommand(
        [this] {
            return editor_.DeleteRedundantRules([this](int rule) { progress_.StepProgress(rule); });
        },
        CurrentCell().y());
}

void TRulesPage::MergeInconsistentRules() {
    if (!ReadyForRuleBaseCommand())
        return;
    try {
        RowCommand([this] { return editor_.MergeInconsistentRules(); }, CurrentCell().y());
    } catch (const ESyntax& error) {
        toolkit::MessageDlg(Q(error.Message()), "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
    }
}

void TRulesPage::PushUndoSnapshot() {
    // Edits made while the window is built, before the grid holds the rules, keep nothing.
    if (editor_.Grid().VariableCount() == 0)
        return;
    if (!undoStarted_) {
        undoStarted_ = true;
        editor_.ResetUndo();
        return;
    }
    const QPoint cell = CurrentCell();
    const RulesGridModel& grid = editor_.Grid();
    const bool valid = grid.IsVariableColumn(cell.x()) && grid.IsRuleRow(cell.y()) &&
                       !grid.Cell(cell.x(), cell.y()).empty() &&
                       !editor_.CheckCell(cell.x(), cell.y());
    editor_.PushUndoSnapshot(valid);
}

void TRulesPage::StepUndo(bool (RulesEditor::*step)(bool refillGrid)) {
    // The typing in an open editor is the last change: a text that passes is committed, so that
    // redo brings it back; one that fails is dropped as Escape drops it.
    if (CellEditor() && !StringGridRules->CommitEditor()) {
        StringGridRules->RevertEditor();
        onEscapePressed();
        return;
    }
    bool changed = false;
    if (ShowsPage())
        Rebuild([&] { changed = (editor_.*step)(true); }, CurrentCell().x(), CurrentCell().y());
    else
        changed = (editor_.*step)(false);
    if (changed)
        MarkModified();
}

void TRulesPage::UndoRuleEdit() {
    StepUndo(&RulesEditor::UndoRuleEdit);
}

void TRulesPage::RedoRuleEdit() {
    StepUndo(&RulesEditor::RedoRuleEdit);
}
