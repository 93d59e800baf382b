#pragma once

#include "ModalDialog.h"
#include "XMLClass.h"

#include <functional>

namespace q7n {

// The Execute of a dialog that edits a private copy, Working, of Source: Working takes Source's
// values (its defaults when Source is none), Show puts them in the controls, the dialog runs
// modally, and only OK copies Working back into Source. True only for OK.
bool ExecuteOnPrivateCopy(qt::TModalDialog& Dialog, TXMLClass& Working, TXMLClass* Source,
                          const std::function<void()>& Show);

} // namespace q7n
