#include "settings/RegistryValues.h"

namespace q7n {

TRegInteger::TRegInteger(TComponent* Owner) : TRegRangedValue(Owner, rvtInteger, "Integer") {}

TRegBoolean::TRegBoolean(TComponent* Owner) : TRegPlainValue(Owner, rvtBoolean, "Boolean") {}

TRegDateTime::TRegDateTime(TComponent* Owner) : TRegPlainValue(Owner, rvtDateTime, "DateTime") {}

TRegDate::TRegDate(TComponent* Owner) : TRegPlainValue(Owner, rvtDate, "Date") {}

TRegTime::TRegTime(TComponent* Owner) : TRegPlainValue(Owner, rvtTime, "Time") {}

TRegFloat::TRegFloat(TComponent* Owner) : TRegRangedValue(Owner, rvtFloat, "Float") {}

TRegString::TRegString(TComponent* Owner) : TRegPlainValue(Owner, rvtString, "String") {}

TRegFile::TRegFile(TComponent* Owner) : TRegPlainValue(Owner, rvtFileName, "FileName") {}

TRegFolder::TRegFolder(TComponent* Owner) : TRegPlainValue(Owner, rvtFolderName, "FolderName") {}

std::string TRegFolder::StoredText() const {
    const std::string& Folder = Value();
    if (Folder.empty())
        return "C:\\";
    if (Folder.back() == '\\')
        return Folder;
    return Folder + "\\";
}

TRegIP::TRegIP(TComponent* Owner) : TRegPlainValue(Owner, rvtIP, "IP") {}

} // namespace q7n
