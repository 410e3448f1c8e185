#include "desktop/mainwindow/RecentFiles.h"

#include <QAction>
#include <QMenu>

#include <string>

#include "platform/registry/Registry.h"

namespace {

using platform::registry::Registry;
using platform::registry::Root;
using platform::registry::ValueType;

QString ReadEntry(const Registry& registry, int index) {
    const auto value =
        registry.ReadValue(Root::CurrentUser, kRecentFilesKey, std::to_string(index));
    if (!value || value->type != ValueType::String)
        return {};
    return QString::fromStdString(value->text);
}

}  // namespace

void AddRecentFile(const QString& fileName) {
    Registry registry;
    registry.CreateKey(Root::CurrentUser, kRecentFilesKey);
    QStringList names{fileName};
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString name = ReadEntry(registry, i);
        if (!name.isEmpty() && name != fileName)
            names << name;
    }
    registry.DeleteKey(Root::CurrentUser, kRecentFilesKey);
    registry.CreateKey(Root::CurrentUser, kRecentFilesKey);
    for (int i = 0; i < kRecentFileCount && i < names.size(); ++i)
        registry.WriteString(Root::CurrentUser, kRecentFilesKey, std::to_string(i),
                             names[i].toStdString());
}

QString RecentFileAt(int index) {
    return ReadEntry(Registry{}, index);
}

QString RecentFileCaption(const QString& fileName) {
    const qsizetype cut = std::max(
        {fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u':')});
    return fileName.mid(cut + 1);
}

void RebuildReopenMenu(QMenu& reopen, const std::function<void(int tag)>& onItem) {
    Registry registry;
    registry.CreateKey(Root::CurrentUser, kRecentFilesKey);
    reopen.clear();
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString name = ReadEntry(registry, i);
        if (name.isEmpty())
            continue;
        // A '&' in a file name is no mnemonic.
        QAction* item =
            reopen.addAction(RecentFileCaption(name).replace(u'&', QStringLiteral("&&")));
        item->setData(i);
        item->setToolTip(name);
        QObject::connect(item, &QAction::triggered, &reopen, [onItem, i] { onItem(i); });
    }
    reopen.setEnabled(!reopen.isEmpty());
}
