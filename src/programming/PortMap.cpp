#include "programming/PortMap.h"

#include "programming/PortSettings.h"

#include <algorithm>

namespace veskar {

namespace {

bool IsUsbAdapter(std::string_view device)
{
    return device.find("ttyUSB") != std::string_view::npos || device.find("ttyACM") != std::string_view::npos;
}

}  // namespace

int PortIndexFromName(std::string_view name)
{
    for (int index = 0; index < kPortCount; ++index)
        if (name == PortName(index))
            return index;
    return -1;
}

std::vector<std::string> OrderSystemPorts(std::vector<std::string> devices)
{
    std::ranges::stable_sort(devices, [](const std::string& a, const std::string& b) {
        if (IsUsbAdapter(a) != IsUsbAdapter(b))
            return IsUsbAdapter(a);
        // ttyS2 before ttyS10
        if (a.size() != b.size())
            return a.size() < b.size();
        return a < b;
    });
    return devices;
}

std::string DeviceForPort(std::string_view name, const std::map<std::string, std::string>& overrides,
                          std::span<const std::string> systemPorts)
{
    const int index = PortIndexFromName(name);
    if (index < 0)
        return std::string(name);
    if (const auto entry = overrides.find(std::string(name)); entry != overrides.end() && !entry->second.empty())
        return entry->second;
#ifdef _WIN32
    return std::string(name);
#else
    const std::vector<std::string> ordered = OrderSystemPorts({systemPorts.begin(), systemPorts.end()});
    if (index < static_cast<int>(ordered.size()))
        return ordered[index];
    return "/dev/ttyS" + std::to_string(index);
#endif
}

std::string PortLabel(std::string_view name, std::string_view device)
{
    if (name == device)
        return std::string(name);
    return std::string(name) + " (" + std::string(device) + ")";
}

std::string PortListLabel(int index, std::string_view device)
{
    return PortLabel("COM " + std::to_string(index + 1), device);
}

}  // namespace veskar
