#include "xmloptions/XMLOptionsSerializer.h"

#include "base/IntegerConversion.h"
#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "xmloptions/RawDocumentScan.h"
#include "xmloptions/XMLCharacters.h"
#include "xmloptions/XMLClass.h"
#include "xmloptions/XMLElement.h"
#include "xmloptions/XMLErrors.h"
#include "xmloptions/XMLTextWriter.h"
#include "xmloptions/XMLTreeOutput.h"
#include "xmloptions/XMLWriter.h"

#include <algorithm>
#include <optional>
#include <pugixml.hpp>
#include <stdexcept>
#include <utility>

namespace q7n {

namespace {

// Why a load stops at a file that is not acceptable, and where in it; the load answers it.
struct TRejection {
    std::string Reason;
    int Line = 0;
    int Column = 0;
    std::string Element = {};
    int Item = 0;
};

// Load, now rejected for Rejection's reason.
TXMLLoadResult Rejected(TXMLLoadResult Load, TRejection Rejection) {
    Load.Status = lsRejected;
    Load.Reason = std::move(Rejection.Reason);
    Load.Line = Rejection.Line;
    Load.Column = Rejection.Column;
    Load.Element = std::move(Rejection.Element);
    Load.Item = Rejection.Item;
    return Load;
}

// The number, counted from 1, of the list item around Element, 0 when there is none.
int ItemNumberOf(pugi::xml_node Element, const std::string& ItemName) {
    for (pugi::xml_node Node = Element; Node; Node = Node.parent()) {
        if (ItemName != Node.name())
            continue;
        int Number = 1;
        for (pugi::xml_node Before = Node.previous_sibling(ItemName.c_str()); Before;
             Before = Before.previous_sibling(ItemName.c_str()))
            ++Number;
        return Number;
    }
    return 0;
}

// Walks the document without recursion: stops at an element nested past the limit, or at the
// first text that XML 1.0 cannot carry. The parser takes "&#1;" and bytes that are not UTF-8,
// but the service, like any conforming reader, refuses the file.
class TContentProbe : public pugi::xml_tree_walker {
public:
    explicit TContentProbe(int Limit) : FLimit(Limit) {}
    bool for_each(pugi::xml_node& Node) override {
        if (depth() + 1 > FLimit) {
            FTooDeep = true;
            return false;
        }
        const pugi::xml_node_type Type = Node.type();
        if (Type == pugi::node_pcdata || Type == pugi::node_cdata)
            return Check(Node, Node.parent(), Node.value());
        if (Type != pugi::node_element)
            return true;
        for (pugi::xml_attribute Attribute = Node.first_attribute(); Attribute;
             Attribute = Attribute.next_attribute())
            if (!Check(Node, Node, Attribute.value()))
                return false;
        return true;
    }
    bool TooDeep() const { return FTooDeep; }
    // The first node whose text cannot be carried, its element and the text; none when all can.
    pugi::xml_node BadNode, BadElement;
    std::string BadText;

private:
    bool Check(pugi::xml_node Node, pugi::xml_node Element, const char* Text) {
        if (FindUnwritableCharacter(Text) == std::string_view::npos)
            return true;
        BadNode = Node;
        BadElement = Element;
        BadText = Text;
        return false;
    }

    int FLimit;
    bool FTooDeep = false;
};

// Whether any node of Document stands deeper than Limit levels (the root element is level 1, its
// text level 2): a walk of the tree's shape alone, without recursion.
bool NestedDeeperThan(const pugi::xml_document& Document, int Limit) {
    const pugi::xml_node Top = Document;
    pugi::xml_node Node = Top;
    int Depth = 0;
    for (;;) {
        if (const pugi::xml_node Child = Node.first_child(); IsNode(Child)) {
            if (++Depth > Limit)
                return true;
            Node = Child;
            continue;
        }
        // Up to the nearest node with a next sibling, which is the next to visit.
        for (;;) {
            if (Node == Top)
                return false;
            if (const pugi::xml_node Next = Node.next_sibling(); IsNode(Next)) {
                Node = Next;
                break;
            }
            Node = Node.parent();
            --Depth;
        }
    }
}

// Rejection placed at Offset of the file at Path, counted in the file as it stands: the parser
// rewrites the buffer it parses.
TRejection PlacedAt(TRejection Rejection, const std::string& Path, std::ptrdiff_t Offset) {
    const std::string Content = platform::ReadWholeFileWhenFree(Path);
    Rejection.Line = 1;
    Rejection.Column = 1;
    auto End = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, Offset));
    for (std::size_t I = 0; I < End && I < Content.size(); ++I) {
        if (Content[I] == '\n') {
            ++Rejection.Line;
            Rejection.Column = 1;
        } else if ((static_cast<unsigned char>(Content[I]) & 0xC0) != 0x80) {
            ++Rejection.Column; // characters, as an editor counts them, not the bytes of UTF-8
        }
    }
    return Rejection;
}

