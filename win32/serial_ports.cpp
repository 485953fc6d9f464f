#include "win32/serial_ports.h"

#include "win32/wide_text.h"

#include <windows.h>

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>
#include <vector>

namespace sg::win32 {

namespace {

// A number the drivers did not list opens by its name all the same.
std::string UnlistedPrefix()
{
    return std::string(protocol::DEVICE_PREFIX) + "COM";
}

constexpr char BLUETOOTH_NOT_PROBED[] = "Bluetooth: opening one can take 30 s; name it to probe it";

std::wstring StringValue(HKEY key, const wchar_t *name)
{
    wchar_t value[256]{};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return value;
}

// Device Manager's names for the Ports class, by COM name.
std::map<std::wstring, DeviceNames> FriendlyNames()
{
    std::map<std::wstring, DeviceNames> names;
    const HDEVINFO devices =
        SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        const HKEY key =
            SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const std::wstring portName = StringValue(key, L"PortName");
        RegCloseKey(key);
        if (portName.empty())
            continue;
        wchar_t friendly[256]{};
        SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                          reinterpret_cast<BYTE *>(friendly),
                                          sizeof friendly - sizeof(wchar_t), nullptr);
        wchar_t enumerator[64]{};
        SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_ENUMERATOR_NAME, nullptr,
                                          reinterpret_cast<BYTE *>(enumerator),
                                          sizeof enumerator - sizeof(wchar_t), nullptr);
        names.emplace(portName, DeviceNames{friendly, std::wstring_view(enumerator) == L"BTHENUM"});
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

} // namespace

protocol::PortCatalog PortsOfComNames(const std::vector<std::wstring> &names,
                                      const std::map<std::wstring, DeviceNames> &devices)
{
    std::vector<protocol::Port> ports;
    for (const std::wstring &name : names) {
        const std::optional<int> number = protocol::ParseComName(Narrow(name));
        if (!number)
            continue;
        const auto found = devices.find(name);
        const DeviceNames device = found == devices.end() ? DeviceNames{} : found->second;
        ports.push_back({.label = Narrow(name),
                         .device = std::string(protocol::DEVICE_PREFIX) + Narrow(name),
                         .description = Narrow(device.friendly),
                         .number = *number,
                         .notProbed = device.bluetooth ? BLUETOOTH_NOT_PROBED : ""});
    }
    std::sort(ports.begin(), ports.end(),
              [](const auto &a, const auto &b) { return a.number < b.number; });
    // Two drivers may claim one name; it is one port.
    ports.erase(std::unique(ports.begin(), ports.end(),
                            [](const auto &a, const auto &b) { return a.number == b.number; }),
                ports.end());
    return protocol::PortCatalog(std::move(ports), UnlistedPrefix());
}

protocol::PortCatalog ListSerialPorts()
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, LR"(HARDWARE\DEVICEMAP\SERIALCOMM)", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return protocol::PortCatalog({}, UnlistedPrefix());
    // Only the data is used, but a name longer than the buffer would skip its port; a driver
    // may name it up to the registry's limit of 16,383 characters.
    std::vector<wchar_t> valueName(16384);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        wchar_t data[64]{};
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key, i, valueName.data(), &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE *>(data), &size);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS && type == REG_SZ)
            names.emplace_back(data);
    }
    RegCloseKey(key);
    return PortsOfComNames(names, FriendlyNames());
}

std::filesystem::path UserPortsFile()
{
    wchar_t appData[MAX_PATH]{};
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    const std::filesystem::path base =
        length > 0 && length < MAX_PATH ? std::filesystem::path(appData) : std::filesystem::path();
    return base / L"sgsetup" / L"ports.txt";
}

} // namespace sg::win32
