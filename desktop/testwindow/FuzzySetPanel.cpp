#include "desktop/testwindow/FuzzySetPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "core/rulebase/CRuleBase.h"
#include "desktop/testwindow/FuzzySetPanelLayout.h"

FuzzySetPanel::FuzzySetPanel(QWidget* owner, const CRuleBase& ruleBase, int variableIndex)
    : QFrame(owner),
      ruleBase_(ruleBase),
      variableIndex_(variableIndex),
      lo_(ruleBase.GetLowerBound(variableIndex)),
      hi_(ruleBase.GetUpperBound(variableIndex)),
      nameLabel_(new QLabel(QStringLiteral("Name: "), this)),
      nameEdit_(new QLineEdit(this)),
      valueLabel_(new QLabel(QStringLiteral("Value: "), this)),
      valueEdit_(new QLineEdit(this)),
      expressionLabel_(new QLabel(QStringLiteral("Typical expression: "), this)),
      expressionEdit_(new QLineEdit(this)) {
    setFrameShape(QFrame::StyledPanel);
    // The labels must end before the box's axis begins, 115 pixels in.
    QFont compact = font();
    compact.setPointSize(std::min(compact.pointSize(), 8));
    setFont(compact);
    nameEdit_->setText(QString::fromStdString(ruleBase.GetVariableName(variableIndex)));
    nameEdit_->setEnabled(false);
    expressionEdit_->setEnabled(false);
}

const CSettings& FuzzySetPanel::Settings() const {
    return ruleBase_.GetSettings(variableIndex_);
}

bool FuzzySetPanel::ReadRange() {
    // The name may have been edited meanwhile too.
    const QString name = QString::fromStdString(ruleBase_.GetVariableName(variableIndex_));
    if (nameEdit_->text() != name)
        nameEdit_->setText(name);
    const double lo = ruleBase_.GetLowerBound(variableIndex_);
    const double hi = ruleBase_.GetUpperBound(variableIndex_);
    if (lo == lo_ && hi == hi_)
        return false;
    lo_ = lo;
    hi_ = hi;
    return true;
}

void FuzzySetPanel::resizeEvent(QResizeEvent*) {
    std::array<QWidget*, 6> children = {nameLabel_, nameEdit_,        valueLabel_,
                                        valueEdit_, expressionLabel_, expressionEdit_};
    std::array<QSize, 6> sizes;
    for (std::size_t k = 0; k < children.size(); ++k)
        sizes[k] = children[k]->sizeHint();
    const FuzzySetPanelPlacement placement = PlaceFuzzySetPanel(size(), sizes);
    for (std::size_t k = 0; k < children.size(); ++k)
        children[k]->setGeometry(placement.children[k]);
    if (box_)
        box_->setGeometry(placement.box);
}
