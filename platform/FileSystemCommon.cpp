#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"

#include <algorithm>

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

std::string ReadWholeFile(const std::string& Path) {
    return std::string(ReadFileBytes(Path).View());
}

void TFileBytes::Grow() {
    const std::size_t Size = std::max<std::size_t>(FSize * 2, 4096);
    auto Buffer = std::make_unique_for_overwrite<char[]>(Size);
    std::copy_n(FBuffer.get(), FSize, Buffer.get());
    FBuffer = std::move(Buffer);
    FSize = Size;
}

void CopyFileDurably(const std::string& From, const std::string& To) {
    TTemporaryFile Temporary(To);
    Temporary.Write(ReadWholeFileWhenFree(From));
    Temporary.MoveTo(To, false);
    FlushFolderOf(To);
}

} // namespace q7n::platform
