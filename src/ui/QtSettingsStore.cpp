#include "ui/QtSettingsStore.h"

namespace kym {

// Settings hold paths, which are UTF-8 here, unlike the single-byte texts of the files.

std::vector<std::string> QtSettingsStore::read(const std::string& key) const {
    std::vector<std::string> values;
    for (const QString& value : settings_.value(QString::fromStdString(key)).toStringList())
        values.push_back(value.toStdString());
    return values;
}

void QtSettingsStore::write(const std::string& key, const std::vector<std::string>& values) {
    QStringList list;
    for (const auto& value : values)
        list.append(QString::fromStdString(value));
    settings_.setValue(QString::fromStdString(key), list);
}

} // namespace kym
