#pragma once

#include "platform/Registry.h"

#include <string>
#include <string_view>

namespace q7n::platform {

// One key and its values as a registry export file, the form that Windows' registry editor
// writes and imports ("Windows Registry Editor Version 5.00"): UTF-16LE with a byte-order mark
// and CR LF line ends. Path is the key read below Root; ShownPath is the key the file names,
// which an import creates. Text that a quoted string cannot carry (line breaks, zero characters,
// no terminator) is written as hex(1) data. Fails with ErrorInvalidParameter for a name with a
// line break, which the format cannot hold, and with the registry's status when the key or one
// of its values cannot be read.
TStatusOr<std::string> ExportRegistryKey(IRegistry& Registry, TRegRoot Root,
                                         const std::string& Path, const std::string& ShownPath);

// Writes File, made above, to the file at Path (UTF-8), replacing it; false when it cannot.
bool SaveRegistryExportFile(const std::string& Path, std::string_view File);

// The name under which a 64-bit registry editor reaches a key of the 32-bit view:
// "Software\X" becomes "Software\WOW6432Node\X". Other paths stay as they are.
std::string PathIn32BitViewOn64BitWindows(const std::string& Path);

} // namespace q7n::platform
