#pragma once

// Copies one directory block over another: a From and a To choice (the same
// directory cannot be both) and a question naming both before anything changes.

#include <QDialog>

#include <array>

class QPushButton;
class QRadioButton;

namespace veskar {

class Document;
class MessageService;

class CopyDirDialog : public QDialog {
    Q_OBJECT
  public:
    CopyDirDialog(QWidget* parent, Document& document, MessageService& messages);

    [[nodiscard]] QRadioButton* from(int directory) const
    {
        return m_from.at(static_cast<std::size_t>(directory));
    }
    [[nodiscard]] QRadioButton* to(int directory) const
    {
        return m_to.at(static_cast<std::size_t>(directory));
    }
    [[nodiscard]] QPushButton* copyButton() const { return m_copy; }

    void Copy();

  private:
    // Choosing `directory` on one side clears and disables it on the other.
    static void Select(const std::array<QRadioButton*, 4>& other, int directory);
    [[nodiscard]] static int Chosen(const std::array<QRadioButton*, 4>& side);

    Document& m_document;
    MessageService& m_messages;
    std::array<QRadioButton*, 4> m_from{};
    std::array<QRadioButton*, 4> m_to{};
    QPushButton* m_copy = nullptr;
};

} // namespace veskar
