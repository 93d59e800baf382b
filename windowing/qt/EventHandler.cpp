#include "windowing/qt/EventHandler.h"

#include "base/Exceptions.h"
#include "windowing/qt/ErrorBox.h"

#include <exception>

namespace q7n::qt {

bool RunEventHandler(QWidget* Window, const std::function<void()>& Handler) {
    try {
        Handler();
        return true;
    } catch (const EAbort&) {
        // the silent abort: the operation simply ends
    } catch (const std::exception& Error) {
        ShowErrorBox(QString::fromUtf8(Error.what()), Window);
    }
    return false;
}

} // namespace q7n::qt
