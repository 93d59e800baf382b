#include "dialogs/PrivateCopyExecute.h"

namespace q7n {

bool ExecuteOnPrivateCopy(TXMLClass& Working, TXMLClass* Source,
                          const std::function<bool()>& ShowModal) {
    if (Source)
        Working.CopyFrom(Source);
    else
        Working.SetDefaults();
    bool Confirmed = ShowModal();
    if (Confirmed && Source)
        Source->CopyFrom(&Working);
    return Confirmed;
}

} // namespace q7n
