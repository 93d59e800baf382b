#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The file calls that change what a file system keeps, as the POSIX backend makes them: for tests
// that replay a save and build each state a crash may leave. Off, the backend pays one test of a
// pointer per call.
namespace q7n::platform {

enum TFileCallKind {
    fcCreate,      // Path was created, open as File
    fcWrite,       // Data was written to File at Offset
    fcFlushFile,   // File's data was flushed to disk
    fcFlushFolder, // the folder Path was flushed: the names in it are on disk
    fcRename,      // Path was renamed to To, replacing what was there
    fcLink,        // To was made a second name of the file at Path
    fcUnlink,      // the name Path was removed
    fcClose,       // File was closed
};

struct TFileCall {
    TFileCallKind Kind;
    int File = -1;
    std::string_view Path;
    std::string_view To;
    std::uint64_t Offset = 0;
    std::string_view Data;
};

// Sees each call as it succeeds; the call's texts last only as long as the call.
class IFileCallObserver {
public:
    virtual void Called(const TFileCall& Call) = 0;

protected:
    ~IFileCallObserver() = default;
};

// Sets the one observer of this process's file calls (none: stops observing). POSIX only.
void ObserveFileCalls(IFileCallObserver* Observer);

} // namespace q7n::platform
