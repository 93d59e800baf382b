#pragma once

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace q7n::testing {

// A new empty folder under the system's temporary folder, removed with everything in it when
// the object goes. Each one has a random name, so tests may run side by side.
class TTemporaryFolder {
public:
    TTemporaryFolder() {
        std::random_device Random;
        for (int Attempt = 0; Attempt < 100; ++Attempt) {
            std::filesystem::path Candidate =
                std::filesystem::temp_directory_path() / ("q7n-test-" + std::to_string(Random()));
            if (std::filesystem::create_directory(Candidate)) {
                FPath = Candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
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
    // The names of what the folder holds, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> Found;
        for (const auto& Entry : std::filesystem::directory_iterator(FPath))
            Found.push_back(Entry.path().filename().string());
        std::sort(Found.begin(), Found.end());
        return Found;
    }

private:
    std::filesystem::path FPath;
};

} // namespace q7n::testing
