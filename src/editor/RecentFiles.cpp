#include "editor/RecentFiles.h"

#include <algorithm>

namespace kym {
namespace {
const std::string kKey = "recentFiles";
}

// A settings file edited by hand may hold empty, repeated or too many entries.
RecentFiles::RecentFiles(SettingsStore& store) : store_(store) {
    const std::vector<std::string> stored = store.read(kKey);
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        if (!it->empty())
            moveToFront(*it);
}

void RecentFiles::add(const std::string& path) {
    moveToFront(path);
    store();
}

void RecentFiles::moveToFront(const std::string& path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kLimit)
        paths_.resize(kLimit);
}

void RecentFiles::remove(const std::string& path) {
    std::erase(paths_, path);
    store();
}

void RecentFiles::clear() {
    paths_.clear();
    store();
}

void RecentFiles::store() {
    store_.write(kKey, paths_);
}

} // namespace kym
