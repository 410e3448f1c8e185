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
    QString directory = QString::fromStdString(folder);
    if (folder.empty()) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty())
            return result;
        // One folder per window: a window that closes takes its own copy, never another's.
        result.folder = std::make_unique<QTemporaryDir>(
            QDir(runtime).filePath(QStringLiteral("tavodesk-test-XXXXXX")));
        if (!result.folder->isValid())
            return result;
        directory = result.folder->path();
    }
    const std::string path = QDir(directory).filePath(QStringLiteral("temp.rb")).toStdString();
    try {
        ReplaceFileText(path, result.text);
        result.path = path;
    } catch (const ESyntax&) {
    }
    return result;
}

bool UpdateTemporaryRuleBase(TemporaryRuleBaseFile& file, const CRuleBase& ruleBase) {
    std::string text;
    bool written = true;
    try {
        text = RuleBaseText(ruleBase);
    } catch (const std::exception& error) {
        text = error.what();
        written = false;
    }
    if (text == file.text)
        return false;
    file.text = std::move(text);
    // The copy keeps the last rule base a file could hold.
    if (written && !file.path.empty()) {
        try {
            ReplaceFileText(file.path, file.text);
        } catch (const ESyntax&) {
        }
    }
    return true;
}
