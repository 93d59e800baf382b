#pragma once

#include "xmloptions/XMLOptionsSerializer.h"

#include <string>

namespace q7n {

// The warnings of the ports edit flow, in the words the administrator reads.

// The ports file exists but was not read: the edit starts from an empty list.
std::string UnreadableFileWarning(const TXMLLoadResult& Load);

// The edited list could not be saved to Path.
std::string SaveFailure(const TXMLSaveResult& Save, const std::string& Path);

// The edited list was saved to Path, but a step after the replacement failed (Save.Remark).
std::string SaveRemark(const TXMLSaveResult& Save, const std::string& Path);

// Another program of ours is saving Path and holds its lock: try again?
std::string FileBusyQuestion(const std::string& Path);

// Another program changed Path after the editor opened it: overwrite its change with the edit?
std::string FileChangedQuestion(const std::string& Path);

} // namespace q7n
