#pragma once

// Draws report pages with a painter: on the summary window, on a printer, in
// a print preview and into a PDF, always the same way. Rows are one line
// height apart; a printed page is the window's page scaled to the paper.

#include "database/FileWriting.h"
#include "report/ReportModel.h"

#include <QFont>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPainter;

namespace veskar {

struct ReportLayout {
    QFont font;     // pixel-sized, so printing scales it with the page
    int lineHeight; // pixels between rows
    int width;      // of the window's page, in pixels

    [[nodiscard]] int pageHeight() const { return kPageRows * lineHeight; }
};

// The fixed-pitch layout of a screen this wide.
[[nodiscard]] ReportLayout LayoutForScreen(int screenWidth);

void DrawPage(QPainter& painter, const ReportPage& page, const ReportLayout& layout);

// One report page per sheet, in order. `carryOn`, when given, is asked before
// each further page; false stops after the page already sent, which is no
// failure. False when the device cannot be painted on.
[[nodiscard]] bool PrintPages(QPagedPaintDevice& device, const std::vector<ReportPage>& pages,
                              const ReportLayout& layout, const std::function<bool()>& carryOn = {});

// A PDF of the pages, one report page per PDF page, written to `output`.
[[nodiscard]] bool WritePdf(QIODevice& output, const std::vector<ReportPage>& pages,
                            const ReportLayout& layout);

// The same PDF drawn in memory; nothing when it could not be drawn.
[[nodiscard]] std::optional<std::vector<Byte>> PdfBytes(const std::vector<ReportPage>& pages,
                                                        const ReportLayout& layout);

// The PDF drawn in memory, then saved as every file is.
[[nodiscard]] WriteResult WritePdfFile(const std::filesystem::path& path,
                                       const std::vector<ReportPage>& pages, const ReportLayout& layout);

} // namespace veskar
