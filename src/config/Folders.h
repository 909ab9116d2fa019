#pragma once

#include <filesystem>

namespace kym {

// The tool's folders: the kym folder (C:\kym on Windows, $HOME/kym elsewhere) with the
// register configurations in its kym3815 subfolder. Everything takes the root as a value so
// that tests run in a temporary folder.
class Folders {
public:
    explicit Folders(std::filesystem::path kym) : kym_(std::move(kym)) {}

    // The folder for this user: $HOME/kym, or C:\kym on Windows.
    static Folders forUser();

    const std::filesystem::path& kym() const { return kym_; }
    std::filesystem::path kym3815() const { return kym_ / "kym3815"; }
    std::filesystem::path defaultConfig() const { return kym3815() / "config.vlt"; }
    std::filesystem::path gatewayDownload() const { return kym_ / "_config.cfg"; }
    std::filesystem::path programmingRecord() const { return kym_ / "programming-record.csv"; }

    // Creates both folders where missing; failures are left for the file operations to report.
    void create() const;

private:
    std::filesystem::path kym_;
};

} // namespace kym
