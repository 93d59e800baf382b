#include "platform/ServiceControlManager.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <system_error>
#include <vector>

namespace q7n::platform {

namespace {

SC_HANDLE ToNative(TScmHandle Handle) {
    return reinterpret_cast<SC_HANDLE>(Handle);
}

TScmHandle FromNative(SC_HANDLE Handle) {
    return reinterpret_cast<TScmHandle>(Handle);
}

// The error of the call that just failed, never 0.
std::uint32_t LastError() {
    DWORD Error = ::GetLastError();
    return Error ? Error : ErrorGenFailure;
}

std::uint32_t Result(BOOL Succeeded) {
    return Succeeded ? ErrorSuccess : LastError();
}

// Our text is UTF-8; the wide entry points take it unchanged whatever the machine's code page.
// Text that is not UTF-8 is refused as the manager refuses a bad name.
template <class TBody> std::uint32_t WithWideText(TBody Body) {
    try {
        return Body();
    } catch (const std::system_error& Error) {
        return static_cast<std::uint32_t>(Error.code().value());
    }
}

// The Service Control Manager through advapi32's wide entry points.
class TWin32ServiceControlManager final : public IServiceControlManager {
public:
    std::uint32_t OpenManager(std::uint32_t Access, TScmHandle& Manager) override {
        SC_HANDLE Handle = ::OpenSCManagerW(nullptr, nullptr, Access);
        Manager = FromNative(Handle);
        return Handle ? ErrorSuccess : LastError();
    }

    std::uint32_t Register(TScmHandle Manager, const TServiceRegistration& Service,
                           TScmHandle& Handle) override {
        Handle = 0;
        return WithWideText([&]() -> std::uint32_t {
            std::wstring Name = Utf8ToWide(Service.Name);
            std::wstring DisplayName = Utf8ToWide(Service.DisplayName);
            std::wstring Path = Utf8ToWide(Service.BinaryPathName);
            SC_HANDLE Created = ::CreateServiceW(
                ToNative(Manager), Name.c_str(), DisplayName.c_str(), Service.Access,
                Service.ServiceType, Service.StartType, Service.ErrorControl, Path.c_str(), nullptr,
                nullptr, nullptr, nullptr, nullptr);
            Handle = FromNative(Created);
            return Created ? ErrorSuccess : LastError();
        });
    }

    std::uint32_t Open(TScmHandle Manager, const std::string& Name, std::uint32_t Access,
                       TScmHandle& Handle) override {
        Handle = 0;
        return WithWideText([&]() -> std::uint32_t {
            std::wstring WideName = Utf8ToWide(Name);
            SC_HANDLE Opened = ::OpenServiceW(ToNative(Manager), WideName.c_str(), Access);
            Handle = FromNative(Opened);
            return Opened ? ErrorSuccess : LastError();
        });
    }

    std::uint32_t Start(TScmHandle Service) override {
        LPCWSTR NoArguments[] = {nullptr};
        return Result(::StartServiceW(ToNative(Service), 0, NoArguments));
    }

    std::uint32_t ControlStop(TScmHandle Service) override {
        SERVICE_STATUS Status{};
        return Result(::ControlService(ToNative(Service), SERVICE_CONTROL_STOP, &Status));
    }

    std::uint32_t Delete(TScmHandle Service) override {
        return Result(::DeleteService(ToNative(Service)));
    }

    std::uint32_t QueryState(TScmHandle Service, std::uint32_t& CurrentState) override {
        SERVICE_STATUS Status{};
        if (!::QueryServiceStatus(ToNative(Service), &Status))
            return LastError();
        CurrentState = Status.dwCurrentState;
        return ErrorSuccess;
    }

    std::uint32_t QueryStatus(TScmHandle Service, TServiceStatus& Status) override {
        SERVICE_STATUS_PROCESS Native{};
        DWORD Needed = 0;
        if (!::QueryServiceStatusEx(ToNative(Service), SC_STATUS_PROCESS_INFO,
                                    reinterpret_cast<BYTE*>(&Native), sizeof Native, &Needed))
            return LastError();
        Status.CurrentState = Native.dwCurrentState;
        Status.ProcessId = Native.dwProcessId;
        Status.Win32ExitCode = Native.dwWin32ExitCode;
        Status.ServiceSpecificExitCode = Native.dwServiceSpecificExitCode;
        return ErrorSuccess;
    }

    std::uint32_t QueryCommandLine(TScmHandle Service, std::string& CommandLine) override {
        // Asked for its size first; the configuration may grow between the calls, so the
        // second call is repeated with the size it asks for then.
        DWORD Needed = 0;
        std::vector<QUERY_SERVICE_CONFIGW> Buffer;
        for (int Attempt = 0; Attempt < 4; ++Attempt) {
            DWORD Bytes = static_cast<DWORD>(Buffer.size() * sizeof(QUERY_SERVICE_CONFIGW));
            if (::QueryServiceConfigW(ToNative(Service), Buffer.empty() ? nullptr : Buffer.data(),
                                      Bytes, &Needed)) {
                const wchar_t* Path = Buffer.empty() ? nullptr : Buffer.front().lpBinaryPathName;
                CommandLine = Path ? WideToUtf8(Path) : std::string();
                return ErrorSuccess;
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
                return LastError();
            Buffer.resize(Needed / sizeof(QUERY_SERVICE_CONFIGW) + 1);
        }
        return ERROR_INSUFFICIENT_BUFFER;
    }

    void CloseHandle(TScmHandle Handle) override {
        if (Handle)
            ::CloseServiceHandle(ToNative(Handle));
    }
};

} // namespace

std::unique_ptr<IServiceControlManager> CreateHostServiceControlManager() {
    return std::make_unique<TWin32ServiceControlManager>();
}

} // namespace q7n::platform
