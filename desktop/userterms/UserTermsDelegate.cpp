#include "desktop/userterms/UserTermsDelegate.h"

#include <QLineEdit>
#include <QPainter>

#include "desktop/toolkit/Conversions.h"
#include "desktop/userterms/UserTermsModel.h"

void UserTermsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!index.data(UserTermsModel::NotANumberRole).toBool())
        return;
    painter->save();
    painter->setPen(QPen(Qt::red, 2));
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
}

QWidget* UserTermsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || !UserTermsModel::IsParameterColumn(index.column()))
        return editor;
    const QColor normal = line->palette().color(QPalette::Text);
    connect(line, &QLineEdit::textChanged, line, [line, normal](const QString& text) {
        double value = 0.0;
        const bool number = text.trimmed().isEmpty() || toolkit::TryStrToFloat(text, value);
        QPalette colours = line->palette();
        colours.setColor(QPalette::Text, number ? normal : QColor(Qt::red));
        line->setPalette(colours);
    });
    return editor;
}
