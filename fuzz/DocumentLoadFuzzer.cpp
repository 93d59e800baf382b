// Fuzz target: a ports file of any content, loaded through the port document. After every load
// the tree must be either the defaults (the file was not accepted) or exactly what the file says,
// which is checked by saving the loaded tree and loading that again. The quick scan that spares the
// load its walk over every node must never vouch for a file that the walk would refuse.
#include "ports/Q7NDocument.h"
#include "xmloptions/RawDocumentScan.h"
#include "xmloptions/XMLCharacters.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace q7n;

namespace {

std::string ScratchPath(const char* Name) {
    const char* Folder = std::getenv("TMPDIR");
    return std::string(Folder && *Folder ? Folder : "/tmp") + "/q7n-fuzz-" +
           std::to_string(::getpid()) + "-" + Name;
}

void Require(bool Condition, const char* What) {
    if (!Condition) {
        std::fprintf(stderr, "invariant broken: %s\n", What);
        std::abort();
    }
}

bool SamePorts(const TQ7NPorts& A, const TQ7NPorts& B) {
    if (A.Count() != B.Count())
        return false;
    for (int I = 0; I < A.Count(); ++I) {
        const TQ7NPort& X = *A.Items(I);
        const TQ7NPort& Y = *B.Items(I);
        if (X.IP() != Y.IP() || X.RemoutePort() != Y.RemoutePort() ||
            X.LocalPort() != Y.LocalPort() || X.COMPort() != Y.COMPort() ||
            X.CpRate() != Y.CpRate())
            return false;
    }
    return true;
}

// What the load's walk looks for in the parsed Document: a node nested deeper than Limit levels
// (the root element is level 1), and a text or attribute value that XML 1.0 cannot carry.
struct TWalkFaults {
    bool TooDeep = false;
    bool Unwritable = false;
};

TWalkFaults WalkFaults(const pugi::xml_document& Document, int Limit) {
    struct TWalk : pugi::xml_tree_walker {
        int Limit = 0;
        TWalkFaults Faults;
        bool for_each(pugi::xml_node& Node) override {
            Faults.TooDeep = Faults.TooDeep || depth() + 1 > Limit;
            Faults.Unwritable = Faults.Unwritable ||
                                FindUnwritableCharacter(Node.value()) != std::string_view::npos;
            for (pugi::xml_attribute A = Node.first_attribute(); A; A = A.next_attribute())
                Faults.Unwritable = Faults.Unwritable ||
                                    FindUnwritableCharacter(A.value()) != std::string_view::npos;
            return true;
        }
    } Walk;
    Walk.Limit = Limit;
    const_cast<pugi::xml_document&>(Document).traverse(Walk);
    return Walk.Faults;
}

// The quick scan never vouches for a file with a text XML 1.0 cannot carry, and no file nested
// too deep loads, whichever way its depth was checked.
void RequireTheChecksAreRight(const std::uint8_t* Data, std::size_t Size, bool Loaded) {
    pugi::xml_document Document;
    if (!Document.load_buffer(Data, Size, pugi::parse_default, pugi::encoding_auto))
        return;
    const TWalkFaults Faults = WalkFaults(Document, TXMLOptionsSerializer::MaxNestingDepth);
    const std::string_view Raw(reinterpret_cast<const char*>(Data), Size);
    Require(!Faults.Unwritable || !SurelyWritable(Raw), "the quick scan vouched for a faulty text");
    Require(!Faults.TooDeep || !Loaded, "a file nested too deep loaded");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const std::string Input = ScratchPath("input.xml");
    static const std::string Resaved = ScratchPath("resaved.xml");
    std::ofstream(Input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));

    TQ7NDocument Document;
    Document.Load(Input);
    RequireTheChecksAreRight(Data, Size, Document.LastLoad().Status == lsRead);
    const TQ7NPorts& Ports = *Document.Options()->Q7NPorts();
    if (Document.LastLoad().Status != lsRead) {
        Require(Ports.Count() == 0, "a rejected file left mappings");
        return 0;
    }
    for (int I = 0; I < Ports.Count(); ++I) {
        Require(Ports.Items(I)->COMPort() >= 1 && Ports.Items(I)->COMPort() <= 256,
                "COM port range");
        Require(Ports.Items(I)->CpRate() > 0, "rate above zero");
    }

    std::remove(Resaved.c_str());
    Require(bool(Document.Save(Resaved)), "a loaded tree could not be saved");
    TQ7NDocument Again;
    Again.Load(Resaved);
    Require(Again.LastLoad().Status == lsRead, "a saved file could not be loaded");
    Require(SamePorts(Ports, *Again.Options()->Q7NPorts()), "the saved file reads differently");
    return 0;
}
