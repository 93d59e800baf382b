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

// Whether the parsed Document nests a node deeper than Limit levels (the root element is level 1)
// or holds a text or attribute value that XML 1.0 cannot carry: what the load's walk looks for.
bool WalkFindsFault(const pugi::xml_document& Document, int Limit) {
    struct TWalk : pugi::xml_tree_walker {
        int Limit = 0;
        bool Fault = false;
        bool for_each(pugi::xml_node& Node) override {
            bool Bad = depth() + 1 > Limit ||
                       FindUnwritableCharacter(Node.value()) != std::string_view::npos;
            for (pugi::xml_attribute A = Node.first_attribute(); A; A = A.next_attribute())
                Bad = Bad || FindUnwritableCharacter(A.value()) != std::string_view::npos;
            Fault = Fault || Bad;
            return !Fault;
        }
    } Walk;
    Walk.Limit = Limit;
    const_cast<pugi::xml_document&>(Document).traverse(Walk);
    return Walk.Fault;
}

void RequireTheScanIsRight(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view Raw(reinterpret_cast<const char*>(Data), Size);
    const int Limit = TXMLOptionsSerializer::MaxNestingDepth;
    if (!SurelyWritableAndShallow(Raw, Limit))
        return;
    pugi::xml_document Document;
    if (Document.load_buffer(Data, Size, pugi::parse_default, pugi::encoding_auto))
        Require(!WalkFindsFault(Document, Limit), "the quick scan vouched for a faulty file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const std::string Input = ScratchPath("input.xml");
    static const std::string Resaved = ScratchPath("resaved.xml");
    std::ofstream(Input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));

    RequireTheScanIsRight(Data, Size);
    TQ7NDocument Document;
    Document.Load(Input);
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
