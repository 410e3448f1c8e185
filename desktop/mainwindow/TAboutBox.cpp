#include "desktop/mainwindow/TAboutBox.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/SpeedButtonGlyphs.h"

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
    auto* picture = new QLabel(this);
    picture->setPixmap(ApplicationGlyph().pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addSpacing(6);
    texts->addWidget(purpose);
    texts->addSpacing(10);
    texts->addWidget(version);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 20, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}
