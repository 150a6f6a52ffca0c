#include "programming/ComDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace veskar {

namespace {

QString MinutesAndSeconds(qint64 ms)
{
    const qint64 seconds = (ms + 500) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ComDialog::ComDialog(QWidget* parent)
    : QDialog(parent), m_activity(new QLabel(this)), m_status(new QLabel(this)),
      m_progress(new QProgressBar(this)), m_timing(new QLabel(this)),
      m_stop(new QPushButton(QStringLiteral("Stop"), this))
{
    setObjectName(QStringLiteral("ComDialog"));
    setWindowTitle(QStringLiteral("  DATA TRANSFER PROGRESS"));
    // No close box: the transfer ends it, or Stop.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setProperty("helpTopic", QStringLiteral("program.html"));
    m_activity->setObjectName(QStringLiteral("static351"));
    m_status->setObjectName(QStringLiteral("static352"));
    for (QLabel* line : {m_activity, m_status})
        line->setMinimumWidth(340);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%v of %m"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Activity:")), 0, 0);
    layout->addWidget(m_activity, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Status:")), 1, 0);
    layout->addWidget(m_status, 1, 1);
    layout->addWidget(m_progress, 2, 0, 1, 2);
    layout->addWidget(m_timing, 3, 0, 1, 2);
    layout->addWidget(m_stop, 4, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_stop, &QPushButton::clicked, this, &ComDialog::stopRequested);
}

void ComDialog::setActivity(const QString& text)
{
    m_activity->setText(text);
}

void ComDialog::setStatus(const QString& text)
{
    m_status->setText(text);
}

void ComDialog::setPackets(int done, int total, qint64 elapsedMs, std::optional<qint64> leftMs)
{
    // An unknown total shows as a busy bar with the count beside it.
    m_progress->setRange(0, std::max(total, 0));
    m_progress->setValue(total > 0 ? std::min(done, total) : 0);
    QString timing = total > 0 ? QString() : QStringLiteral("%1 packets, ").arg(done);
    timing += QStringLiteral("Elapsed %1").arg(MinutesAndSeconds(elapsedMs));
    if (leftMs && total > done)
        timing += QStringLiteral(", about %1 left").arg(MinutesAndSeconds(*leftMs));
    m_timing->setText(timing);
}

// Escape and the window manager's close would hide the transfer, not end it.
void ComDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit stopRequested();
}

void ComDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit stopRequested();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace veskar
