#include "desktop/editor/TVariablePage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "desktop/editor/VariablesModel.h"

namespace {

constexpr int kColumnWidths[] = {146, 64, 31, 31, 79};

}  // namespace

TVariablePage::TVariablePage(const CRuleBase& ruleBase, bool outputs, QWidget* parent)
    : QWidget(parent), model_(new VariablesModel(ruleBase, outputs, this)) {
    grid_ = new QTableView(this);
    grid_->setObjectName(outputs ? "StringGridOutputVar" : "StringGridInputVar");
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setHighlightSections(false);
    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& caption, const char* name,
                               void (TVariablePage::*requested)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, requested);
        return button;
    };
    if (!outputs) {
        addButton("&Add variable", "ButtonAddVar", &TVariablePage::addVariableRequested);
        addButton("&Delete variable", "ButtonDeleteVar", &TVariablePage::deleteVariableRequested);
    }
    QPushButton* edit =
        addButton("&Edit variable", outputs ? "ButtonEditOutputVar" : "ButtonEditInputVar",
                  &TVariablePage::editVariableRequested);
    buttons->addStretch(1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(grid_, 1);
    page->addLayout(buttons);
    // A double click is the Edit button's: nothing while a test window holds the rule base.
    connect(grid_, &QAbstractItemView::doubleClicked, edit, &QPushButton::click);
    // A click beside the rows clears the selection; the row that Edit and Delete name stays
    // shown as selected.
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!grid_->selectionModel()->hasSelection() && SelectedRow() >= 0)
            SelectRow(SelectedRow());
    });
    Fill();
}

void TVariablePage::Fill() {
    const int row = SelectedRow();
    model_->Refill();
    SelectRow(std::min(std::max(row, 0), model_->rowCount() - 1));
    FitColumns();
}

void TVariablePage::FitColumns() {
    // The designed widths are a floor: bounds such as "-1000.00" must not be cut off.
    QHeaderView& header = *grid_->horizontalHeader();
    int boundWidth = kColumnWidths[VariablesModel::LowColumn];
    for (int col : {VariablesModel::LowColumn, VariablesModel::HighColumn}) {
        grid_->resizeColumnToContents(col);
        boundWidth = std::max(boundWidth, header.sectionSize(col));
    }
    for (int col = 0; col < model_->columnCount(); ++col) {
        const bool bound = col == VariablesModel::LowColumn || col == VariablesModel::HighColumn;
        header.resizeSection(col, bound ? boundWidth : kColumnWidths[col]);
    }
}

int TVariablePage::SelectedRow() const {
    return grid_->currentIndex().row();
}

void TVariablePage::SelectRow(int row) {
    grid_->setCurrentIndex(model_->index(row, 0));
}

void TVariablePage::SetEditingEnabled(bool enabled) {
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setEnabled(enabled);
}
