#include "report/OverviewWidget.h"

#include "database/Document.h"
#include "report/PrintoutWin.h"
#include "widgets/EditorHost.h"
#include "widgets/FixedFont.h"
#include "widgets/FlagsModel.h"
#include "widgets/QtText.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace veskar {

namespace {

constexpr int kSectionCount = 7;
constexpr int kFontPoints = 9;

struct TargetInfo {
    OverviewTarget target;
    std::optional<CommandId> editor;
    SummaryMode summary;
};

constexpr TargetInfo kTargets[] = {
    {OverviewTarget::System, CommandId::System, SummaryMode::System},
    {OverviewTarget::Users, CommandId::Users, SummaryMode::Operators},
    {OverviewTarget::DirA, CommandId::DirA, SummaryMode::Directories},
    {OverviewTarget::DirB, CommandId::DirB, SummaryMode::Directories},
    {OverviewTarget::DirC, CommandId::DirC, SummaryMode::Directories},
    {OverviewTarget::DirD, CommandId::DirD, SummaryMode::Directories},
    {OverviewTarget::Warnings, std::nullopt, SummaryMode::Warnings},
};

QString SectionHtml(const OverviewSection& section)
{
    QString html = QStringLiteral("<b>") + Text(section.heading).toHtmlEscaped() + QStringLiteral("</b>");
    for (const std::string& line : section.lines)
        html += QStringLiteral("<br>") + Text(line).toHtmlEscaped();
    return QStringLiteral("<div style=\"white-space: pre\">") + html + QStringLiteral("</div>");
}

} // namespace

OverviewWidget::OverviewWidget(EditorHost& host) : QScrollArea(&host.frame()), m_host(host)
{
    setObjectName(QStringLiteral("BaseWindow"));
    setWidgetResizable(true);
    auto* column = new QWidget(this);
    column->setBackgroundRole(QPalette::Base);
    column->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(column);
    for (int i = 0; i < kSectionCount; ++i) {
        auto* label = new QLabel(column);
        label->setFont(FixedFont(kFontPoints));
        label->setTextFormat(Qt::RichText);
        label->setCursor(Qt::PointingHandCursor);
        label->setToolTip(i == kSectionCount - 1
                              ? QStringLiteral("Click to see the warnings in the summary")
                              : QStringLiteral("Click to edit or to see it in the summary"));
        label->installEventFilter(this);
        layout->addWidget(label);
        m_labels.push_back(label);
    }
    layout->addStretch();
    setWidget(column);
    host.whenDocumentTouched(this, [this] { Follow(); });
    Follow();
}

void OverviewWidget::Follow()
{
    const Document& document = m_host.document();
    if (m_rebuilds > 0 && document.image == m_image && document.workingFile == m_fileName)
        return;
    m_image = document.image;
    m_fileName = document.workingFile;
    m_sections = BuildOverview(m_image, m_fileName);
    for (std::size_t i = 0; i < m_labels.size() && i < m_sections.size(); ++i)
        m_labels[i]->setText(SectionHtml(m_sections[i]));
    ++m_rebuilds;
}

QLabel* OverviewWidget::sectionLabel(OverviewTarget target) const
{
    return m_labels[static_cast<std::size_t>(target)];
}

void OverviewWidget::Activate(OverviewTarget target)
{
    const TargetInfo& info = kTargets[static_cast<std::size_t>(target)];
    if (info.editor) {
        if (m_host.commandEnabled(*info.editor)) {
            m_host.runCommand(static_cast<int>(*info.editor));
            return;
        }
    }
    if (m_host.flags().allowed(CommandId::Summary) || PrintoutWin::Find(m_host))
        PrintoutWin::Open(m_host, info.summary);
}

bool OverviewWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto found = std::ranges::find(m_labels, watched);
        if (found != m_labels.end()) {
            Activate(static_cast<OverviewTarget>(found - m_labels.begin()));
            return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace veskar
