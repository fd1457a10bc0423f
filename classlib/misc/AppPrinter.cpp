// The application's printer over QPrinterInfo. There are no ports here; the
// driver name is the printer's make and model as the print system reports.
#include "classlib/misc/AppPrinter.h"

#include <QPrinterInfo>

#include <algorithm>
#include <cstring>

namespace quorvantell {

namespace {

void AppendString(std::vector<char>& block, uint16_t& offset, const std::string& text)
{
    offset = static_cast<uint16_t>(block.size());
    block.insert(block.end(), text.begin(), text.end());
    block.push_back('\0');
}

}  // namespace

AppPrinter& AppPrinter::Current()
{
    static AppPrinter printer;
    return printer;
}

std::vector<std::string> AppPrinter::Available()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

AppPrinter::AppPrinter()
{
    m_settings.dmSize = sizeof(DEVMODE);
    Select(QPrinterInfo::defaultPrinterName().toStdString());
}

std::vector<char> AppPrinter::DeviceNames() const
{
    DEVNAMES head;
    std::vector<char> block(sizeof head);
    AppendString(block, head.wDriverOffset, m_driverName);
    AppendString(block, head.wDeviceOffset, m_deviceName);
    AppendString(block, head.wOutputOffset, "");
    std::memcpy(block.data(), &head, sizeof head);
    return block;
}

void AppPrinter::Select(const std::string& deviceName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(deviceName));
    if (info.isNull())
        return;
    m_deviceName = deviceName;
    m_driverName = info.makeAndModel().toStdString();
    StampDeviceName();
}

void AppPrinter::SetSettings(const DEVMODE& settings)
{
    m_settings = settings;
    m_settings.dmSize = sizeof(DEVMODE);
    StampDeviceName();
}

// The settings name the printer they belong to (cut to the field's size).
void AppPrinter::StampDeviceName()
{
    std::memset(m_settings.dmDeviceName, 0, sizeof m_settings.dmDeviceName);
    std::memcpy(m_settings.dmDeviceName, m_deviceName.data(),
                std::min(m_deviceName.size(), sizeof m_settings.dmDeviceName - 1));
}

}  // namespace quorvantell
