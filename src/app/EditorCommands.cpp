#include "app/EditorCommands.h"

#include "about/Cv2AboutDlg.h"
#include "app/MainWindow.h"
#include "levels/SetptDialog.h"
#include "programming/ProgramCommand.h"
#include "system/GeneralDialog.h"
#include "users/UserWin.h"

namespace veskar {

namespace {

// A modal editor made fresh for each use.
template <typename Dialog, typename... Args> void RunModal(MainWindow& main, Args&&... args)
{
    Dialog dialog(&main, std::forward<Args>(args)...);
    main.runDialog(dialog);
}

} // namespace

void RegisterEditors(MainWindow& main)
{
    main.setCommandHandler(CommandId::Levels,
                           [&main] { RunModal<SetptDialog>(main, main.document(), main.messages()); });
    main.setCommandHandler(CommandId::System, [&main] {
        RunModal<GeneralDialog>(main, main.document(), main.messages(),
                                [&main](QDialog& form) { return main.runDialog(form); });
    });
    main.setCommandHandler(CommandId::Users, [&main] { (new UserWin(main))->show(); });
    main.setCommandHandler(CommandId::Program, [&main] { RunProgramming(main); });
    main.setCommandHandler(CommandId::HelpAbout, [&main] { RunModal<Cv2AboutDlg>(main); });
}

} // namespace veskar
