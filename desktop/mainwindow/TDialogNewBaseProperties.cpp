#include "desktop/mainwindow/TDialogNewBaseProperties.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/rulebase/CRuleBase.h"

TDialogNewBaseProperties::TDialogNewBaseProperties(QWidget* parent) : QDialog(parent) {
    setObjectName("DialogNewBaseProperties");
    setWindowTitle("New Rulebase Properties");
    cbTypeOfUnit = new QComboBox(this);
    cbTypeOfUnit->setMinimumWidth(180);
    btOK = new QPushButton("OK", this);
    btOK->setDefault(true);
    btCancel = new QPushButton("Cancel", this);
    auto* kind = new QHBoxLayout;
    kind->addWidget(new QLabel("Type of unit:", this));
    kind->addWidget(cbTypeOfUnit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kind);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    // One choice: the dialog has nothing to give more room to.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TDialogNewBaseProperties::FormCreate() {
    cbTypeOfUnit->clear();
    cbTypeOfUnit->addItem("Linguistic");
    cbTypeOfUnit->addItem("TS-Singleton");
    cbTypeOfUnit->setCurrentIndex(0);
}

std::optional<TypeOfDescription> TDialogNewBaseProperties::GetKind() const {
    switch (cbTypeOfUnit->currentIndex()) {
        case 0:
            return CRuleBase::kLinguistic;
        case 1:
            return CRuleBase::kSingleton;
        default:
            return std::nullopt;
    }
}
