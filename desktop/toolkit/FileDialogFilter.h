#pragma once

#include <QString>
#include <QStringList>

namespace toolkit {

// "All files (*.*)|*.*|Rulebase (*.rb)|*.rb" as Qt's name filters, one per pair, in order. A
// pattern "*.*" means every file, also one without a dot.
QStringList QtNameFilters(const QString& filter);

// The name with ".ext" appended when it has no extension of its own (ext may start with "*."
// or "."); unchanged when ext is empty.
QString WithDefaultExtension(const QString& fileName, const QString& ext);

}  // namespace toolkit
