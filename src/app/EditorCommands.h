#pragma once

// Hooks every editor of the configuration into the main window's command table.

namespace veskar {

class MainWindow;

void RegisterEditors(MainWindow& main);

} // namespace veskar
