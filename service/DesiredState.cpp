#include "service/DesiredState.h"

#include "platform/ServiceControlManager.h"

#include <array>

namespace q7n {

namespace {

constexpr std::array<const char*, 4> DesiredStateTexts = {"installed", "running", "stopped",
                                                          "absent"};

} // namespace

std::optional<TDesiredState> DesiredStateFromText(std::string_view Text) {
    for (std::size_t Index = 0; Index < DesiredStateTexts.size(); ++Index)
        if (Text == DesiredStateTexts[Index])
            return TDesiredState(Index);
    return std::nullopt;
}

const char* DesiredStateText(TDesiredState Desired) {
    return DesiredStateTexts[Desired];
}

TEnsureAction EnsureAction(TDesiredState Desired, const TServiceFacts& Facts) {
    using namespace platform;
    const bool Present = Facts.Installed && !Facts.MarkedForDelete;
    switch (Desired) {
    case dsInstalled:
        return Present ? eaNone : eaInstall;
    case dsAbsent:
        return Present ? eaUninstall : eaNone;
    case dsRunning:
        if (!Present)
            return eaRefuse;
        return Facts.State == ServiceRunning || Facts.State == ServiceStartPending ? eaNone
                                                                                   : eaStart;
    case dsStopped:
        if (!Present)
            return eaRefuse;
        return Facts.State == ServiceStopped || Facts.State == ServiceStopPending ? eaNone : eaStop;
    }
    return eaNone;
}

} // namespace q7n
