#pragma once

// What an editor needs from the application around it: the document, the
// command flags, the message boxes and file dialogs, the status line and the
// list of open editor windows. The main window provides it; editors never
// reach for the main window itself.

#include "widgets/CommandId.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QDialog;
class QObject;
class QWidget;

namespace veskar {

class Document;
class FileChooser;
class FlagsModel;
class MessageService;

class EditorHost {
  public:
    virtual ~EditorHost() = default;

    // The window editors stand over: their parent, the screen they size to.
    [[nodiscard]] virtual QWidget& frame() = 0;
    [[nodiscard]] virtual Document& document() = 0;
    [[nodiscard]] virtual FlagsModel& flags() = 0;
    [[nodiscard]] virtual MessageService& messages() = 0;
    [[nodiscard]] virtual FileChooser& files() = 0;

    // How modal dialogs are run (exec, or a test's driver).
    virtual int runDialog(QDialog& dialog) = 0;

    // A modeless editor window, closed (asking) before the program ends.
    virtual void addEditorWindow(QWidget* window) = 0;
    [[nodiscard]] virtual const QList<QPointer<QWidget>>& editorWindows() const = 0;

    // The document may have changed; `follow` runs for as long as `receiver` lives.
    virtual void touchDocument() = 0;
    virtual void whenDocumentTouched(QObject* receiver, std::function<void()> follow) = 0;

    // A hint in the status line.
    virtual void showHint(const QString& text) = 0;

    // Runs a command as its menu item would, when it is enabled.
    [[nodiscard]] virtual bool commandEnabled(CommandId id) const = 0;
    virtual void runCommand(int id) = 0;
};

} // namespace veskar
