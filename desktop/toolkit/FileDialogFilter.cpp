#include "desktop/toolkit/FileDialogFilter.h"

#include <QFileInfo>

namespace toolkit {

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Qt reads the patterns from the last parenthesis; the description keeps its own text.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == u"*.*")
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return filters;
}

QString WithDefaultExtension(const QString& fileName, const QString& ext) {
    QString suffix = ext;
    while (suffix.startsWith(u'*') || suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    if (suffix.isEmpty() || fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + u'.' + suffix;
}

}  // namespace toolkit
