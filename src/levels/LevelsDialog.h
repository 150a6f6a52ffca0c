#pragma once

// The audio levels editor: five vertical sliders in 2 dB steps, each with its
// level in dBm. OK stores all five (marking the document changed only when one
// moved); Cancel with changes asks before discarding them.

#include "levels/Levels.h"

#include <QDialog>

#include <array>

class QLabel;
class QSlider;

namespace veskar {

class Document;
class MessageService;

class LevelsDialog : public QDialog {
    Q_OBJECT
public:
    LevelsDialog(QWidget* parent, Document& document, MessageService& messages);

    [[nodiscard]] QSlider* slider(int index) const { return m_sliders.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] QLabel* valueText(int index) const { return m_texts.at(static_cast<std::size_t>(index)); }

    void done(int result) override;

private:
    void SetupWindow();
    void UpdateSetpoint();
    [[nodiscard]] bool CanClose();
    void ShowTexts();

    Document& m_document;
    MessageService& m_messages;
    std::array<QSlider*, 5> m_sliders{};
    std::array<QLabel*, 5> m_texts{};
    std::array<int, 5> m_setPoints{};
    std::array<int, 5> m_opened{};
    bool m_ok = false;
};

}  // namespace veskar
