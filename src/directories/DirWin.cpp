#include "directories/DirWin.h"

#include "database/Document.h"
#include "directories/DirDialog.h"
#include "directories/DirectoryEditing.h"
#include "directories/DirectoryTexts.h"
#include "widgets/EditorHost.h"
#include "widgets/FixedFont.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"
#include "widgets/ScreenFit.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace veskar {

namespace {

const QColor kGreen(0, 255, 0);
const QColor kBlack(0, 0, 0);
const QColor kMagenta(255, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);

constexpr int kRowsHigh = 22; // title, a blank row, 20 lines
constexpr int kRowCharacters = 120;
constexpr std::size_t kValueCharacters = 119;

constexpr std::array kMenu = {kExitAndSave, kCancelDirectory, kEditLine, kInsertLine, kDeleteLine};

const FlagsModel::Flag kDirectoryFlags[] = {&CommandFlags::dirAon, &CommandFlags::dirBon,
                                            &CommandFlags::dirCon, &CommandFlags::dirDon};

QString DirectoryName(int directory)
{
    return QStringLiteral("Directory ") + QChar::fromLatin1(DirectoryLetter(directory));
}

} // namespace

// The painted list: the title row, a blank row, then one row per line up to the free line.
class DirListView : public QWidget {
  public:
    explicit DirListView(DirWin& window) : QWidget(&window), m_window(window)
    {
        setObjectName(QStringLiteral("DirList"));
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFont(window.m_font);
    }

    [[nodiscard]] int lineHeight() const { return fontMetrics().height(); }
    [[nodiscard]] int lineAt(int y) const
    {
        const int h = lineHeight();
        return y > 2 * h && y < 23 * h ? (y - 2 * h) / h : -1;
    }
    [[nodiscard]] QSize sizeHint() const override
    {
        return {fontMetrics().averageCharWidth() * 100, kRowsHigh * lineHeight() + 4};
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kBlack);
        const int ascent = fontMetrics().ascent();
        painter.setPen(kGreen);
        painter.drawText(QPoint(0, ascent), Latin1Text(TitleText(m_window.m_table)));
        const int lastShown = FirstFreeLine(m_window.m_table);
        for (int line = 0; line <= lastShown; ++line)
            PaintLine(painter, line, (line + 2) * lineHeight() + ascent);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const int line = lineAt(event->position().toPoint().y());
        if (line < 0)
            return;
        m_window.selectLine(line);
        if (event->button() == Qt::RightButton && m_window.selectedLine() == line) {
            QMenu popup(this);
            for (int id : {kEditLine.id, kInsertLine.id, kDeleteLine.id}) {
                QAction* command = m_window.command(id);
                popup.addAction(command->text().remove(QLatin1Char('&')), command, &QAction::trigger);
            }
            popup.exec(event->globalPosition().toPoint());
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        const int line = lineAt(event->position().toPoint().y());
        if (event->button() != Qt::LeftButton || line < 0)
            return;
        m_window.selectLine(line);
        if (m_window.selectedLine() == line)
            m_window.EditLine();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const bool keypad = event->modifiers() & Qt::KeypadModifier;
        const int selected = m_window.selectedLine();
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: m_window.EditLine(); return;
        case Qt::Key_Insert: m_window.InsertLine(); return;
        case Qt::Key_Delete: m_window.DeleteLine(); return;
        case Qt::Key_Up: m_window.selectLine(selected - 1); return;
        case Qt::Key_Down: m_window.selectLine(selected + 1); return;
        case Qt::Key_Minus:
            if (keypad)
                m_window.selectLine(selected - 1);
            return;
        case Qt::Key_Plus:
            if (keypad)
                m_window.selectLine(selected + 1);
            return;
        default: QWidget::keyPressEvent(event);
        }
    }

  private:
    void PaintLine(QPainter& painter, int line, int baseline)
    {
        const bool selected = line == m_window.selectedLine();
        const QFontMetrics metrics = fontMetrics();
        const QRect row(0, baseline - metrics.ascent(), width(), lineHeight());
        // Sequence, then each label and value, within the row's 120 characters.
        struct Piece {
            QString text;
            QColor colour;
        };
        std::vector<Piece> pieces = {{Latin1Text(SequenceText(line)), kGreen}};
        int characters = static_cast<int>(pieces[0].text.size());
        const Editline shown = EditlineOf(m_window.m_table.lines[static_cast<std::size_t>(line)]);
        for (const EditRow& each : shown.rows) {
            if (each.label.empty())
                break;
            for (const auto& [text, colour] : {std::pair{each.label, selected ? kWhite : kCyan},
                                               std::pair{each.value, selected ? kBlack : kYellow}}) {
                const std::size_t room = static_cast<std::size_t>(std::max(0, kRowCharacters - characters));
                const QString drawn =
                    Latin1Text(std::string_view(text).substr(0, std::min(kValueCharacters, room)));
                pieces.push_back({drawn, colour});
                characters += static_cast<int>(drawn.size());
            }
        }
        painter.fillRect(row, kBlack);
        int x = 0;
        for (const Piece& piece : pieces) {
            const int advance = metrics.horizontalAdvance(piece.text);
            if (selected)
                painter.fillRect(QRect(x, row.top(), advance, row.height()), kMagenta);
            painter.setPen(piece.colour);
            painter.drawText(QPoint(x, baseline), piece.text);
            x += advance;
        }
    }

    DirWin& m_window;
};

int DirWin::s_dirsOpen = 0;

