#pragma once

#include "platform/registry/Registry.h"

#include <QString>

class QWidget;

// Tool-window places in the per-user registry: key BaseRegistryKey (created when missing), one
// subkey per tool window, every value stored as text. The plain forms use the current user's
// root. Errors of the store propagate as platform::registry::RegistryError.
void RegLoadToolbarPositions(QWidget* Form, const QString& BaseRegistryKey);
void RegSaveToolbarPositions(QWidget* Form, const QString& BaseRegistryKey);
void RegLoadToolbarPositionsEx(QWidget* Form, platform::registry::Root RootKey,
                               const QString& BaseRegistryKey);
void RegSaveToolbarPositionsEx(QWidget* Form, platform::registry::Root RootKey,
                               const QString& BaseRegistryKey);
