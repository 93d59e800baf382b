#include "platform/win32/Win32Error.h"

#include "platform/win32/Win32Text.h"

namespace q7n::platform {

namespace {

class TWin32Category final : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }

    std::string message(int Code) const override {
        wchar_t* Buffer = nullptr;
        const DWORD Length = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, DWORD(Code), 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
        if (Length == 0)
            return "Windows error " + std::to_string(Code);
        std::wstring Text(Buffer, Length);
        ::LocalFree(Buffer);
        // The texts end in a full stop and a line break; the caller goes on after them.
        while (!Text.empty() && (Text.back() == L'\r' || Text.back() == L'\n' ||
                                 Text.back() == L'.' || Text.back() == L' '))
            Text.pop_back();
        return WideToUtf8(Text);
    }
};

} // namespace

const std::error_category& Win32Category() {
    static const TWin32Category Category;
    return Category;
}

void ThrowWin32Error(const std::string& What, DWORD Error) {
    throw std::system_error(int(Error), Win32Category(), What);
}

} // namespace q7n::platform
