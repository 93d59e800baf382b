// Writes a ports file with two mappings, reads it back through a new document and prints what
// was read, with the outcome of the load. Usage: q7n_ports_demo FILE
#include "platform/CommandLine.h"
#include "ports/Q7NDocument.h"

#include <iostream>

using namespace q7n;

int main(int argc, char** argv) {
    const std::vector<std::string> Arguments = platform::ProgramArguments(argc, argv);
    if (Arguments.size() != 2) {
        std::cerr << "usage: q7n_ports_demo FILE\n";
        return 2;
    }
    const std::string& Path = Arguments[1];

    {
        TQ7NDocument Document;
        TQ7NPort* First = Document.Options()->Q7NPorts()->Add();
        First->SetIP("10.0.0.15");
        First->SetRemoutePort(4001);
        First->SetLocalPort(5001);
        First->SetCOMPort(3);
        First->SetCpRate(115200);
        Document.Options()->Q7NPorts()->Add(); // a mapping with the defaults
        if (const TXMLSaveResult& Saved = Document.Save(Path); !Saved) {
            std::cerr << "Cannot save " << Path << ": " << Saved.Reason << "\n";
            return 1;
        }
    }

    TQ7NDocument Document;
    Document.Load(Path);
    const TXMLLoadResult& Loaded = Document.LastLoad();
    if (Loaded.Status != lsRead) {
        std::cerr << "Cannot read " << Path << ": " << Loaded.Reason << "\n";
        return 1;
    }
    std::cout << Path << ": " << Document.Options()->Q7NPorts()->Count() << " mappings\n";
    for (int I = 0; I < Document.Options()->Q7NPorts()->Count(); ++I) {
        const TQ7NPort* Port = Document.Options()->Q7NPorts()->Items(I);
        std::cout << "  " << Port->IP() << ":" << Port->RemoutePort() << "  local "
                  << Port->LocalPort() << "  COM" << Port->COMPort() << " " << Port->CpRate()
                  << " bit/s\n";
    }
    return 0;
}
