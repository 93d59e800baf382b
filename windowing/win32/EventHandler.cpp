#include "windowing/win32/EventHandler.h"

#include "base/Exceptions.h"
#include "windowing/win32/ErrorBox.h"

#include <exception>

namespace q7n::win32 {

bool RunEventHandler(HWND Window, const std::function<void()>& Handler) {
    try {
        Handler();
        return true;
    } catch (const EAbort&) {
        // the silent abort: the operation simply ends
    } catch (const std::exception& Error) {
        ShowErrorBox(Error.what(), Window);
    }
    return false;
}

} // namespace q7n::win32
