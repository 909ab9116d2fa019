#pragma once

#include "ui/SettingsStore.h"

#include <map>

namespace kym::test {

class MemorySettings : public SettingsStore {
public:
    std::vector<std::string> read(const std::string& key) const override {
        return values.contains(key) ? values.at(key) : std::vector<std::string>();
    }
    void write(const std::string& key, const std::vector<std::string>& list) override {
        values[key] = list;
    }

    std::map<std::string, std::vector<std::string>> values;
};

} // namespace kym::test
