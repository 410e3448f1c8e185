#include "desktop/rules/RulesTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

#include "desktop/rules/RulesTableModel.h"

namespace {

constexpr int kRowHeight = 22;
constexpr int kImageSize = 12;
// Right margin of the active-rule image in the number column.
constexpr int kImageMargin = 3;
// Background of a cell whose expression fails its check.
const QColor kBadCellColor(255, 215, 215);

// The program's Undo and Redo: an open cell editor leaves them to the menu rather than taking
// Ctrl+U as its own "delete the line".
const std::array<QKeyCombination, 2> kRuleUndoKeys = {
    QKeyCombination(Qt::ControlModifier, Qt::Key_U),
    QKeyCombination(Qt::ControlModifier, Qt::Key_R)};

enum class RuleImageKind { kActive, kInactive, kBadCell };

QPixmap RuleImage(RuleImageKind kind) {
    QPixmap image(kImageSize, kImageSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dot(1.5, 1.5, kImageSize - 3, kImageSize - 3);
    switch (kind) {
        case RuleImageKind::kBadCell:
            painter.setPen(QPen(QColor(140, 0, 0), 1));
            painter.setBrush(QColor(220, 30, 30));
            break;
        case RuleImageKind::kActive:
            painter.setPen(QPen(QColor(0, 100, 0), 1));
            painter.setBrush(QColor(40, 170, 40));
            break;
        case RuleImageKind::kInactive:
            painter.setPen(QPen(QColor(120, 120, 120), 1));
            painter.setBrush(Qt::NoBrush);
            break;
    }
    painter.drawEllipse(dot);
    return image;
}

// Cells: the bad cell pink in a red frame, the bar after the last input, and a frameless line
// edit whose every keystroke is reported.
class RulesItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int separatorColumn = -1;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName("RuleCellEditor");
        editor->setFrame(false);
        connect(editor, &QLineEdit::textEdited, this, &RulesItemDelegate::textEdited);
        return editor;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto* view = qobject_cast<const RulesTableView*>(option.widget);
        if (view && view->BadCell() == index) {
            painter->fillRect(option.rect, kBadCellColor);
            painter->setPen(QPen(Qt::red, 2));
            painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
            painter->setPen(Qt::darkRed);
            painter->drawText(option.rect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              index.data().toString());
        } else {
            QStyledItemDelegate::paint(painter, option, index);
        }
        if (index.column() == separatorColumn)
            painter->fillRect(option.rect.right() - 1, option.rect.top(), 2,
                              option.rect.height() + 1, Qt::black);
    }

  signals:
    void textEdited(const QString& text);

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        // An editor whose text may not leave its cell stays open and keeps its place as the
        // focus to come back to, whatever took the focus (a message box, another window).
        // No view while it is torn down: its editor then goes without a word.
        auto* view = qobject_cast<RulesTableView*>(parent());
        if (view && event->type() == QEvent::FocusOut && object == view->OpenEditor() &&
            !view->EditorMayClose()) {
            emit view->focusLeftBadCell();
            return false;
        }
        if (event->type() == QEvent::ShortcutOverride &&
            std::ranges::find(kRuleUndoKeys, static_cast<QKeyEvent*>(event)->keyCombination()) !=
                kRuleUndoKeys.end()) {
            event->ignore();
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

// Row headers: the rule's number, its image at the right; a click on the image switches the
// rule, a click beside it selects rows.
class RulesRowHeader : public QHeaderView {
    Q_OBJECT

  public:
    explicit RulesRowHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent),
          images_{RuleImage(RuleImageKind::kActive), RuleImage(RuleImageKind::kInactive),
                  RuleImage(RuleImageKind::kBadCell)} {
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSectionResizeMode(QHeaderView::Fixed);
        setDefaultSectionSize(kRowHeight);
        setMinimumSectionSize(kRowHeight);
    }

    QRect ImageRect(int row) const {
        const int top = sectionViewportPosition(row);
        return {width() - kImageSize - kImageMargin, top + (sectionSize(row) - kImageSize) / 2,
                kImageSize, kImageSize};
    }

  signals:
    void rowClicked(int row, Qt::KeyboardModifiers modifiers);
    void imageClicked(int row);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        painter->save();
        QHeaderView::paintSection(painter, rect, section);
        painter->restore();
        RuleImageKind image =
            model()->headerData(section, orientation(), RulesTableModel::kActiveRole).toBool()
                ? RuleImageKind::kActive
                : RuleImageKind::kInactive;
        const auto* view = qobject_cast<const RulesTableView*>(parent());
        if (view && view->BadCell().isValid() && view->BadCell().row() == section)
            image = RuleImageKind::kBadCell;
        painter->drawPixmap(rect.right() - kImageSize - kImageMargin + 1,
                            rect.top() + (rect.height() - kImageSize) / 2,
                            images_[static_cast<std::size_t>(image)]);
    }

    void mousePressEvent(QMouseEvent* event) override {
        const int row = logicalIndexAt(event->position().toPoint());
        if (event->button() != Qt::LeftButton || row < 0)
            return;
        if (ImageRect(row).contains(event->position().toPoint()))
            emit imageClicked(row);
        else
            emit rowClicked(row, event->modifiers());
    }

  private:
    std::array<QPixmap, 3> images_;
};

}  // namespace

