#pragma once

#include "xmloptions/XMLOptionsSerializer.h"

#include <string>

namespace q7n {

// The warnings of the ports edit flow, in the words the administrator reads.

// The words that place a reading error in a file, in the windows' language and in q7nctl's.
struct TLocationWords {
    const char* Line;
    const char* Column;
    const char* Item;
    const char* Element;
};
extern const TLocationWords RussianLocationWords;
extern const TLocationWords EnglishLocationWords;

// Where the reader stopped, as an administrator looks for it: "line 12, column 5" or
// "mapping 3, element <COMPort>" (in Words); empty when the load does not know.
std::string LoadLocation(const TXMLLoadResult& Load, const TLocationWords& Words);

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
