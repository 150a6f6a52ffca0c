#include "report/PrintoutWin.h"

#include "database/Document.h"
#include "widgets/EditorHost.h"
#include "widgets/MessageService.h"
#include "widgets/ScreenFit.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace veskar {

namespace {

constexpr int kScrollUnit = 10;
constexpr int kWindowLines = 25;

// The window's own messages.
const char* const kPdfWriteError = " CANNOT WRITE THE PDF FILE ";
const char* const kPrintFailed = " PRINTING FAILED ";

// The page shown, drawn on white.
class PageView final : public QWidget {
  public:
    PageView(const PrintoutWin& window, QWidget* parent) : QWidget(parent), m_window(window)
    {
        setFixedHeight(window.layout().pageHeight());
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        DrawPage(painter, m_window.currentPage(), m_window.layout());
    }

  private:
    const PrintoutWin& m_window;
};

// Shown while the pages go to the printer; Cancel (or Esc, or the close box)
// stops after the page being sent. Modal: the summary must stay as it is meanwhile.
class PrintingDialog final : public QDialog {
  public:
    explicit PrintingDialog(QWidget* parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("PrintingDialog"));
        setWindowTitle(QStringLiteral("Printing"));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Now printing")), 0, Qt::AlignHCenter);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"));
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        layout->addWidget(cancel, 0, Qt::AlignHCenter);
    }

    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    void reject() override { m_cancelled = true; }

  private:
    bool m_cancelled = false;
};

int ScreenWidth(const QWidget& widget)
{
    const QScreen* screen = widget.screen();
    return screen ? screen->availableGeometry().width() : kNarrowScreenBelow;
}

} // namespace

