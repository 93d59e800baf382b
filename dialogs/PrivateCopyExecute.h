#pragma once

#include "xmloptions/XMLClass.h"

#include <functional>

namespace q7n {

// The Execute of a dialog that edits a private copy, Working, of Source: Working takes Source's
// values (its defaults when Source is none), ShowModal shows them and runs the dialog until it
// is closed, answering true for OK, and only OK copies Working back into Source. True only for
// OK.
bool ExecuteOnPrivateCopy(TXMLClass& Working, TXMLClass* Source,
                          const std::function<bool()>& ShowModal);

} // namespace q7n
