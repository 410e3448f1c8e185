#pragma once

class QLineEdit;
class QString;

namespace toolkit {

// Marks an edit whose text the program cannot use, in the one way the program does it: a light
// red background, and the reason, with what is used instead, in its tool tip. An empty reason
// takes the mark away.
void MarkRefusedText(QLineEdit& edit, const QString& reason);
bool IsMarkedRefused(const QLineEdit& edit);

}  // namespace toolkit
