#pragma once

#include <string>
#include <vector>

namespace kym {

// What the tool remembers between runs (recent files, the window's size), as lists of texts under
// a key. The real store is the user's settings file; tests keep it in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Empty when nothing was stored under key.
    virtual std::vector<std::string> read(const std::string& key) const = 0;
    virtual void write(const std::string& key, const std::vector<std::string>& values) = 0;
};

} // namespace kym
