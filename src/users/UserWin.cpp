#include "users/UserWin.h"

#include "database/Document.h"
#include "users/UserDialog.h"
#include "users/UserMessages.h"
#include "users/UserTable.h"
#include "widgets/EditorHost.h"
#include "widgets/FixedFont.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"
#include "widgets/ScreenFit.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace veskar {

namespace {

const QColor kGreen(0, 255, 0);
const QColor kCyan(0, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kPurple(200, 0, 200);

constexpr int kLinesHigh = 22;
constexpr int kRightMargin = 10;

} // namespace

// The painted table: title line, a blank line, then one row per user.
class UserTableView : public QWidget {
  public:
    explicit UserTableView(UserWin& window) : QWidget(&window), m_window(window)
    {
        setObjectName(QStringLiteral("UserTable"));
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFont(window.m_font);
    }

    [[nodiscard]] int lineHeight() const { return fontMetrics().height(); }
    [[nodiscard]] QRect rowRect(int row) const
    {
        return {0, (row + 2) * lineHeight(), width(), lineHeight()};
    }
    [[nodiscard]] QSize sizeHint() const override
    {
        const QFontMetrics metrics = fontMetrics();
        const int text =
            metrics.horizontalAdvance(Latin1Text(kUserTableTitle)) + 2 * metrics.averageCharWidth();
        return {text + kRightMargin, kLinesHigh * lineHeight()};
    }

  protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), kBlack);
        painter.setPen(kGreen);
        painter.drawText(QPoint(0, fontMetrics().ascent()), Latin1Text(kUserTableTitle));
        for (int row = 0; row < kUserCount; ++row) {
            if (rowRect(row).intersects(event->rect()))
                PaintRow(painter, row);
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int row = UserRowAt(event->position().toPoint().y(), lineHeight());
        if (row >= 0)
            m_window.selectRow(row);
    }

    // Edits the selected row wherever the double click is: on a row, the press
    // that began it has selected that row; on the title, the selection stays.
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        if (const int row = UserRowAt(event->position().toPoint().y(), lineHeight()); row >= 0)
            m_window.selectRow(row);
        m_window.EditLine();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const bool keypad = event->modifiers() & Qt::KeypadModifier;
        switch (event->key()) {
        case Qt::Key_Down: m_window.selectRow(m_window.selectedRow() + 1); return;
        case Qt::Key_Up: m_window.selectRow(m_window.selectedRow() - 1); return;
        case Qt::Key_Plus:
            if (keypad)
                m_window.selectRow(m_window.selectedRow() + 1);
            return;
        case Qt::Key_Minus:
            if (keypad)
                m_window.selectRow(m_window.selectedRow() - 1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: m_window.EditLine(); return;
        default: QWidget::keyPressEvent(event);
        }
    }

  private:
    void PaintRow(QPainter& painter, int row)
    {
        const bool selected = row == m_window.selectedRow();
        const QRect rect = rowRect(row);
        painter.fillRect(QRect(rect.left(), rect.top(), width() - kRightMargin, rect.height()),
                         selected ? kPurple : kBlack);
        const auto pieces = UserRowPieces(row, m_window.m_users[static_cast<std::size_t>(row)]);
        int x = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const bool number = i == static_cast<std::size_t>(RowPiece::Number);
            painter.setPen(number ? (selected ? kCyan : kGreen) : (selected ? kWhite : kYellow));
            const QString text = Latin1Text(pieces[i]);
            painter.drawText(QPoint(x, rect.top() + fontMetrics().ascent()), text);
            x += fontMetrics().horizontalAdvance(text);
        }
    }

    UserWin& m_window;
};

UserWin::UserWin(EditorHost& host)
    : EditorWindow(host, {&CommandFlags::useron, &CommandFlags::genon, &CommandFlags::fileon,
                          &CommandFlags::pgmon, &CommandFlags::defaulton})
{
    setObjectName(QStringLiteral("UserWin"));
    setWindowTitle(QStringLiteral("User Summary"));
    setProperty("helpTopic", QStringLiteral("users.html"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    const QScreen* screen = host.frame().screen();
    m_font = FixedFont(FitToScreen(screen->geometry().width()).points);

    auto* menu = new QMenuBar(this);
    m_exitAndSave = menu->addAction(QStringLiteral("E&xit and Save"), this, &UserWin::CmWinExit);
    m_cancel = menu->addAction(QStringLiteral("&Cancel"), this, &UserWin::CmWinCancel);
    m_editLine = menu->addAction(QStringLiteral("&Edit Line"), this, &UserWin::EditLine);
    m_exitAndSave->setData(5730);
    m_cancel->setData(5731);
    m_editLine->setData(5729);

    m_table = new UserTableView(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(m_table);

    SetupWindow();
    PlaceOnScreen();
}

QWidget* UserWin::table() const
{
    return m_table;
}

void UserWin::SetupWindow()
{
    const Image& image = host().document().image;
    for (int i = 0; i < kUserCount; ++i)
        m_users[static_cast<std::size_t>(i)] = LoadUserData(image.User[static_cast<std::size_t>(i)]);
    m_table->setFocus();
}

// As wide as the screen allows, but never narrower than the table's text in the font in use.
void UserWin::PlaceOnScreen()
{
    const QRect screen = host().frame().screen()->geometry();
    const int width = std::max(FitToScreen(screen.width()).width, m_table->sizeHint().width());
    m_table->setFixedSize(width, m_table->sizeHint().height());
    adjustSize();
    const int height = sizeHint().height();
    move(screen.left() + CentredLeft(screen.width(), width),
         screen.top() + std::max(0, (screen.height() - height) / 3));
}

void UserWin::selectRow(int row)
{
    if (row < 0 || row >= kUserCount || row == m_selected)
        return;
    const int previous = m_selected;
    m_selected = row;
    m_table->update(m_table->rowRect(previous));
    m_table->update(m_table->rowRect(row));
}

void UserWin::EditLine()
{
    setEnabled(false);
    UserDialog dialog(this, host().messages(), m_users[static_cast<std::size_t>(m_selected)], m_selected,
                      m_users, host().document().image.gen);
    host().runDialog(dialog);
    setEnabled(true);
    m_table->update(m_table->rowRect(m_selected));
    // The form closed while this window was disabled: the window manager may
    // have handed the focus to the main window, whatever the answer was.
    activateWindow();
    m_table->setFocus();
}

void UserWin::CloseWith(bool save)
{
    m_exitFlag = save;
    close();
    m_exitFlag = false;
}

void UserWin::CmWinExit()
{
    CloseWith(true);
}

void UserWin::CmWinCancel()
{
    CloseWith(false);
}

bool UserWin::CanClose()
{
    Document& document = host().document();
    bool changed = false;
    for (int i = 0; i < kUserCount; ++i)
        changed = UserDataChanged(m_users[static_cast<std::size_t>(i)],
                                  document.image.User[static_cast<std::size_t>(i)]) ||
                  changed;
    if (!m_exitFlag)
        return !changed || host().messages().ConfirmDiscard(this, Text(kUserListSubject));
    for (int i = 0; i < kUserCount; ++i)
        document.image.User[static_cast<std::size_t>(i)] =
            StoreUserData(m_users[static_cast<std::size_t>(i)]);
    if (changed)
        document.DatabaseChanged = true;
    return true;
}

} // namespace veskar
