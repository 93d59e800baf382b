// q7n_serial_ports_stand_in: lists the host's serial devices in the machine database as Windows'
// serial drivers list theirs, in HKLM\HARDWARE\DEVICEMAP\SERIALCOMM (one value per port, its
// data "COMn"), so that the configurator and q7nctl on Linux see the serial ports of the machine
// they run on. /dev/ttySn is COMn+1; USB and ACM adapters follow the highest of those, in order.
// The key is made afresh each time, as Windows makes it at each start. Exit codes: 0 listed, 1 the
// database refused.
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace q7n::platform;

namespace {

constexpr const char* SerialPortsKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// The numbers N of the devices /dev/PREFIXN, ascending.
std::vector<int> DeviceNumbers(const std::string& Prefix) {
    std::vector<int> Numbers;
    std::error_code Error;
    for (const auto& Entry : std::filesystem::directory_iterator("/dev", Error)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.size() <= Prefix.size() || Name.compare(0, Prefix.size(), Prefix) != 0 ||
            Name.find_first_not_of("0123456789", Prefix.size()) != std::string::npos)
            continue;
        Numbers.push_back(std::stoi(Name.substr(Prefix.size())));
    }
    std::sort(Numbers.begin(), Numbers.end());
    return Numbers;
}

} // namespace

int main() {
    IRegistry& Registry = DefaultRegistry();
    // A key that is not there yet is as good as one deleted.
    IgnoreStatus(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, SerialPortsKey));
    TRegKey Key(Registry);
    if (!Key.Create(TRegRoot::rrLocalMachine, SerialPortsKey, KeyAllAccess).Ok()) {
        std::cerr << "q7n_serial_ports_stand_in: cannot write the machine database\n";
        return 1;
    }
    int Next = 1;
    auto List = [&](const std::string& Device, int COMPort) {
        if (Key.WriteValue("/dev/" + Device, RegSz, RegTextData("COM" + std::to_string(COMPort)))
                .Ok())
            std::cout << "COM" << COMPort << ": /dev/" << Device << "\n";
        Next = std::max(Next, COMPort + 1);
    };
    for (int Number : DeviceNumbers("ttyS"))
        List("ttyS" + std::to_string(Number), Number + 1);
    for (const char* Prefix : {"ttyUSB", "ttyACM"})
        for (int Number : DeviceNumbers(Prefix))
            List(Prefix + std::to_string(Number), Next);
    return 0;
}
