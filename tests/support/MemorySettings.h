#pragma once

#include "ui/SettingsStore.h"

#include <map>

namespace kym::test {

class MemorySettings : public SettingsStore {
public:
    std::vector<std::string> read(const std::string& key) const override {
        const auto found = values.find(key);
        return found == values.end() ? std::vector<std::string>() : found->second;
    }
    void write(const std::string& key, const std::vector<std::string>& list) override {
        values[key] = list;
    }

    std::map<std::string, std::vector<std::string>> values;
};

} // namespace kym::test