DirWin::DirWin(EditorHost& host, int directory)
    : EditorWindow(host, {kDirectoryFlags[directory], &CommandFlags::fileon, &CommandFlags::pgmon,
                          &CommandFlags::defaulton}),
      m_directory(directory)
{
    setObjectName(QStringLiteral("DirWin%1").arg(QChar::fromLatin1(DirectoryLetter(directory))));
    setWindowTitle(Text(kDirectoryCaption) + QChar::fromLatin1(DirectoryLetter(directory)));
    setProperty("helpTopic", QStringLiteral("directories.html"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    m_font = FixedFont(FitToScreen(host.frame().screen()->geometry().width()).points);

    auto* menu = new QMenuBar(this);
    const std::array handlers = {&DirWin::CmWinExit, &DirWin::CmWinCancel, &DirWin::EditLine,
                                 &DirWin::InsertLine, &DirWin::DeleteLine};
    for (std::size_t i = 0; i < kMenu.size(); ++i) {
        QAction* action = menu->addAction(Text(kMenu[i].text), this, handlers[i]);
        action->setData(kMenu[i].id);
        action->setStatusTip(Text(kMenu[i].hint));
        m_commands.push_back(action);
    }

    m_list = new DirListView(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(m_list);

    const DirectoryBlock& stored = host.document().image.dir[static_cast<std::size_t>(directory)];
    m_block = stored;
    m_table = ReadForWindow(stored);
    m_opened = m_table;
    m_unshown = UnshownEntries(stored);
    PlaceOnScreen();
    ++s_dirsOpen;
    m_list->setFocus();

    if (!m_unshown.empty()) {
        QString text = DirectoryName(directory) + Text(kUnshownNotice);
        for (std::string_view what : m_unshown)
            text += QStringLiteral("\n- ") + Text(what);
        host.messages().Tell(this, MessageKind::Warning, text);
    }
}

DirWin::~DirWin()
{
    if (m_counted)
        --s_dirsOpen;
}

QWidget* DirWin::list() const
{
    return m_list;
}

QAction* DirWin::command(int id) const
{
    for (QAction* action : m_commands) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

// Centred as the screen allows, each further open directory window 10 pixels further down and right.
void DirWin::PlaceOnScreen()
{
    const QRect screen = host().frame().screen()->geometry();
    const ScreenFit fit = FitToScreen(screen.width());
    const int width = std::max(fit.width, m_list->sizeHint().width());
    m_list->setFixedSize(width, m_list->sizeHint().height());
    adjustSize();
    const int cascade = 10 * s_dirsOpen;
    const int top = screen.width() < kNarrowScreenBelow ? 20 : 80;
    move(screen.left() + CentredLeft(screen.width(), width) + cascade, screen.top() + top + cascade);
}

void DirWin::Refresh()
{
    m_list->update();
}

void DirWin::selectLine(int line)
{
    if (line < 0 || line > FirstFreeLine(m_table) || line == m_selected)
        return;
    m_selected = line;
    Refresh();
}

bool DirWin::Edit()
{
    MessageService& messages = host().messages();
    if (const auto refusal = EditRefusal(m_table, m_selected)) {
        messages.Error(this, Text(*refusal));
        return false;
    }
    const Editline opened = EditlineOf(m_table.lines[static_cast<std::size_t>(m_selected)]);
    Editline record = opened;
    setEnabled(false);
    {
        DirDialog dialog(&host().frame(), messages, m_directory, m_selected, record,
                         host().document().image.gen.useCallProgress != 0);
        host().runDialog(dialog);
    }
    setEnabled(true);
    activateWindow();
    m_list->setFocus();
    const EditOutcome outcome = ApplyLineEdit(m_table, m_selected, opened, record);
    for (std::string_view error : outcome.errors)
        messages.Error(this, Text(error));
    m_selected = std::min(m_selected, FirstFreeLine(m_table));
    Refresh();
    return !m_table.lines[static_cast<std::size_t>(m_selected)].empty();
}

void DirWin::EditLine()
{
    Edit();
}

void DirWin::InsertLine()
{
    switch (veskar::InsertLine(m_table, m_selected)) {
    case LineInsertion::Nothing: return;
    case LineInsertion::EditFreeLine: Edit(); return;
    case LineInsertion::EditNewLine:
        Refresh();
        if (!Edit())
            UndoInsertLine(m_table, m_selected);
        Refresh();
        return;
    }
}

void DirWin::DeleteLine()
{
    if (veskar::DeleteLine(m_table, m_selected))
        Refresh();
}

void DirWin::CloseWith(bool save)
{
    m_saveFlag = save;
    close();
    m_saveFlag = false;
}

void DirWin::CmWinExit()
{
    CloseWith(true);
}

void DirWin::CmWinCancel()
{
    CloseWith(false);
}

bool DirWin::CanClose()
{
    Document& document = host().document();
    MessageService& messages = host().messages();
    DirectoryBlock& stored = document.image.dir[static_cast<std::size_t>(m_directory)];
    DirectoryBlock written = m_block;
    if (!WriteDirectory(m_table, written))
        return false; // cannot happen within the limits the edits keep
    if (m_saveFlag) {
        if (!m_unshown.empty() &&
            messages.Show(this, QString::fromLatin1(kWarningCaption), MessageService::Icon::Exclamation,
                          MessageService::Buttons::YesNoSafe,
                          DirectoryName(m_directory) + Text(kUnshownSaveQuestion)) !=
                MessageService::Answer::Yes)
            return false;
        if (written != stored)
            document.DatabaseChanged = true;
        stored = written;
    } else if (m_table != m_opened && !messages.ConfirmDiscard(this, Text(kDirectorySubject))) {
        return false;
    }
    if (m_counted) {
        m_counted = false;
        --s_dirsOpen;
    }
    return true;
}

} // namespace veskar
