// Builds and draws the whole summary of a full configuration (16 users with
// codes, 20 lines in every directory), as opening the summary and printing
// every kind does, and prints the time a run takes.

#include "database/Codes.h"
#include "database/Defaults.h"
#include "report/ReportPainter.h"
#include "report/Warnings.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

veskar::Image FullImage()
{
    veskar::Image image{};
    veskar::CreateDatabase(image);
    for (veskar::UserRecord& user : image.User) {
        user.startCode = veskar::CodeFromText("1234");
        user.stopCode = veskar::CodeFromText("5678");
        user.emergencyCode = veskar::CodeFromText("9999");
        user.interrogateCode = veskar::CodeFromText("1470");
        user.userName = veskar::NameFromText("Operator name");
    }
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += "P:12W1Q0&"; // 9 bytes a line, 180 in all
    for (veskar::DirectoryBlock& block : image.dir) {
        block.fill(0);
        std::copy(lines.begin(), lines.end(), block.begin());
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const veskar::Image image = FullImage();
    const veskar::ReportLayout layout = veskar::LayoutForScreen(1024);
    QImage canvas(layout.width, layout.pageHeight(), QImage::Format_RGB32);

    constexpr int kRuns = 50;
    double worst = 0;
    double total = 0;
    std::size_t pageCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const auto pages = veskar::BuildPages(image, {veskar::PageKind::Operators, veskar::PageKind::System,
                                                      veskar::PageKind::Directories, veskar::PageKind::Warnings});
        QPainter painter(&canvas);
        for (const veskar::ReportPage& page : pages) {
            painter.fillRect(canvas.rect(), Qt::white);
            veskar::DrawPage(painter, page, layout);
        }
        painter.end();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, ms);
        total += ms;
        pageCount = pages.size();
    }
    std::printf("summary: %zu pages, %zu warning lines; build and draw %.2f ms on average, %.2f ms at worst "
                "(%d runs; limit 50 ms)\n",
                pageCount, veskar::WarningLines(image).size(), total / kRuns, worst, kRuns);
    return worst < 50 ? 0 : 1;
}
