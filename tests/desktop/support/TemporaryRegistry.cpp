#include "TemporaryRegistry.h"

#include <QtGlobal>

TemporaryRegistry::TemporaryRegistry()
    : previous_(qgetenv("TAVO_REGISTRY")),
      hadPrevious_(qEnvironmentVariableIsSet("TAVO_REGISTRY")) {
    qputenv("TAVO_REGISTRY", directory_.filePath("registry").toLocal8Bit());
}

TemporaryRegistry::~TemporaryRegistry() {
    if (hadPrevious_)
        qputenv("TAVO_REGISTRY", previous_);
    else
        qunsetenv("TAVO_REGISTRY");
}
