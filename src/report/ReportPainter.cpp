#include "report/ReportPainter.h"

#include "widgets/FixedFont.h"
#include "widgets/QtText.h"
#include "widgets/ScreenFit.h"

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace veskar {

namespace {

constexpr const char* kSizeTest = "SIZETEST";

} // namespace

ReportLayout LayoutForScreen(int screenWidth)
{
    const ScreenFit fit = FitToScreen(screenWidth);
    QFont font = FixedFont(fit.points);
    font.setPixelSize(QFontInfo(font).pixelSize());
    const int lineHeight = QFontMetrics(font).boundingRect(QString::fromLatin1(kSizeTest)).height();
    return ReportLayout{font, std::max(lineHeight, QFontMetrics(font).height()), fit.width};
}

void DrawPage(QPainter& painter, const ReportPage& page, const ReportLayout& layout)
{
    painter.save();
    painter.setFont(layout.font);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(layout.font).ascent();
    for (const ReportLine& line : page.lines)
        painter.drawText(QPoint(line.x, line.row * layout.lineHeight + ascent), Text(line.text));
    painter.restore();
}

bool PrintPages(QPagedPaintDevice& device, const std::vector<ReportPage>& pages, const ReportLayout& layout,
                const std::function<bool()>& carryOn)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect paper = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double scale =
        std::min(double(paper.width()) / layout.width, double(paper.height()) / layout.pageHeight());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && carryOn && !carryOn())
            break;
        if (i > 0 && !device.newPage())
            return false;
        painter.save();
        painter.scale(scale, scale);
        DrawPage(painter, pages[i], layout);
        painter.restore();
    }
    return painter.end();
}

bool WritePdf(QIODevice& output, const std::vector<ReportPage>& pages, const ReportLayout& layout)
{
    QPdfWriter writer(&output);
    writer.setTitle(QStringLiteral("PRINTOUT"));
    writer.setCreator(QStringLiteral("Veskar"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    return PrintPages(writer, pages, layout);
}

std::optional<std::vector<Byte>> PdfBytes(const std::vector<ReportPage>& pages, const ReportLayout& layout)
{
    QByteArray drawn;
    QBuffer buffer(&drawn);
    if (!buffer.open(QIODevice::WriteOnly) || !WritePdf(buffer, pages, layout))
        return std::nullopt;
    buffer.close();
    return std::vector<Byte>(drawn.begin(), drawn.end());
}

WriteResult WritePdfFile(const std::filesystem::path& path, const std::vector<ReportPage>& pages,
                         const ReportLayout& layout)
{
    const std::optional<std::vector<Byte>> bytes = PdfBytes(pages, layout);
    if (!bytes)
        return {WriteOutcome::OpenFailed, FileProblem::Failed};
    return WriteReplacing(path, *bytes);
}

} // namespace veskar
