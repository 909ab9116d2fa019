#pragma once

#include "config/Result.h"

#include <filesystem>
#include <string>

class QPagedPaintDevice;

namespace kym {

// Lays the record's HTML page out on the device's page (a printer or a PDF writer).
void printRecord(const std::string& html, QPagedPaintDevice& device);

// The record as a PDF document, written atomically; needs a QGuiApplication.
Result<void> writeRecordPdf(const std::string& html, const std::filesystem::path& path);

} // namespace kym
