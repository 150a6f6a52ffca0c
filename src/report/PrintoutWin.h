#pragma once

// The summary window ("SUMMARY"): the report pages one at a time, the page
// kinds and paging in its menu, printing, print preview and PDF export of the
// pages of the kind shown. While it is open the editors that could change
// what it shows are unavailable. It follows the document (a file opened
// meanwhile shows at once).
//
// It is modeless and owned by the main window, but stands apart from it: the
// programming dialog, modal over the main window, opens it on the warnings
// while its questions wait, and the user must be able to scroll and close it
// then. The window manager still keeps it above the main window, so it is
// seen beside the question.

#include "report/ReportPainter.h"
#include "report/SummaryNavigator.h"
#include "widgets/EditorWindow.h"

#include <QPrinter>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenuBar;
class QScrollArea;

namespace veskar {

class PrintoutWin final : public EditorWindow {
    Q_OBJECT
  public:
    // Menu ids of the window's commands.
    enum Command {
        CmWinClose = 5730,
        CmFilePrint = 24337,
        CmFilePageSetup = 24336,
        CmPrintPreview = 24338,
        CmExportPdf = 24339,
        CmPrintOperator = 51682,
        CmPrintGeneral = 5736,
        CmPrintDirs = 5742,
        CmPrintAll = 5738,
        CmPrintWarnings = 5739,
        CmLastPage = 5741,
        CmNextPage = 5740,
    };

    PrintoutWin(EditorHost& host, SummaryMode mode);

    // The host's window, made or raised and showing the first page of `mode`.
    static PrintoutWin* Open(EditorHost& host, SummaryMode mode);
    // The host's open window, if any.
    [[nodiscard]] static PrintoutWin* Find(const EditorHost& host);

    void Choose(SummaryMode mode);
    void NextPage();
    void LastPage();

    void Print();
    void PageSetup();
    void PrintPreview();
    // False (and a message) when the file cannot be written; an existing file is then kept.
    bool ExportPdf(const QString& fileName);

    // The PDF name the user picks; tests answer it.
    void setPdfNameChooser(std::function<std::optional<QString>()> chooser)
    {
        m_pdfName = std::move(chooser);
    }

    [[nodiscard]] const SummaryNavigator& navigator() const { return m_navigator; }
    [[nodiscard]] const ReportPage& currentPage() const;
    // The pages a print or an export gives: every page of the mode shown.
    [[nodiscard]] std::vector<ReportPage> PagesToPrint() const;
    [[nodiscard]] QAction* action(Command command) const;
    [[nodiscard]] const ReportLayout& layout() const { return m_layout; }
    [[nodiscard]] QPrinter& printer() { return m_printer; }
    [[nodiscard]] QScrollArea* scroller() const { return m_scroller; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildMenu();
    void PlaceBeside(const QRect& dialog);
    // Takes the document's image again when it changed, then shows the current page.
    void Refresh();
    void ScrollToTop();

    ReportLayout m_layout;
    SummaryNavigator m_navigator;
    Image m_shownImage{};
    bool m_built = false;
    std::array<std::vector<ReportPage>, 4> m_pages; // by PageKind
    QPrinter m_printer;
    QMenuBar* m_menuBar = nullptr;
    QScrollArea* m_scroller = nullptr;
    QWidget* m_view = nullptr;
    std::function<std::optional<QString>()> m_pdfName;
};

} // namespace veskar