// What makes a parsed document no XML 1.0 document of one root: text beside the root, another
// number of roots, nesting past the limit, a character XML 1.0 cannot carry (looked for node by
// node only when CheckTexts). None when it is one.
std::optional<TRejection> CheckDocument(pugi::xml_document& Document, const std::string& Path,
                                        const std::string& ItemName, bool CheckTexts) {
    int RootElements = 0;
    for (pugi::xml_node Node = Document.first_child(); Node; Node = Node.next_sibling()) {
        if (Node.type() == pugi::node_element)
            ++RootElements;
        else if (Node.type() == pugi::node_pcdata || Node.type() == pugi::node_cdata)
            return TRejection{"Text stands outside the root element"};
    }
    if (RootElements != 1)
        return TRejection{"The document has " + std::to_string(RootElements) + " root elements"};
    constexpr int Limit = TXMLOptionsSerializer::MaxNestingDepth;
    auto TooDeep = [] {
        return TRejection{"Elements are nested deeper than " + std::to_string(Limit) + " levels"};
    };
    if (!CheckTexts) {
        if (NestedDeeperThan(Document, Limit))
            return TooDeep();
        return std::nullopt;
    }
    TContentProbe Probe(Limit);
    Document.traverse(Probe);
    if (Probe.TooDeep())
        return TooDeep();
    if (Probe.BadNode)
        return PlacedAt({"The text \"" + QuoteForMessage(Probe.BadText) + "\" of <" +
                             Probe.BadElement.name() +
                             "> holds a character that XML 1.0 does not allow",
                         0, 0, Probe.BadElement.name(), ItemNumberOf(Probe.BadElement, ItemName)},
                        Path, Probe.BadNode.offset_debug());
    return std::nullopt;
}

} // namespace

TXMLOptionsSerializer::TXMLOptionsSerializer(TComponent* Owner) : TComponent(Owner) {}

std::string TXMLOptionsSerializer::BackupPath(const std::string& Path) {
    return platform::ChangeFileExt(Path, ".bak");
}

std::string TXMLOptionsSerializer::LockPath(const std::string& Path) {
    return platform::ChangeFileExt(Path, ".lock");
}

std::string TXMLOptionsSerializer::RejectedCopyPath(const std::string& Path) {
    std::string WithoutExtension = platform::ChangeFileExt(Path, "");
    std::string Extension = Path.substr(WithoutExtension.size());
    for (int Number = 1;; ++Number) {
        std::string Candidate = WithoutExtension;
        Candidate += ".rejected";
        if (Number > 1) {
            Candidate += '-';
            Candidate += std::to_string(Number);
        }
        Candidate += Extension;
        if (!platform::FileExists(Candidate))
            return Candidate;
    }
}

TXMLLoadResult TXMLOptionsSerializer::LoadFromFile() {
    if (!RootObject)
        return FLastLoad;
    RootObject->ResetToDefaults();

    FStamp.reset();
    FStampedPath = XMLFilePath;
    TXMLLoadResult Load = ReadFileInto(*RootObject);
    if (Load.Status == lsRejected) {
        RootObject->ResetToDefaults();
        FRejectedFilePath = XMLFilePath;
        if (platform::FileExists(BackupPath(XMLFilePath)))
            Load.BackupBeside = BackupPath(XMLFilePath);
    } else if (FRejectedFilePath == XMLFilePath) {
        FRejectedFilePath.clear();
    }
    FLastLoad = Load;
    return Load;
}

