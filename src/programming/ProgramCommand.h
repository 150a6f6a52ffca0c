#pragma once

namespace veskar {

class EditorHost;
class PortSettings;

// The main window's Program command: the Programming dialog over the real
// serial port, run modally.
void RunProgramming(EditorHost& host, PortSettings& cfg);

} // namespace veskar
