#pragma once

#include <QStyledItemDelegate>

// Draws and edits the cells of the user-expressions grid: a parameter cell whose text is no
// number is framed in red, and its editor shows such a text in red while it is typed.
class UserTermsDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
