#include "programming/PortDirectory.h"

#include "programming/PortMap.h"

#include <QSerialPortInfo>
#include <QSettings>

namespace veskar {

namespace {

std::map<std::string, std::string> IniOverrides()
{
    QSettings ini(QString::fromUtf8(kProgramIniFile.data(), kProgramIniFile.size()), QSettings::IniFormat);
    ini.beginGroup(QString::fromUtf8(kPortsGroup.data(), kPortsGroup.size()));
    std::map<std::string, std::string> overrides;
    for (const QString& key : ini.childKeys())
        overrides[key.toUpper().toStdString()] = ini.value(key).toString().trimmed().toStdString();
    return overrides;
}

std::vector<std::string> SystemPorts()
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
}

}  // namespace

std::string ResolvePortDevice(std::string_view name)
{
    if (PortIndexFromName(name) < 0)
        return std::string(name);
    return DeviceForPort(name, IniOverrides(), SystemPorts());
}

}  // namespace veskar
