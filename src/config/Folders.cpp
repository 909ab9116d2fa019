#include "Folders.h"

#include <cstdlib>
#include <system_error>

namespace kym {

Folders Folders::forUser() {
#ifdef _WIN32
    return Folders("C:\\kym");
#else
    const char* home = std::getenv("HOME");
    return Folders(std::filesystem::path(home && *home ? home : ".") / "kym");
#endif
}

void Folders::create() const {
    std::error_code ignored;
    std::filesystem::create_directories(kym3815(), ignored);
}

} // namespace kym
