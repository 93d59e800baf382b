#include "platform/ErrorBarrier.h"
#include "platform/ServiceControlManager.h"
#include "platform/SizedRead.h"
#include "platform/SystemErrorText.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

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

TStatus Result(BOOL Succeeded) {
    return SystemStatus(Succeeded ? ErrorSuccess : LastError());
}

// The Service Control Manager through advapi32's wide entry points. Our text is UTF-8, which they
// take unchanged whatever the machine's code page; text that is not UTF-8 raises in the
// conversion and is refused, behind the error barrier, as the manager refuses a bad name.
class TWin32ServiceControlManager final : public IServiceControlManager {
public:
    TStatusOr<TScmHandleOwner> OpenManager(std::uint32_t Access) override {
        SC_HANDLE Handle = ::OpenSCManagerW(nullptr, nullptr, Access);
        return Owned(Handle, Handle ? ErrorSuccess : LastError());
    }

    TStatusOr<TScmHandleOwner> Register(TScmHandle Manager,
                                        const TServiceRegistration& Service) override {
        SC_HANDLE Created = nullptr;
        std::uint32_t Error = ErrorBarrier([&]() -> std::uint32_t {
            std::wstring Name = Utf8ToWide(Service.Name);
            std::wstring DisplayName = Utf8ToWide(Service.DisplayName);
            std::wstring Path = Utf8ToWide(Service.BinaryPathName);
            Created = ::CreateServiceW(ToNative(Manager), Name.c_str(), DisplayName.c_str(),
                                       Service.Access, Service.ServiceType, Service.StartType,
                                       Service.ErrorControl, Path.c_str(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
            return Created ? ErrorSuccess : LastError();
        });
        return Owned(Created, Error);
    }

    TStatusOr<TScmHandleOwner> Open(TScmHandle Manager, const std::string& Name,
                                    std::uint32_t Access) override {
        SC_HANDLE Opened = nullptr;
        std::uint32_t Error = ErrorBarrier([&]() -> std::uint32_t {
            std::wstring WideName = Utf8ToWide(Name);
            Opened = ::OpenServiceW(ToNative(Manager), WideName.c_str(), Access);
            return Opened ? ErrorSuccess : LastError();
        });
        return Owned(Opened, Error);
    }

    TStatus Start(TScmHandle Service) override {
        LPCWSTR NoArguments[] = {nullptr};
        return Result(::StartServiceW(ToNative(Service), 0, NoArguments));
    }

    TStatus ControlStop(TScmHandle Service) override {
        SERVICE_STATUS Status{};
        return Result(::ControlService(ToNative(Service), SERVICE_CONTROL_STOP, &Status));
    }

    TStatus Delete(TScmHandle Service) override {
        return Result(::DeleteService(ToNative(Service)));
    }

    TStatusOr<std::uint32_t> QueryState(TScmHandle Service) override {
        SERVICE_STATUS Status{};
        if (!::QueryServiceStatus(ToNative(Service), &Status))
            return SystemStatus(LastError());
        return static_cast<std::uint32_t>(Status.dwCurrentState);
    }

    TStatusOr<TServiceStatus> QueryStatus(TScmHandle Service) override {
        SERVICE_STATUS_PROCESS Native{};
        DWORD Needed = 0;
        if (!::QueryServiceStatusEx(ToNative(Service), SC_STATUS_PROCESS_INFO,
                                    reinterpret_cast<BYTE*>(&Native), sizeof Native, &Needed))
            return SystemStatus(LastError());
        TServiceStatus Status;
        Status.CurrentState = Native.dwCurrentState;
        Status.ProcessId = Native.dwProcessId;
        Status.Win32ExitCode = Native.dwWin32ExitCode;
        Status.ServiceSpecificExitCode = Native.dwServiceSpecificExitCode;
        return Status;
    }

    TStatusOr<std::string> QueryCommandLine(TScmHandle Service) override {
        return ErrorBarrier([&]() -> TStatusOr<std::string> {
            // The configuration is a QUERY_SERVICE_CONFIGW followed by its strings, sized in bytes.
            using TUnit = QUERY_SERVICE_CONFIGW;
            std::vector<TUnit> Buffer;
            std::uint32_t Error = ReadSized(Buffer, [&](TUnit* Data, std::size_t Capacity) {
                DWORD Needed = 0;
                if (::QueryServiceConfigW(ToNative(Service), Data,
                                          static_cast<DWORD>(Capacity * sizeof(TUnit)), &Needed))
                    return TSizedAnswer{0, Capacity};
                return TSizedAnswer{LastError(), (Needed + sizeof(TUnit) - 1) / sizeof(TUnit)};
            });
            if (Error != ErrorSuccess)
                return SystemStatus(Error);
            const wchar_t* Path = Buffer.empty() ? nullptr : Buffer.front().lpBinaryPathName;
            return Path ? WideToUtf8(Path) : std::string();
        });
    }

    void CloseHandle(TScmHandle Handle) override {
        if (Handle)
            ::CloseServiceHandle(ToNative(Handle));
    }

private:
    // The owner of Handle after a call that ended with Error 0; otherwise the status of Error.
    TStatusOr<TScmHandleOwner> Owned(SC_HANDLE Handle, std::uint32_t Error) {
        return SystemResult(Error, TScmHandleOwner(FromNative(Handle), *this));
    }
};

} // namespace

std::unique_ptr<IServiceControlManager> CreateHostServiceControlManager() {
    return std::make_unique<TWin32ServiceControlManager>();
}

} // namespace q7n::platform
