// q7n_registry_export: prints the configurator's settings key as a registry export file, which
// Windows' registry editor imports.
//
//   q7n_registry_export [--for-32-bit-windows] [--output FILE]
//
// The configurator keeps its key in the 32-bit registry view. The file names it as the registry
// editor of 64-bit Windows reaches that view (Software\WOW6432Node\...); --for-32-bit-windows
// names it as 32-bit Windows has it, which the 32-bit registry editor of 64-bit Windows
// (SysWOW64\regedit.exe) also takes into the 32-bit view. Exit codes: 0 written, 1 the key is not
// there or cannot be read, 2 wrong arguments.
#include "platform/CommandLine.h"
#include "platform/RegistryExport.h"
#include "settings/SettingsExport.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace q7n;
using namespace q7n::platform;

namespace {

int Usage() {
    std::cerr << "usage: q7n_registry_export [--for-32-bit-windows] [--output FILE]\n";
    return 2;
}

bool WriteOut(const std::string& Output, const std::string& File) {
    if (Output.empty()) {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        return std::fwrite(File.data(), 1, File.size(), stdout) == File.size() &&
               std::fflush(stdout) == 0;
    }
    return SaveRegistryExportFile(Output, File);
}

} // namespace

int main(int argc, char** argv) {
    bool For32BitWindows = false;
    std::string Output;
    const std::vector<std::string> Arguments = ProgramArguments(argc, argv);
    for (std::size_t I = 1; I < Arguments.size(); ++I) {
        if (Arguments[I] == "--for-32-bit-windows")
            For32BitWindows = true;
        else if (Arguments[I] == "--output" && I + 1 < Arguments.size())
            Output = Arguments[++I];
        else
            return Usage();
    }

    // Reading never creates the key, nor on Linux the machine database.
    TStatusOr<std::string> File = ExportServiceOptions(DefaultRegistry(), For32BitWindows);
    if (!File.Ok()) {
        std::cerr << "q7n_registry_export: " << File.Status().Text() << "\n";
        return 1;
    }
    if (!WriteOut(Output, *File)) {
        std::cerr << "q7n_registry_export: cannot write "
                  << (Output.empty() ? "the output" : Output) << "\n";
        return 1;
    }
    return 0;
}
