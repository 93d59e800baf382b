#pragma once

#include "platform/NetworkState.h"
#include "platform/Registry.h"
#include "platform/ServiceControlManager.h"
#include "ports/MachineFinding.h"

#include <cstdint>
#include <string>
#include <vector>

namespace q7n {

// Who is connected to one mapped local port now: for information, not a fault.
struct TPortConnections {
    std::uint16_t LocalPort = 0;
    std::vector<std::string> Peers; // "10.0.0.5:50211", "[::1]:50212"
};

struct TMachineReport {
    // The service's findings first (row 0), then the mappings' by row.
    std::vector<TMachineFinding> Findings;
    // The mapped local ports that have connections, ascending.
    std::vector<TPortConnections> Connections;
    // What could not be looked at, and why; its findings are missing from the report.
    std::vector<std::string> Unseen;
};

// The owner of a listener that the system does not name: another user's process seen without the
// right to look into it, or, under Wine, a socket that only wineserver holds.
inline constexpr const char* UnnamedProcess = "a program the system does not name";

// Tells why a mapping may not work from what the machine says: the serial ports its drivers
// registered, the TCP listeners and who owns them, and the service's registration and last end.
// It only reads; it never opens a COM port (that changes the port's modem lines under the device
// and the running service) and never binds or connects.
class TMachineDoctor final : public IMachineCheck {
public:
    // Looks at the service registered as Name, whose program of this folder, as the configurator
    // registers it, is ServiceProgram. The rest must outlive the doctor.
    TMachineDoctor(std::string Name, std::string ServiceProgram,
                   platform::IServiceControlManager& Services, platform::IRegistry& Registry,
                   platform::INetworkState& Network);

    TMachineReport Examine(const TQ7NPorts& Ports);
    std::vector<TMachineFinding> CheckRows(const TQ7NPorts& Ports) override;

private:
    std::string FName;
    std::string FServiceProgram;
    platform::IServiceControlManager& FServices;
    platform::IRegistry& FRegistry;
    platform::INetworkState& FNetwork;
};

} // namespace q7n
