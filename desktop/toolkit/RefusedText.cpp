#include "desktop/toolkit/RefusedText.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QString>

namespace toolkit {
namespace {

const QColor kRefusedBackground(255, 210, 210);

}  // namespace

void MarkRefusedText(QLineEdit& edit, const QString& reason) {
    // An empty palette inherits every colour again.
    QPalette colours;
    if (!reason.isEmpty()) {
        colours = edit.palette();
        colours.setColor(QPalette::Base, kRefusedBackground);
    }
    edit.setPalette(colours);
    edit.setToolTip(reason);
}

bool IsMarkedRefused(const QLineEdit& edit) {
    return edit.palette().color(QPalette::Base) == kRefusedBackground;
}

}  // namespace toolkit
