#pragma once

// The user picks a port as COM1..COM8. On Windows that is the port itself;
// elsewhere each name stands for a device: an entry COMn=/dev/... in the
// [Ports] group of "CorvaneVeskar.ini" wins, otherwise COMn is the n-th port
// the system lists, USB adapters first (ttyUSB*, ttyACM*), then the others in
// name order, and /dev/ttyS(n-1) when the list is too short.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

inline constexpr std::string_view kProgramIniFile = "CorvaneVeskar.ini";
inline constexpr std::string_view kPortsGroup = "Ports";

// "COM3" -> 2; anything else (a device path, "COM9", "com 3") -> -1.
[[nodiscard]] int PortIndexFromName(std::string_view name);

// The order in which listed system ports take the names COM1, COM2, ...
[[nodiscard]] std::vector<std::string> OrderSystemPorts(std::vector<std::string> devices);

// `overrides` maps "COMn" to a device path; `systemPorts` are device paths as
// listed by the system. A name that is not COM1..COM8 is taken as a device path.
[[nodiscard]] std::string DeviceForPort(std::string_view name, const std::map<std::string, std::string>& overrides,
                                        std::span<const std::string> systemPorts);

// How a port is shown to the user: "COM1 (/dev/ttyUSB0)", or the name alone
// when name and device are the same.
[[nodiscard]] std::string PortLabel(std::string_view name, std::string_view device);
// The same in the Programming dialog's port list, as users have always seen it: "COM 1 (/dev/ttyUSB0)".
[[nodiscard]] std::string PortListLabel(int index, std::string_view device);

}  // namespace veskar
