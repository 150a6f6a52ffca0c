#include "app/EditorCommands.h"

#include "about/Cv2AboutDlg.h"
#include "app/MainWindow.h"
#include "levels/SetptDialog.h"
#include "report/PrintoutWin.h"

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
    main.setCommandHandler(CommandId::Summary, [&main] { PrintoutWin::Open(main, SummaryMode::Operators); });
    main.setCommandHandler(CommandId::HelpAbout, [&main] { RunModal<Cv2AboutDlg>(main); });
}

} // namespace veskar
