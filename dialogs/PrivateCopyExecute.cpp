#include "PrivateCopyExecute.h"

namespace q7n {

bool ExecuteOnPrivateCopy(qt::TModalDialog& Dialog, TXMLClass& Working, TXMLClass* Source,
                          const std::function<void()>& Show) {
    if (Source)
        Working.CopyFrom(Source);
    else
        Working.SetDefaults();
    Show();
    bool Confirmed = Dialog.ExecuteModal();
    if (Confirmed && Source)
        Source->CopyFrom(&Working);
    return Confirmed;
}

} // namespace q7n
