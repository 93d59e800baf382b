#include "platform/ServiceControlManager.h"
#include "platform/SystemErrorText.h"

namespace q7n::platform {

namespace {

struct TErrorText {
    std::uint32_t Code;
    const char* Text;
};

// Windows' texts of the codes that the stand-ins answer with.
constexpr TErrorText ErrorTexts[] = {
    {ErrorSuccess, "The operation completed successfully"},
    {ErrorFileNotFound, "The system cannot find the file specified"},
    {ErrorAccessDenied, "Access is denied"},
    {ErrorInvalidHandle, "The handle is invalid"},
    {ErrorGenFailure, "A device attached to the system is not functioning"},
    {ErrorInvalidParameter, "The parameter is incorrect"},
    {ErrorInvalidName, "The filename, directory name, or volume label syntax is incorrect"},
    // Windows names the file where "The program" stands.
    {ErrorBadExeFormat, "The program is not a valid Win32 application"},
    {ErrorServiceRequestTimeout,
     "The service did not respond to the start or control request in a timely fashion"},
    {ErrorServiceNoThread, "A thread could not be created for the service"},
    {ErrorServiceDatabaseLocked, "The service database is locked"},
    {ErrorServiceAlreadyRunning, "An instance of the service is already running"},
    {ErrorServiceDoesNotExist, "The specified service does not exist as an installed service"},
    {ErrorServiceCannotAcceptCtrl, "The service cannot accept control messages at this time"},
    {ErrorServiceNotActive, "The service has not been started"},
    {ErrorDatabaseDoesNotExist, "The database specified does not exist"},
    {ErrorServiceSpecificError, "The service has returned a service-specific error code"},
    {ErrorProcessAborted, "The process terminated unexpectedly"},
    {ErrorServiceMarkedForDelete, "The specified service has been marked for deletion"},
    {ErrorServiceExists, "The specified service already exists"},
};

} // namespace

std::string SystemErrorText(std::uint32_t Code) {
    for (const TErrorText& Known : ErrorTexts)
        if (Known.Code == Code)
            return Known.Text;
    return "error " + std::to_string(Code);
}

} // namespace q7n::platform
