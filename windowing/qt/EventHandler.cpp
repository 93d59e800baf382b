#include "EventHandler.h"

#include "ErrorBox.h"
#include "Exceptions.h"

#include <exception>

namespace q7n::qt {

void RunEventHandler(QWidget* Window, const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const EAbort&) {
        // the silent abort: the operation simply ends
    } catch (const std::exception& Error) {
        ShowErrorBox(QString::fromUtf8(Error.what()), Window);
    }
}

} // namespace q7n::qt
