#include "ports/PortListChange.h"

#include <algorithm>

namespace q7n {

std::vector<TPortValues> PortValuesOf(const TQ7NPorts& Ports) {
    std::vector<TPortValues> Values;
    Values.reserve(std::size_t(Ports.Count()));
    for (int I = 0; I < Ports.Count(); ++I) {
        const TQ7NPort& Port = *Ports.Items(I);
        Values.push_back(
            {Port.IP(), Port.RemoutePort(), Port.LocalPort(), Port.COMPort(), Port.CpRate()});
    }
    return Values;
}

void AssignPortValues(TQ7NPorts& Ports, const std::vector<TPortValues>& Values) {
    Ports.Clear();
    for (const TPortValues& Each : Values) {
        TQ7NPort& Port = *Ports.Add();
        Port.SetIP(Each.IP);
        Port.SetRemoutePort(Each.RemotePort);
        Port.SetLocalPort(Each.LocalPort);
        Port.SetCOMPort(Each.COMPort);
        Port.SetCpRate(Each.Rate);
    }
}

std::vector<TPortChange> PortListChanges(const std::vector<TPortValues>& Before,
                                         const std::vector<TPortValues>& After) {
    std::vector<TPortChange> Changes;
    const std::size_t Both = std::min(Before.size(), After.size());
    for (std::size_t I = 0; I < Both; ++I)
        if (!(Before[I] == After[I]))
            Changes.push_back({pcChanged, int(I + 1), Before[I], After[I]});
    for (std::size_t I = Both; I < After.size(); ++I)
        Changes.push_back({pcAdded, int(I + 1), std::nullopt, After[I]});
    for (std::size_t I = Both; I < Before.size(); ++I)
        Changes.push_back({pcRemoved, int(I + 1), Before[I], std::nullopt});
    return Changes;
}

} // namespace q7n
