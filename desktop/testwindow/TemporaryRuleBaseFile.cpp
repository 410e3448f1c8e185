#include "desktop/testwindow/TemporaryRuleBaseFile.h"

#include <QDir>
#include <QStandardPaths>
#include <stdexcept>

#include "core/io/FileReplace.h"
#include "core/io/RuleBaseWriter.h"
#include "core/text/ESyntax.h"

namespace {

// The rulebase file's text, or why the rule base has none; false with the latter.
bool FileText(const CRuleBase& ruleBase, std::string& text) {
    try {
        text = RuleBaseText(ruleBase);
        return true;
    } catch (const std::exception& error) {
        text = error.what();
        return false;
    }
}

// The copy is a convenience: a folder that cannot be written leaves the text shown and no file.
bool WriteCopy(const std::string& path, const std::string& text) {
    try {
        ReplaceFileText(path, text);
        return true;
    } catch (const ESyntax&) {
        return false;
    }
}

}  // namespace

TemporaryRuleBaseFile WriteTemporaryRuleBase(const CRuleBase& ruleBase, const std::string& folder) {
    TemporaryRuleBaseFile result;
    if (!FileText(ruleBase, result.text))
        return result;
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
    if (WriteCopy(path, result.text))
        result.path = path;
    return result;
}

bool UpdateTemporaryRuleBase(TemporaryRuleBaseFile& file, const CRuleBase& ruleBase) {
    std::string text;
    const bool describable = FileText(ruleBase, text);
    if (text == file.text)
        return false;
    file.text = std::move(text);
    // The copy keeps the last rule base a file could hold.
    if (describable && !file.path.empty())
        WriteCopy(file.path, file.text);
    return true;
}
