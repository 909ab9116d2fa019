#pragma once

#include "ui/SettingsStore.h"

#include <string>
#include <vector>

namespace kym {

// File > Recent Files: the files last opened or saved, newest first, kept in the settings store
// after every change so that a second window or a crash loses nothing.
class RecentFiles {
public:
    static constexpr std::size_t kLimit = 8;

    explicit RecentFiles(SettingsStore& store);

    const std::vector<std::string>& paths() const { return paths_; }
    // Moves path to the front; the oldest falls off past the limit.
    void add(const std::string& path);
    void remove(const std::string& path);
    void clear();

private:
    void moveToFront(const std::string& path);
    void store();

    SettingsStore& store_;
    std::vector<std::string> paths_;
};

} // namespace kym
