#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// A registry store of the test's own, named by TAVO_REGISTRY while this lives.
class TemporaryRegistry {
  public:
    TemporaryRegistry();
    ~TemporaryRegistry();
    TemporaryRegistry(const TemporaryRegistry&) = delete;
    TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;

  private:
    QTemporaryDir directory_;
    QByteArray previous_;
    bool hadPrevious_;
};
