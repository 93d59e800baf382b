#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace q7n::testing {

// A new empty folder under the system's temporary folder, removed with everything in it when
// the object goes. Each one has a unique name, so tests may run side by side.
class TTemporaryFolder {
public:
    TTemporaryFolder() {
        std::string Template =
            (std::filesystem::temp_directory_path() / "q7n-test-XXXXXX").string();
        if (!::mkdtemp(Template.data()))
            throw std::runtime_error("cannot create a temporary folder");
        FPath = Template;
    }
    TTemporaryFolder(const TTemporaryFolder&) = delete;
    TTemporaryFolder& operator=(const TTemporaryFolder&) = delete;
    ~TTemporaryFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }

    const std::filesystem::path& Path() const { return FPath; }
    // The path of Name inside the folder.
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};

} // namespace q7n::testing
