#include "widgets/CommandFlags.h"

namespace veskar {

namespace {

bool AllDirectoriesFree(const CommandFlags& flags)
{
    return flags.dirAon && flags.dirBon && flags.dirCon && flags.dirDon;
}

} // namespace

bool PrintAllowed(const CommandFlags& flags)
{
    return AllDirectoriesFree(flags) && flags.levelon && flags.useron;
}

bool CommandAllowed(const CommandFlags& flags, CommandId id)
{
    switch (id) {
    case CommandId::FileOpen:
    case CommandId::FileSave:
    case CommandId::FileSaveAs:
    case CommandId::ClearData: return flags.fileon;
    case CommandId::DefaultData: return flags.defaulton;
    case CommandId::Summary: return PrintAllowed(flags);
    case CommandId::Users: return flags.useron;
    case CommandId::System: return flags.genon;
    case CommandId::DirA: return flags.dirAon;
    case CommandId::DirB: return flags.dirBon;
    case CommandId::DirC: return flags.dirCon;
    case CommandId::DirD: return flags.dirDon;
    case CommandId::CopyDir: return AllDirectoriesFree(flags);
    case CommandId::Levels: return flags.levelon;
    case CommandId::Program: return flags.pgmon;
    case CommandId::Exit:
    case CommandId::HelpContents:
    case CommandId::HelpUsing:
    case CommandId::HelpAbout: return true;
    }
    return true;
}

} // namespace veskar
