#include "report/RecordPdf.h"

#include "config/ConfigFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

namespace kym {

// A document with a page size of its own is printed as laid out, without the page numbers and
// margins Qt adds to one without; the record then fits one page, even the extender's 24 rows.
void printRecord(const std::string& html, QPagedPaintDevice& device) {
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSize(9);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPageSize(device.pageLayout().paintRectPixels(96).size());
    document.setHtml(QString::fromStdString(html));
    document.print(&device);
}

// Rendered in memory first: QPdfWriter reports no write errors, the atomic write does.
Result<void> writeRecordPdf(const std::string& html, const std::filesystem::path& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Register configuration"));
        printRecord(html, writer);
    }
    return writeFileAtomically(path, bytes.toStdString());
}

} // namespace kym
