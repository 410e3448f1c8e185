#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <string>

class CBasicSettings;

// What the user-expressions editor needs of the variable dialog that runs it.
struct UserTermsOwner {
    // The language definition of the edited variable, borrowed; only OK changes it.
    CBasicSettings* Settings = nullptr;
    // The variable in the rule-base editor's one range: inputs first, then outputs.
    int VariableIndex = 0;
    std::function<bool(const QString& text, int variableIndex)> IsExpressionUsed;
    std::function<void()> MarkModified;
    // Called on OK before the terms are written back: each use of an old name (key) as a term
    // in the rules gets the new name.
    std::function<void(const std::map<std::string, std::string>& renames)> RenameInRules;
    // The main window's list that copied rows travel through; null disables copy and paste.
    QStringList* CopiedRows = nullptr;
};
