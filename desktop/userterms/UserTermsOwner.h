#pragma once

#include <QString>
#include <QStringList>

#include <functional>
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
    // Every rule cell of the variable that reads oldText gets newText.
    std::function<void(const std::string& oldText, const std::string& newText)> RenameInRules;
    // The main window's list that copied rows travel through; null disables copy and paste.
    QStringList* CopiedRows = nullptr;
};
