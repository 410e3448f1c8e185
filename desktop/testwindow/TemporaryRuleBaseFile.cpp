#include "desktop/testwindow/TemporaryRuleBaseFile.h"

#include <QDir>
#include <QStandardPaths>
#include <stdexcept>

#include "core/io/FileReplace.h"
#include "core/io/RuleBaseWriter.h"
#include "core/text/ESyntax.h"

TemporaryRuleBaseFile WriteTemporaryRuleBase(const CRuleBase& ruleBase, const std::string& folder) {
    TemporaryRuleBaseFile result;
    try {
        result.text = RuleBaseText(ruleBase);
    } catch (const std::exception& error) {
        result.text = error.what();
        return result;
    }
    const QString directory =
        folder.empty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                       : QString::fromStdString(folder);
    if (directory.isEmpty())
        return result;
    const std::string path = QDir(directory).filePath(QStringLiteral("temp.rb")).toStdString();
    try {
        ReplaceFileText(path, result.text);
        result.path = path;
    } catch (const ESyntax&) {
    }
    return result;
}
