#pragma once

#include "base/Status.h"
#include "base/StatusOr.h"
#include "platform/ScmHandle.h"

#include <cstdint>
#include <memory>
#include <string>

// The service manager operations of the host platform (named apart from the Win32 macros
// CreateService, OpenService and StartService). Every call answers with a status that carries
// the platform's error code, Windows's values on every backend, and the system's text of it; the
// opening calls give the owner of the handle they opened.
namespace q7n::platform {

// Windows error codes that the backends report.
inline constexpr std::uint32_t ErrorSuccess = 0;
inline constexpr std::uint32_t ErrorFileNotFound = 2;
inline constexpr std::uint32_t ErrorAccessDenied = 5;
inline constexpr std::uint32_t ErrorInvalidHandle = 6;
inline constexpr std::uint32_t ErrorGenFailure = 31;
inline constexpr std::uint32_t ErrorInvalidParameter = 87;
inline constexpr std::uint32_t ErrorInvalidName = 123;
inline constexpr std::uint32_t ErrorBadExeFormat = 193;
inline constexpr std::uint32_t ErrorServiceRequestTimeout = 1053;
inline constexpr std::uint32_t ErrorServiceNoThread = 1054;
inline constexpr std::uint32_t ErrorServiceDatabaseLocked = 1055;
inline constexpr std::uint32_t ErrorServiceAlreadyRunning = 1056;
inline constexpr std::uint32_t ErrorServiceDoesNotExist = 1060;
inline constexpr std::uint32_t ErrorServiceCannotAcceptCtrl = 1061;
inline constexpr std::uint32_t ErrorServiceNotActive = 1062;
inline constexpr std::uint32_t ErrorDatabaseDoesNotExist = 1065;
inline constexpr std::uint32_t ErrorServiceSpecificError = 1066;
inline constexpr std::uint32_t ErrorProcessAborted = 1067;
inline constexpr std::uint32_t ErrorServiceMarkedForDelete = 1072;
inline constexpr std::uint32_t ErrorServiceExists = 1073;

// Access rights, service types and codes passed to the manager.
inline constexpr std::uint32_t ScManagerAllAccess = 0xF003F;
inline constexpr std::uint32_t ServiceAllAccess = 0xF01FF;
inline constexpr std::uint32_t ScManagerConnect = 0x0001;
inline constexpr std::uint32_t ServiceQueryConfig = 0x0001;
inline constexpr std::uint32_t ServiceQueryStatus = 0x0004;
inline constexpr std::uint32_t ServiceWin32OwnProcess = 0x10;
inline constexpr std::uint32_t ServiceAutoStart = 2;
inline constexpr std::uint32_t ServiceErrorNormal = 1;

// Current states of a service.
inline constexpr std::uint32_t ServiceStopped = 1;
inline constexpr std::uint32_t ServiceStartPending = 2;
inline constexpr std::uint32_t ServiceStopPending = 3;
inline constexpr std::uint32_t ServiceRunning = 4;

// The registration of a new service.
struct TServiceRegistration {
    std::string Name;
    std::string DisplayName;
    std::uint32_t Access = ServiceAllAccess;
    std::uint32_t ServiceType = ServiceWin32OwnProcess;
    std::uint32_t StartType = ServiceAutoStart;
    std::uint32_t ErrorControl = ServiceErrorNormal;
    std::string BinaryPathName; // the command line the manager runs
};

// What the manager knows of a service now.
struct TServiceStatus {
    std::uint32_t CurrentState = ServiceStopped;
    // The service's process while it has one; 0 when it is stopped.
    std::uint32_t ProcessId = 0;
    // How its last run ended: 0 for a clean stop; ErrorServiceSpecificError when the service
    // gave a code of its own in ServiceSpecificExitCode; ErrorProcessAborted when its process
    // ended without stopping as a service does (killed, or crashed).
    std::uint32_t Win32ExitCode = 0;
    std::uint32_t ServiceSpecificExitCode = 0;
};

class IServiceControlManager {
public:
    // Connects to the local machine's manager.
    virtual TStatusOr<TScmHandleOwner> OpenManager(std::uint32_t Access) = 0;
    virtual TStatusOr<TScmHandleOwner> Register(TScmHandle Manager,
                                                const TServiceRegistration& Service) = 0;
    virtual TStatusOr<TScmHandleOwner> Open(TScmHandle Manager, const std::string& Name,
                                            std::uint32_t Access) = 0;
    // Starts the service with no arguments.
    virtual TStatus Start(TScmHandle Service) = 0;
    // Sends the stop control.
    virtual TStatus ControlStop(TScmHandle Service) = 0;
    virtual TStatus Delete(TScmHandle Service) = 0;
    // The service's current state (1 stopped to 7 paused, as Windows numbers them).
    virtual TStatusOr<std::uint32_t> QueryState(TScmHandle Service) = 0;
    // The state, process and last exit codes, as QueryServiceStatusEx tells them.
    virtual TStatusOr<TServiceStatus> QueryStatus(TScmHandle Service) = 0;
    // The command line the service is registered with, as it was registered.
    virtual TStatusOr<std::string> QueryCommandLine(TScmHandle Service) = 0;
    virtual void CloseHandle(TScmHandle Handle) = 0;

    virtual ~IServiceControlManager() = default;
};

// The service manager of the host: the Service Control Manager on Windows, the stand-in over the
// machine database elsewhere.
std::unique_ptr<IServiceControlManager> CreateHostServiceControlManager();

} // namespace q7n::platform
