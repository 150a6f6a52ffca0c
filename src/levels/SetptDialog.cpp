#include "levels/SetptDialog.h"

#include "database/Document.h"
#include "widgets/QtText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace veskar {

SetptDialog::SetptDialog(QWidget* parent, Document& document, MessageService& messages)
    : EditorDialog(parent, messages, QStringLiteral("the audio levels"), &document), m_document(document)
{
    setWindowTitle(QStringLiteral("AUDIO LEVELS"));
    setObjectName(QStringLiteral("SetptDialog"));
    setProperty("helpTopic", QStringLiteral("levels.html"));

    auto* radio = new QGroupBox(QStringLiteral("Radio"));
    auto* phone = new QGroupBox(QStringLiteral("Phone"));
    auto* radioGrid = new QGridLayout(radio);
    auto* phoneGrid = new QGridLayout(phone);

    for (std::size_t i = 0; i < kLevelSlots.size(); ++i) {
        const LevelSlot& slot = kLevelSlots[i];
        QGridLayout* grid = slot.group == "Phone" ? phoneGrid : radioGrid;
        const int column = slot.group == "Phone" ? 0 : static_cast<int>(i);

        auto* heading = new QLabel(Text(slot.column));
        auto* text = new QLabel;
        auto* slider = new QSlider(Qt::Vertical);
        heading->setAlignment(Qt::AlignCenter);
        text->setAlignment(Qt::AlignCenter);
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("-20 dBm")) + 8);
        text->setObjectName(QStringLiteral("text%1").arg(351 + i));
        slider->setObjectName(QStringLiteral("slider%1").arg(451 + i));
        slider->setRange(0, kSetPointMax);
        slider->setSingleStep(2);
        slider->setPageStep(2);
        slider->setTickInterval(2);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setMinimumHeight(180);
        slider->setAccessibleName(Text(slot.column) + QStringLiteral(" ") + Text(slot.group));

        grid->addWidget(heading, 0, column, Qt::AlignHCenter);
        grid->addWidget(text, 1, column, Qt::AlignHCenter);
        grid->addWidget(slider, 2, column, Qt::AlignHCenter);
        m_sliders[i] = slider;
        m_texts[i] = text;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(radio, 4);
    layout->addWidget(phone, 1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetupWindow();
}

void SetptDialog::SetupWindow()
{
    for (std::size_t i = 0; i < kLevelSlots.size(); ++i) {
        const LevelSlot& slot = kLevelSlots[i];
        m_setPoints[i] = SetPointFromLevel(m_document.image.gen.*slot.field, slot.kind);
        const QSignalBlocker block(m_sliders[i]);
        m_sliders[i]->setValue(SliderValue(m_setPoints[i]));
    }
    m_opened = m_setPoints;
    ShowTexts();
    for (QSlider* slider : m_sliders)
        connect(slider, &QSlider::valueChanged, this, &SetptDialog::UpdateSetpoint);
}

void SetptDialog::UpdateSetpoint()
{
    for (std::size_t i = 0; i < m_sliders.size(); ++i) {
        QSlider* slider = m_sliders[i];
        // The thumb snaps to the 2 dB ticks.
        if (slider->value() % 2 != 0) {
            const QSignalBlocker block(slider);
            slider->setValue(slider->value() + 1);
        }
        m_setPoints[i] = slider->value();
    }
    ShowTexts();
}

void SetptDialog::ShowTexts()
{
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        m_texts[i]->setText(QString::fromStdString(SetPointText(m_setPoints[i])));
}

// Writes all five; one below its slider's reach was shown at the top and is stored as 0 dBm.
void SetptDialog::Store()
{
    for (std::size_t i = 0; i < kLevelSlots.size(); ++i)
        m_document.image.gen.*kLevelSlots[i].field = LevelFromSetPoint(m_setPoints[i], kLevelSlots[i].kind);
}

} // namespace veskar
