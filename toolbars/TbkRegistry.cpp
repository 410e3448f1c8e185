#include "toolbars/TbkRegistry.h"

#include "toolbars/Tbk.h"

using platform::registry::Registry;
using platform::registry::Root;
using platform::registry::ValueType;

namespace {

std::string SubKey(const QString& base, const QString& toolbar) {
    return (base + QLatin1Char('\\') + toolbar).toStdString();
}

}  // namespace

void RegLoadToolbarPositionsEx(QWidget* Form, Root RootKey, const QString& BaseRegistryKey) {
    Registry registry;
    registry.CreateKey(RootKey, BaseRegistryKey.toStdString());
    auto readText = [&](const QString& toolbar, const QString& value) -> std::optional<QString> {
        const auto stored =
            registry.ReadValue(RootKey, SubKey(BaseRegistryKey, toolbar), value.toStdString());
        if (!stored || stored->type != ValueType::String)
            return std::nullopt;
        return QString::fromStdString(stored->text);
    };
    CustomLoadToolbarPositions(
        Form,
        [&](const QString& toolbar, const QString& value, int Default) {
            const auto text = readText(toolbar, value);
            bool ok = false;
            const int parsed = text ? text->trimmed().toInt(&ok) : 0;
            return ok ? parsed : Default;
        },
        [&](const QString& toolbar, const QString& value, const QString& Default) {
            return readText(toolbar, value).value_or(Default);
        });
}

void RegSaveToolbarPositionsEx(QWidget* Form, Root RootKey, const QString& BaseRegistryKey) {
    Registry registry;
    registry.CreateKey(RootKey, BaseRegistryKey.toStdString());
    CustomSaveToolbarPositions(
        Form,
        [&](const QString& toolbar, const QString& value, int data) {
            registry.WriteString(RootKey, SubKey(BaseRegistryKey, toolbar), value.toStdString(),
                                 QString::number(data).toStdString());
        },
        [&](const QString& toolbar, const QString& value, const QString& data) {
            registry.WriteString(RootKey, SubKey(BaseRegistryKey, toolbar), value.toStdString(),
                                 data.toStdString());
        });
}

void RegLoadToolbarPositions(QWidget* Form, const QString& BaseRegistryKey) {
    RegLoadToolbarPositionsEx(Form, Root::CurrentUser, BaseRegistryKey);
}

void RegSaveToolbarPositions(QWidget* Form, const QString& BaseRegistryKey) {
    RegSaveToolbarPositionsEx(Form, Root::CurrentUser, BaseRegistryKey);
}
