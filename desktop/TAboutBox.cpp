#include "desktop/TAboutBox.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    auto* product = new QLabel("TAVO for Win32", this);
    QFont large = product->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    product->setFont(large);
    auto* purpose = new QLabel(
        "Design, checking, learning and testing of fuzzy rule bases\n"
        "written in evaluative linguistic expressions.",
        this);
    auto* version = new QLabel("Version: 1.2", this);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 12);
    layout->addWidget(product);
    layout->addSpacing(6);
    layout->addWidget(purpose);
    layout->addSpacing(10);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}
