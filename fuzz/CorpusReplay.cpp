// Runs the fuzz target once over every file named on the command line, for builds without
// libFuzzer: the corpus then serves as a regression test.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

int main(int argc, char** argv) {
    for (int I = 1; I < argc; ++I) {
        std::ifstream In(argv[I], std::ios::binary);
        if (!In) {
            std::fprintf(stderr, "cannot read %s\n", argv[I]);
            return 1;
        }
        std::vector<char> Data((std::istreambuf_iterator<char>(In)),
                               std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Data.data()), Data.size());
    }
    std::printf("%d inputs replayed\n", argc - 1);
    return 0;
}