PrintoutWin::PrintoutWin(EditorHost& host, SummaryMode mode)
    : EditorWindow(host,
                   {&CommandFlags::useron, &CommandFlags::diron, &CommandFlags::dirAon, &CommandFlags::dirBon,
                    &CommandFlags::dirCon, &CommandFlags::dirDon, &CommandFlags::genon,
                    &CommandFlags::printon, &CommandFlags::levelon},
                   Standing::Standalone),
      m_layout(LayoutForScreen(ScreenWidth(host.frame()))), m_navigator(mode),
      m_pdfName([this]() -> std::optional<QString> {
          const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Export PDF"), QString(),
                                                            QStringLiteral("PDF files (*.pdf)"));
          return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
      })
{
    setObjectName(QStringLiteral("PrintoutWin"));
    setWindowTitle(QStringLiteral("SUMMARY"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setProperty("helpTopic", QStringLiteral("summary.html"));
    setFocusPolicy(Qt::StrongFocus);
    m_printer.setDocName(QStringLiteral("PRINTOUT"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildMenu();
    m_scroller = new QScrollArea(this);
    m_scroller->setFocusPolicy(Qt::NoFocus);
    m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroller->verticalScrollBar()->setSingleStep(kScrollUnit);
    m_view = new PageView(*this, m_scroller);
    m_scroller->setWidget(m_view);
    layout->addWidget(m_scroller);

    // The window takes the width of the screen's fit; the page is what the scroll bar leaves.
    const int width = m_layout.width;
    const int scrollBar = m_scroller->verticalScrollBar()->sizeHint().width();
    m_view->setFixedWidth(width - scrollBar - 2 * m_scroller->frameWidth());
    const int height = kWindowLines * m_layout.lineHeight + m_menuBar->sizeHint().height();
    setFixedSize(width, height);
    if (const QScreen* screen = host.frame().screen()) {
        const QRect free = screen->availableGeometry();
        move(free.left() + CentredLeft(free.width(), width),
             free.top() + std::max(0, free.height() - height) / 3);
    }

    host.whenDocumentTouched(this, [this] { Refresh(); });
    Refresh();
}

PrintoutWin* PrintoutWin::Open(EditorHost& host, SummaryMode mode)
{
    PrintoutWin* window = Find(host);
    if (!window) {
        window = new PrintoutWin(host, mode);
        // The programming dialog asks whether to go on while the warnings are shown.
        if (const QWidget* front = QApplication::activeModalWidget())
            window->PlaceBeside(front->frameGeometry());
    } else {
        window->Choose(mode);
    }
    window->showOverMain();
    window->raise();
    window->activateWindow();
    return window;
}

// Left of the dialog, or right of it when only that side has room. With room
// on neither side it goes to the screen's left edge, where the dialog leaves
// the start of every line in view.
void PrintoutWin::PlaceBeside(const QRect& dialog)
{
    const QScreen* screen = host().frame().screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    if (dialog.left() - free.left() < width() && free.right() - dialog.right() >= width())
        move(dialog.right() + 1, y());
    else
        move(std::max(free.left(), dialog.left() - width()), y());
}

PrintoutWin* PrintoutWin::Find(const EditorHost& host)
{
    for (const QPointer<QWidget>& window : host.editorWindows())
        if (auto* summary = qobject_cast<PrintoutWin*>(window.data()))
            return summary;
    return nullptr;
}

void PrintoutWin::BuildMenu()
{
    auto* bar = new QMenuBar(this);
    m_menuBar = bar;
    static_cast<QVBoxLayout*>(QWidget::layout())->setMenuBar(bar);
    auto add = [this](QWidget* menu, const char* text, Command id, auto handler) {
        auto* item = new QAction(QString::fromLatin1(text), this);
        item->setData(static_cast<int>(id));
        connect(item, &QAction::triggered, this, handler);
        menu->addAction(item);
    };
    add(bar, "E&xit", CmWinClose, [this] { close(); });
    add(bar, "&Print", CmFilePrint, [this] { Print(); });
    add(bar, "&Setup", CmFilePageSetup, [this] { PageSetup(); });
    add(bar, "Print Pre&view", CmPrintPreview, [this] { PrintPreview(); });
    add(bar, "Export P&DF...", CmExportPdf, [this] {
        if (const std::optional<QString> name = m_pdfName())
            (void)ExportPdf(*name);
    });
    QMenu* more = bar->addMenu(QStringLiteral("&More"));
    add(more, "&Operators", CmPrintOperator, [this] { Choose(SummaryMode::Operators); });
    add(more, "&System", CmPrintGeneral, [this] { Choose(SummaryMode::System); });
    add(more, "&Directories", CmPrintDirs, [this] { Choose(SummaryMode::Directories); });
    add(more, "&All", CmPrintAll, [this] { Choose(SummaryMode::All); });
    add(bar, "&Warnings", CmPrintWarnings, [this] { Choose(SummaryMode::Warnings); });
    add(bar, "&Last Page", CmLastPage, [this] { LastPage(); });
    add(bar, "&Next Page", CmNextPage, [this] { NextPage(); });
}

QAction* PrintoutWin::action(Command command) const
{
    for (QAction* item : findChildren<QAction*>()) {
        if (item->data().toInt() == command)
            return item;
    }
    return nullptr;
}

void PrintoutWin::Refresh()
{
    const Image& image = host().document().image;
    if (!m_built || !(image == m_shownImage)) {
        m_shownImage = image;
        SummaryNavigator::PageCounts counts{};
        for (PageKind kind :
             {PageKind::Operators, PageKind::System, PageKind::Directories, PageKind::Warnings}) {
            m_pages[static_cast<std::size_t>(kind)] = BuildPages(m_shownImage, kind);
            counts[static_cast<std::size_t>(kind)] =
                static_cast<int>(m_pages[static_cast<std::size_t>(kind)].size());
        }
        m_navigator.SetPageCounts(counts);
        m_built = true;
    }
    action(CmNextPage)->setEnabled(m_navigator.HasNext());
    action(CmLastPage)->setEnabled(m_navigator.HasPrevious());
    m_view->update();
}

const ReportPage& PrintoutWin::currentPage() const
{
    return m_pages[static_cast<std::size_t>(m_navigator.kind())]
                  [static_cast<std::size_t>(m_navigator.page())];
}

std::vector<ReportPage> PrintoutWin::PagesToPrint() const
{
    std::vector<ReportPage> pages;
    for (PageKind kind : SummaryNavigator::KindsOf(m_navigator.mode())) {
        const auto& more = m_pages[static_cast<std::size_t>(kind)];
        pages.insert(pages.end(), more.begin(), more.end());
    }
    return pages;
}

void PrintoutWin::ScrollToTop()
{
    m_scroller->verticalScrollBar()->setValue(0);
}

void PrintoutWin::Choose(SummaryMode mode)
{
    m_navigator.Choose(mode);
    ScrollToTop();
    Refresh();
}

void PrintoutWin::NextPage()
{
    m_navigator.Next();
    ScrollToTop();
    Refresh();
}

void PrintoutWin::LastPage()
{
    m_navigator.Previous();
    ScrollToTop();
    Refresh();
}

void PrintoutWin::Print()
{
    Refresh();
    QPrintDialog dialog(&m_printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (host().runDialog(dialog) != QDialog::Accepted)
        return;
    PrintingDialog printing(this);
    printing.show();
    const bool printed = PrintPages(m_printer, PagesToPrint(), m_layout, [&printing] {
        QApplication::processEvents(); // lets Cancel be pressed between pages
        return !printing.cancelled();
    });
    printing.hide();
    if (!printed)
        host().messages().Error(this, QString::fromLatin1(kPrintFailed));
    Refresh();
}

void PrintoutWin::PageSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    host().runDialog(dialog);
}

void PrintoutWin::PrintPreview()
{
    Refresh();
    QPrintPreviewDialog dialog(&m_printer, this);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { (void)PrintPages(*printer, PagesToPrint(), m_layout); });
    host().runDialog(dialog);
}

bool PrintoutWin::ExportPdf(const QString& fileName)
{
    Refresh();
    const WriteResult result = WritePdfFile(fileName.toStdString(), PagesToPrint(), m_layout);
    if (result.outcome != WriteOutcome::Written) {
        const std::string text = WithReason(kPdfWriteError + fileName.toStdString(), result.problem);
        host().messages().FileError(this, QString::fromStdString(text));
        return false;
    }
    return true;
}

void PrintoutWin::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = m_scroller->verticalScrollBar();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Plus:
        if (keypad) {
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        }
        break;
    case Qt::Key_Minus:
        if (keypad) {
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        }
        break;
    case Qt::Key_PageDown: NextPage(); return;
    case Qt::Key_PageUp: LastPage(); return;
    default: break;
    }
    EditorWindow::keyPressEvent(event);
}

} // namespace veskar
