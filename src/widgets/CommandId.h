#pragma once

// The commands of the main window, by the ids their help topics and menus are
// looked up with. What each one shows and does is the application's command table.

namespace veskar {

enum class CommandId : int {
    FileOpen = 24332,
    FileSave = 24333,
    FileSaveAs = 24334,
    Exit = 24310,
    DefaultData = 5725,
    ClearData = 24311,
    Summary = 24312,
    Users = 5711,
    System = 5714,
    DirA = 5718,
    DirB = 5717,
    DirC = 5716,
    DirD = 5715,
    CopyDir = 5708,
    Levels = 5710,
    Program = 5713,
    HelpContents = 2001,
    HelpUsing = 2002,
    HelpAbout = 2009,
};

} // namespace veskar
