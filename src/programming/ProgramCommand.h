#pragma once

namespace veskar {

class MainWindow;

// The main window's Program command: the Programming dialog over the real
// serial port, run modally.
void RunProgramming(MainWindow& main);

} // namespace veskar
