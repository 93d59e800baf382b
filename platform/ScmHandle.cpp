#include "platform/ScmHandle.h"

#include "platform/ServiceControlManager.h"

namespace q7n::platform {

void TScmHandleTraits::Close(TScmHandle Handle) const {
    Manager->CloseHandle(Handle);
}

} // namespace q7n::platform
