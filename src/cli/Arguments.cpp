#include "cli/Commands.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kym::cli {

#ifdef _WIN32
std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const int bytes =
            ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), bytes, nullptr, nullptr);
        argument.pop_back(); // the terminating zero
        arguments.push_back(std::move(argument));
    }
    ::LocalFree(wide);
    return arguments;
}
#else
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}
#endif

} // namespace kym::cli
