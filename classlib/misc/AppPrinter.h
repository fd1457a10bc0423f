// The application's printer: the one the print dialog starts from and the
// program prints to, with the settings last confirmed in that dialog (a
// device-mode block). Program-wide, used on the user-interface thread.
#pragma once

#include "utils/QuorvantellUtils.h"

#include <string>
#include <vector>

namespace quorvantell {

class AppPrinter {
public:
    // Starts as the system's default printer with its own settings.
    static AppPrinter& Current();
    // The names of the printers the system offers.
    static std::vector<std::string> Available();

    const std::string& DeviceName() const { return m_deviceName; }
    const DEVMODE& Settings() const { return m_settings; }
    // A device-names block: driver, device and port names after the head.
    std::vector<char> DeviceNames() const;

    // Makes the named printer the application's one (driver and port looked
    // up); an unknown name changes nothing.
    void Select(const std::string& deviceName);
    void SetSettings(const DEVMODE& settings);

private:
    AppPrinter();
    void StampDeviceName();

    std::string m_deviceName;
    std::string m_driverName;
    DEVMODE m_settings;
};

}  // namespace quorvantell
