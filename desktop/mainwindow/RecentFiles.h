#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

// The five rulebase files opened last, newest first, in the per-user registry as string values
// "0".."4". Throw platform::registry::RegistryError when the store cannot be read or written.

inline constexpr const char* kRecentFilesKey = "SOFTWARE\\TAVOWin\\RecentFiles";
inline constexpr int kRecentFileCount = 5;

// Puts the name first; an equal name (compared exactly) further down goes, and the sixth
// falls off.
void AddRecentFile(const QString& fileName);
// The stored name under value index, read now; empty when there is none.
QString RecentFileAt(int index);
// The text after the last path separator ('/', '\' or ':').
QString RecentFileCaption(const QString& fileName);
// Fills the Reopen menu: one item per stored name, its tag (the value index) in the action's
// data; onItem gets the tag. The menu is enabled exactly when it has an item.
void RebuildReopenMenu(QMenu& reopen, const std::function<void(int tag)>& onItem);
