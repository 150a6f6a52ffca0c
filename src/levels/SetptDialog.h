#pragma once

// The audio levels editor: five vertical sliders in 2 dB steps, each with its
// level in dBm. OK stores all five (marking the document changed only when one
// moved); Cancel with changes asks before discarding them.

#include "levels/Levels.h"
#include "widgets/EditorDialog.h"

#include <array>

class QLabel;
class QSlider;

namespace veskar {

class SetptDialog : public EditorDialog {
    Q_OBJECT
  public:
    SetptDialog(QWidget* parent, Document& document, MessageService& messages);

    [[nodiscard]] QSlider* slider(int index) const { return m_sliders.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] QLabel* valueText(int index) const { return m_texts.at(static_cast<std::size_t>(index)); }

  protected:
    [[nodiscard]] bool Changed() const override { return m_setPoints != m_opened; }
    void Store() override;

  private:
    void SetupWindow();
    void UpdateSetpoint();
    void ShowTexts();

    Document& m_document;
    std::array<QSlider*, 5> m_sliders{};
    std::array<QLabel*, 5> m_texts{};
    std::array<int, 5> m_setPoints{};
    std::array<int, 5> m_opened{};
};

} // namespace veskar
