#include "toolbars/Tbkctls.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <vector>

namespace {

std::vector<const QMetaObject*>& KitClasses() {
    static std::vector<const QMetaObject*> classes;
    return classes;
}

}  // namespace

void RegisterKitControlClass(const QMetaObject* Class) {
    auto& classes = KitClasses();
    if (Class && std::find(classes.begin(), classes.end(), Class) == classes.end())
        classes.push_back(Class);
}

void UnregisterKitControlClass(const QMetaObject* Class) {
    auto& classes = KitClasses();
    classes.erase(std::remove(classes.begin(), classes.end(), Class), classes.end());
}

bool ControlIsKitControl(const QObject* Control) {
    if (!Control)
        return false;
    const QMetaObject* type = Control->metaObject();
    return std::any_of(
        KitClasses().begin(), KitClasses().end(),
        [type](const QMetaObject* registered) { return type->inherits(registered); });
}