TXMLLoadResult TXMLOptionsSerializer::ReadFileInto(TXMLClass& Root) {
    TXMLLoadResult Load;
    Load.FilePath = XMLFilePath;
    // What the platform, the parser and the tree raise rejects the file too; the load raises
    // nothing.
    try {
        if (!platform::FileExists(XMLFilePath)) {
            // An interrupted save can leave the previous content under the backup name only.
            std::string Backup = BackupPath(XMLFilePath);
            if (!platform::FileExists(Backup) || !platform::RenameFile(Backup, XMLFilePath)) {
                Load.Status = lsNoFile;
                FStamp = TFileStamp::Missing();
                return Load;
            }
            Load.RecoveredFromBackup = true;
        }

        std::optional<std::uint64_t> Size = platform::FileSize(XMLFilePath);
        if (Size && *Size > MaxFileSize)
            return Rejected(Load, {"The file is larger than " +
                                   std::to_string(MaxFileSize / (1024ull * 1024)) + " MiB"});
        platform::TFileBytes Content = platform::ReadFileBytesWhenFree(XMLFilePath);
        FStamp = TFileStamp::OfContent(Content.View());
        if (Content.Size() > MaxFileSize)
            return Rejected(Load, {"The file is too large"});
        // Before the parse, which rewrites the buffer.
        const bool CheckTexts = !SurelyWritable(Content.View());

        pugi::xml_document Document;
        // Parsed in place: the document's texts point into Content, which outlives it here.
        pugi::xml_parse_result Parsed = Document.load_buffer_inplace(
            Content.Data(), Content.Size(), pugi::parse_default, pugi::encoding_auto);
        if (!Parsed)
            return Rejected(Load,
                            PlacedAt({std::string("XML parse error: ") + Parsed.description()},
                                     XMLFilePath, Parsed.offset));
        if (std::optional<TRejection> Rejection =
                CheckDocument(Document, XMLFilePath, ItemNodeCaption, CheckTexts))
            return Rejected(Load, std::move(*Rejection));

        pugi::xml_node RootElement = Document.document_element();
        if (UseVersionControl) {
            if (RootNodeName != RootElement.name())
                return Rejected(Load, {"The root element is <" + std::string(RootElement.name()) +
                                       ">, not <" + RootNodeName + ">"});
            pugi::xml_attribute Application = RootElement.attribute("Application");
            if (!Application)
                return Rejected(Load, {"The root element has no Application attribute"});
            if (ApplicationName != Application.value())
                return Rejected(Load, {"The file belongs to the application \"" +
                                       std::string(Application.value()) + "\""});
            pugi::xml_attribute VersionAttribute = RootElement.attribute("Version");
            if (!VersionAttribute)
                return Rejected(Load, {"The root element has no Version attribute"});
            Version = static_cast<std::uint8_t>(StrToInt(VersionAttribute.value()));
        }

        Root.LoadFromNode(RootElement, ItemNodeCaption);
        Load.Status = lsRead;
        if (OnAfterLoad) {
            FLastLoad = Load; // what the handler sees of this load
            OnAfterLoad(this);
        }
        return Load;
    } catch (const EXMLValueError& Error) {
        return Rejected(Load, {Error.what(), 0, 0, Error.Element, Error.Item});
    } catch (const std::exception& Error) {
        return Rejected(Load, {Error.what()});
    } catch (...) {
        return Rejected(Load, {"Unknown error"});
    }
}

namespace {

// The tree of Serializer's RootObject under the root element, as the file holds it.
void WriteDocument(IXMLOutput& Out, const TXMLOptionsSerializer& Serializer) {
    Out.BeginElement(Serializer.RootNodeName);
    if (Serializer.UseVersionControl) {
        Out.Attribute("Application", Serializer.ApplicationName);
        Out.Attribute("Version", std::to_string(Serializer.Version));
    }
    Serializer.RootObject->SaveTo(Out, Serializer.ItemNodeCaption);
    Out.EndElement();
}

} // namespace

TStatusOr<std::string> TXMLOptionsSerializer::DocumentBytes() const {
    constexpr std::uint32_t InvalidData = 13; // ERROR_INVALID_DATA
    if (!RootObject)
        return TStatus(InvalidData, "There is no option object to save");
    try {
        try {
            TXMLTextWriter Writer(NodeAutoIndent);
            WriteDocument(Writer, *this);
            return Writer.Finish();
        } catch (const EXMLUnwritableText&) {
            // The same walk into a tree, which names where the text stands.
            pugi::xml_document Document;
            TXMLTreeOutput Tree(Document);
            WriteDocument(Tree, *this);
            return RenderXMLDocument(Document, NodeAutoIndent);
        }
    } catch (const std::exception& Error) {
        return TStatus(InvalidData, Error.what());
    } catch (...) {
        return TStatus(InvalidData, "Unknown error");
    }
}

TXMLSaveResult TXMLOptionsSerializer::SaveToFile() {
    if (!RootObject)
        return FLastSave;
    TXMLSaveResult Save;
    Save.FilePath = XMLFilePath;
    TStatusOr<std::string> Content = DocumentBytes();
    if (!Content.Ok()) {
        Save.Status = ssFailed;
        Save.Reason = Content.Status().Text();
        FLastSave = Save;
        return Save;
    }
    try {
        Save.KeptRejectedPath = KeepRejectedFile();
        Save.Remark = platform::ReplaceFileDurably(XMLFilePath, *Content, BackupPath(XMLFilePath),
                                                   ReplaceFault, ReplaceFlushes)
                          .Remark;
        FStamp = TFileStamp::OfContent(*Content);
        FStampedPath = XMLFilePath;
        Save.Status = ssSaved;
    } catch (const std::exception& Error) {
        Save.Status = ssFailed;
        Save.Reason = Error.what();
    } catch (...) {
        Save.Status = ssFailed;
        Save.Reason = "Unknown error";
    }
    FLastSave = Save;
    return Save;
}

std::string TXMLOptionsSerializer::KeepRejectedFile() {
    if (FRejectedFilePath != XMLFilePath || !platform::FileExists(XMLFilePath))
        return {};
    std::string Kept = RejectedCopyPath(XMLFilePath);
    platform::CopyFileDurably(XMLFilePath, Kept);
    FRejectedFilePath.clear();
    return Kept;
}

bool TXMLOptionsSerializer::FileChangedOnDisk() const {
    if (!FStamp || FStampedPath != XMLFilePath)
        return false;
    std::optional<TFileStamp> Now = TFileStamp::OfFile(XMLFilePath);
    return Now && *Now != *FStamp;
}

} // namespace q7n
