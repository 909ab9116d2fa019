#pragma once

#include "ui/SettingsStore.h"

#include <QSettings>

namespace kym {

// The user's settings file of the named program (QSettings in its native format).
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore(const QString& organisation, const QString& program)
        : settings_(organisation, program) {}

    std::vector<std::string> read(const std::string& key) const override;
    void write(const std::string& key, const std::vector<std::string>& values) override;

private:
    QSettings settings_;
};

} // namespace kym
