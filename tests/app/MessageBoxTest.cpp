#include "widgets/MessageService.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(MessageBox, EnterOnAQuestionThatDestroysDataMeansNo)
{
    using Buttons = MessageService::Buttons;
    const std::pair<Buttons, QMessageBox::StandardButton> cases[] = {
        {Buttons::YesNo, QMessageBox::Yes},
        {Buttons::YesNoSafe, QMessageBox::No},
        {Buttons::YesNoCancel, QMessageBox::Yes},
    };
    for (const auto& [buttons, expected] : cases) {
        const auto box = QtMessageService::MakeBox(nullptr, QStringLiteral("Query"),
                                                   MessageService::Icon::Question, buttons, QStringLiteral(" text "));
        EXPECT_EQ(box->defaultButton(), box->button(expected)) << static_cast<int>(buttons);
        EXPECT_EQ(box->text(), QStringLiteral(" text "));
    }
}

} // namespace
} // namespace veskar
