#include "app/EditorCommands.h"

#include "about/Cv2AboutDlg.h"
#include "app/MainWindow.h"
#include "directories/CopyDirDialog.h"
#include "directories/DirWin.h"
#include "levels/SetptDialog.h"
#include "programming/ProgramCommand.h"
#include "report/PrintoutWin.h"
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
    const CommandId directories[] = {CommandId::DirA, CommandId::DirB, CommandId::DirC, CommandId::DirD};
    for (int d = 0; d < 4; ++d)
        main.setCommandHandler(directories[d], [&main, d] { (new DirWin(main, d))->show(); });
    main.setCommandHandler(CommandId::CopyDir,
                           [&main] { RunModal<CopyDirDialog>(main, main.document(), main.messages()); });
    main.setCommandHandler(CommandId::Program, [&main] { RunProgramming(main, main.cfg()); });
    main.setCommandHandler(CommandId::Summary, [&main] { PrintoutWin::Open(main, SummaryMode::Operators); });
    main.setCommandHandler(CommandId::HelpAbout, [&main] { RunModal<Cv2AboutDlg>(main); });
}

} // namespace veskar