RulesTableView::RulesTableView(QWidget* parent) : QTableView(parent) {
    auto* rows = new RulesRowHeader(this);
    setVerticalHeader(rows);
    auto* delegate = new RulesItemDelegate(this);
    setItemDelegate(delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    // A header click sorts; it never selects a column or moves the current cell.
    disconnect(horizontalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(horizontalHeader(), &QHeaderView::sectionEntered, this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            &RulesTableView::columnHeaderClicked);
    connect(rows, &RulesRowHeader::rowClicked, this, &RulesTableView::rowHeaderClicked);
    connect(rows, &RulesRowHeader::imageClicked, this, &RulesTableView::activeImageClicked);
    connect(delegate, &RulesItemDelegate::textEdited, this, &RulesTableView::editorTextEdited);
}

void RulesTableView::SetVariableColumns(int count, int inputs) {
    variableColumns_ = count;
    static_cast<RulesItemDelegate*>(itemDelegate())->separatorColumn = inputs - 1;
}

QLineEdit* RulesTableView::OpenEditor() const {
    return state() == EditingState ? qobject_cast<QLineEdit*>(indexWidget(currentIndex()))
                                   : nullptr;
}

bool RulesTableView::CommitEditor() {
    QLineEdit* editor = OpenEditor();
    if (!editor)
        return true;
    if (!MayLeave())
        return false;
    QTableView::commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    return true;
}

void RulesTableView::RevertEditor() {
    if (QLineEdit* editor = OpenEditor())
        QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

QLineEdit* RulesTableView::EditCurrent() {
    if (!OpenEditor())
        QTableView::edit(currentIndex());
    return OpenEditor();
}

void RulesTableView::MarkBadCell(const QModelIndex& index) {
    if (QModelIndex(badCell_) == index)
        return;
    for (const QModelIndex& changed : {QModelIndex(badCell_), index}) {
        if (!changed.isValid())
            continue;
        viewport()->update(visualRect(changed));
        verticalHeader()->viewport()->update();
    }
    badCell_ = index;
}

void RulesTableView::MoveToNextCell() {
    if (!CommitEditor())
        return;
    const QModelIndex next = moveCursor(MoveNext, Qt::NoModifier);
    if (next.isValid() && next != currentIndex())
        setCurrentIndex(next);
}

QRect RulesTableView::ActiveImageRect(int row) const {
    return static_cast<const RulesRowHeader*>(verticalHeader())->ImageRect(row);
}

QModelIndex RulesTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    const int last = variableColumns_ - 1;
    if (!current.isValid() || last < 0)
        return QTableView::moveCursor(action, modifiers);
    const int row = current.row();
    const int column = current.column();
    QModelIndex target;
    if (action == MoveNext) {
        if (column < last) {
            target = model()->index(row, column + 1);
        } else if (row + 1 < model()->rowCount()) {
            target = model()->index(row + 1, 0);
        } else {
            if (!MayLeave())
                return current;
            emit appendRuleRequested();
            target = model()->index(row + 1, 0);
        }
    } else if (action == MovePrevious) {
        target = column > 0 ? model()->index(row, column - 1)
                 : row > 0  ? model()->index(row - 1, last)
                            : current;
    } else {
        target = QTableView::moveCursor(action, modifiers);
        // The check columns are never current.
        if (target.isValid() && target.column() > last)
            target = model()->index(target.row(), last);
    }
    if (!target.isValid())
        return current;
    if (target != current && !MayLeave())
        return current;
    return target;
}

void RulesTableView::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && event->key() == Qt::Key_Insert) {
        emit insertPressed();
        return;
    }
    if (!OpenEditor() && plain) {
        if (event->key() == Qt::Key_Delete) {
            emit deletePressed();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            emit escapePressed();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void RulesTableView::FocusCurrent() {
    if (QLineEdit* editor = OpenEditor())
        editor->setFocus();
    else
        setFocus();
}

void RulesTableView::mousePressEvent(QMouseEvent* event) {
    pressRefused_ = false;
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && target != currentIndex()) {
        if (!MayLeave()) {
            // Refused where the person looks: the typing goes on in the cell they see.
            pressRefused_ = true;
            FocusCurrent();
            return;
        }
        if (target.column() >= variableColumns_) {
            setCurrentIndex(model()->index(target.row(), variableColumns_ - 1));
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void RulesTableView::mouseMoveEvent(QMouseEvent* event) {
    if (pressRefused_)
        return;
    if (event->buttons() & Qt::LeftButton) {
        const QModelIndex target = indexAt(event->position().toPoint());
        if (target.isValid() && target != currentIndex() && !MayLeave())
            return;
    }
    QTableView::mouseMoveEvent(event);
}

void RulesTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (std::exchange(pressRefused_, false))
        return;
    QTableView::mouseReleaseEvent(event);
}

void RulesTableView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // Leaving the grid is refused as a move is, while no editor shows the cell that fails.
    if (!OpenEditor() && event->reason() != Qt::ActiveWindowFocusReason &&
        event->reason() != Qt::PopupFocusReason && !MayLeave())
        emit focusLeftBadCell();
}

void RulesTableView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // The typing goes on where it was, also when the window gives the focus back to the view.
    if (QLineEdit* editor = OpenEditor())
        editor->setFocus();
}

bool RulesTableView::focusNextPrevChild(bool next) {
    if (tabKeyNavigation() && !MayLeave())
        return true;
    return QTableView::focusNextPrevChild(next);
}

bool RulesTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the current cell is ever edited: a double click on another is a move first.
    if (index != currentIndex())
        return false;
    return QTableView::edit(index, trigger, event);
}

void RulesTableView::commitData(QWidget* editor) {
    if (editor == OpenEditor() && !MayLeave())
        return;
    QTableView::commitData(editor);
}

void RulesTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint != QAbstractItemDelegate::RevertModelCache && editor == OpenEditor() && !MayLeave())
        return;
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache)
        emit escapePressed();
}

#include "RulesTableView.moc"
