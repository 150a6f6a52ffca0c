#pragma once

// The texts of the line editor and the directory window, as the user reads them.

#include <string_view>

namespace veskar {

// Line editor.
inline constexpr std::string_view kLineEditorTitle = "ACTIONS";
inline constexpr std::string_view kLineEditorCaption = "EDITING DIRECTORY ";
inline constexpr std::string_view kLineEditorCaptionLine = " - LINE ";
inline constexpr std::string_view kMaxCommandsQuestion =
    "The maximum number of commands are presently entered, the last entry will be lost - Proceed?.";
inline constexpr std::string_view kDeleteFirstQuestion =
    "Deleting the first entry will clear the entire directroy line - Proceed?.";
inline constexpr std::string_view kLineSubject = "this Directory line";

// Directory window.
inline constexpr std::string_view kDirectoryCaption = "DIRECTORY ";
inline constexpr std::string_view kDirectoryTitle =
    " SEQUENCE            DESCRIPTION OF OPERATION           % USED = ";
inline constexpr std::string_view kDirectorySubject = "this Directory";
inline constexpr std::string_view kEntriesAfterAutoAck = "Entries after AUTO ACK are not allowed.";
inline constexpr std::string_view kLineTrimmed =
    "This directory line has too many entries - excess entries have been deleted.";
inline constexpr std::string_view kDirectoryFull =
    "There are too many entries in this directory - this line is not allowed.";

struct WindowCommand {
    int id;
    std::string_view text;
    std::string_view hint;
};

inline constexpr WindowCommand kExitAndSave = {5730, "E&xit and Save", "Exit and save all changes"};
inline constexpr WindowCommand kCancelDirectory = {5731, "&Cancel",
                                                   "Cancel all changes and close the directory window"};
inline constexpr WindowCommand kEditLine = {5729, "&Edit Line", "Edit the selected directory line"};
inline constexpr WindowCommand kInsertLine = {5732, "&Insert Line",
                                              "Insert a new directory line at the selected location"};
inline constexpr WindowCommand kDeleteLine = {5733, "&Delete Line",
                                              "Delete the selected directory line and all of its commands"};

// A stored block this window cannot show whole (it came from a unit or another
// file): said when the window opens, asked before the shorter block is saved.
inline constexpr std::string_view kUnshownNotice =
    " holds entries this window cannot show, which are left out:";
inline constexpr std::string_view kUnshownSaveQuestion =
    " will be saved without the entries this window could not show - Proceed?";

// Copy directory.
inline constexpr std::string_view kCopyQuestionStart = "The contents of Directory ";
inline constexpr std::string_view kCopyQuestionMiddle = " will be replaced with Directory ";
inline constexpr std::string_view kCopyQuestionEnd = " - Proceed?";

} // namespace veskar
