#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"

namespace q7n::platform {

std::string ChangeFileExt(const std::string& Path, const std::string& Extension) {
    for (std::size_t I = Path.size(); I > 0; --I) {
        char C = Path[I - 1];
        if (IsPathSeparator(C))
            break;
        if (C == '.')
            return Path.substr(0, I - 1) + Extension;
    }
    return Path + Extension;
}

void TRemoveFileTraits::Close(const std::string& Path) const {
    RemoveFile(Path);
}

void CopyFileDurably(const std::string& From, const std::string& To) {
    TTemporaryFile Temporary(To);
    Temporary.Write(ReadWholeFileWhenFree(From));
    Temporary.MoveTo(To, false);
    FlushFolderOf(To);
}

} // namespace q7n::platform
