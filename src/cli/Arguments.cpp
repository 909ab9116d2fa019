#include "cli/Commands.h"

#ifdef _WIN32
#include "config/WindowsText.h"
#endif

namespace kym::cli {

#ifdef _WIN32
std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8FromWide(wide[i]));
    ::LocalFree(wide);
    return arguments;
}
#else
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}
#endif

} // namespace kym::cli
