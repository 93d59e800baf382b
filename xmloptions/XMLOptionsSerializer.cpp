#include "xmloptions/XMLOptionsSerializer.h"

#include "base/IntegerConversion.h"
#include "platform/FileSystem.h"
#include "platform/HeldFileRetry.h"
#include "xmloptions/XMLCharacters.h"
#include "xmloptions/XMLClass.h"
#include "xmloptions/XMLElement.h"
#include "xmloptions/XMLErrors.h"
#include "xmloptions/XMLWriter.h"

#include <pugixml.hpp>

namespace q7n {

namespace {

// A load that stops because the file is not acceptable; the tree is reset and the reason kept.
struct TRejection {
    std::string Reason;
    int Line = 0;
    int Column = 0;
    std::string Element = {};
    int Item = 0;
};

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
        if (Node.type() == pugi::node_pcdata || Node.type() == pugi::node_cdata)
            return Check(Node, Node.parent(), Node.value());
        for (pugi::xml_attribute Attribute : Node.attributes())
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

void LocateOffset(const std::string& Content, std::ptrdiff_t Offset, int& Line, int& Column) {
    Line = 1;
    Column = 1;
    auto End = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, Offset));
    for (std::size_t I = 0; I < End && I < Content.size(); ++I) {
        if (Content[I] == '\n') {
            ++Line;
            Column = 1;
        } else if ((static_cast<unsigned char>(Content[I]) & 0xC0) != 0x80) {
            ++Column; // characters, as an editor counts them, not the bytes of UTF-8
        }
    }
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

const TXMLLoadResult& TXMLOptionsSerializer::LoadFromFile() {
    if (!RootObject)
        return FLastLoad;
    RootObject->ResetToDefaults();

    FLastLoad = TXMLLoadResult{};
    FLastLoad.FilePath = XMLFilePath;
    FStamp.reset();
    FStampedPath = XMLFilePath;
    try {
        ReadFileInto(*RootObject);
    } catch (const TRejection& Rejection) {
        FLastLoad.Reason = Rejection.Reason;
        FLastLoad.Line = Rejection.Line;
        FLastLoad.Column = Rejection.Column;
        FLastLoad.Element = Rejection.Element;
        FLastLoad.Item = Rejection.Item;
        FLastLoad.Status = lsRejected;
    } catch (const EXMLValueError& Error) {
        FLastLoad.Reason = Error.what();
        FLastLoad.Element = Error.Element;
        FLastLoad.Item = Error.Item;
        FLastLoad.Status = lsRejected;
    } catch (const std::exception& Error) {
        FLastLoad.Reason = Error.what();
        FLastLoad.Status = lsRejected;
    } catch (...) {
        FLastLoad.Reason = "Unknown error";
        FLastLoad.Status = lsRejected;
    }

    if (FLastLoad.Status == lsRejected) {
        RootObject->ResetToDefaults();
        FRejectedFilePath = XMLFilePath;
        if (platform::FileExists(BackupPath(XMLFilePath)))
            FLastLoad.BackupBeside = BackupPath(XMLFilePath);
    } else if (FRejectedFilePath == XMLFilePath) {
        FRejectedFilePath.clear();
    }
    return FLastLoad;
}

void TXMLOptionsSerializer::ReadFileInto(TXMLClass& Root) {
    if (!platform::FileExists(XMLFilePath)) {
        // An interrupted save can leave the previous content under the backup name only.
        std::string Backup = BackupPath(XMLFilePath);
        if (!platform::FileExists(Backup) || !platform::RenameFile(Backup, XMLFilePath)) {
            FLastLoad.Status = lsNoFile;
            FStamp = TFileStamp::Missing();
            return;
        }
        FLastLoad.RecoveredFromBackup = true;
    }

    std::optional<std::uint64_t> Size = platform::FileSize(XMLFilePath);
    if (Size && *Size > MaxFileSize)
        throw TRejection{"The file is larger than " +
                         std::to_string(MaxFileSize / (1024ull * 1024)) + " MiB"};
    std::string Content = platform::ReadWholeFileWhenFree(XMLFilePath);
    FStamp = TFileStamp::OfContent(Content);
    if (Content.size() > MaxFileSize)
        throw TRejection{"The file is too large"};

    pugi::xml_document Document;
    // Parsed in place: the document's texts point into Content, which outlives it here.
    pugi::xml_parse_result Parsed = Document.load_buffer_inplace(
        Content.data(), Content.size(), pugi::parse_default, pugi::encoding_auto);
    if (!Parsed) {
        TRejection Rejection{std::string("XML parse error: ") + Parsed.description()};
        // The parser has rewritten the buffer; count lines in the file as it stands.
        LocateOffset(platform::ReadWholeFileWhenFree(XMLFilePath), Parsed.offset, Rejection.Line,
                     Rejection.Column);
        throw Rejection;
    }
    int RootElements = 0;
    for (pugi::xml_node Node = Document.first_child(); Node; Node = Node.next_sibling()) {
        if (Node.type() == pugi::node_element)
            ++RootElements;
        else if (Node.type() == pugi::node_pcdata || Node.type() == pugi::node_cdata)
            throw TRejection{"Text stands outside the root element"};
    }
    if (RootElements != 1)
        throw TRejection{"The document has " + std::to_string(RootElements) + " root elements"};
    TContentProbe Probe(MaxNestingDepth);
    Document.traverse(Probe);
    if (Probe.TooDeep())
        throw TRejection{"Elements are nested deeper than " + std::to_string(MaxNestingDepth) +
                         " levels"};
    if (Probe.BadNode) {
        TRejection Rejection{"The text \"" + QuoteForMessage(Probe.BadText) + "\" of <" +
                             Probe.BadElement.name() +
                             "> holds a character that XML 1.0 does not allow"};
        Rejection.Element = Probe.BadElement.name();
        Rejection.Item = ItemNumberOf(Probe.BadElement, ItemNodeCaption);
        LocateOffset(platform::ReadWholeFileWhenFree(XMLFilePath), Probe.BadNode.offset_debug(),
                     Rejection.Line, Rejection.Column);
        throw Rejection;
    }

    pugi::xml_node RootElement = Document.document_element();
    if (UseVersionControl) {
        if (RootNodeName != RootElement.name())
            throw TRejection{"The root element is <" + std::string(RootElement.name()) +
                             ">, not <" + RootNodeName + ">"};
        pugi::xml_attribute Application = RootElement.attribute("Application");
        if (!Application)
            throw TRejection{"The root element has no Application attribute"};
        if (ApplicationName != Application.value())
            throw TRejection{"The file belongs to the application \"" +
                             std::string(Application.value()) + "\""};
        pugi::xml_attribute VersionAttribute = RootElement.attribute("Version");
        if (!VersionAttribute)
            throw TRejection{"The root element has no Version attribute"};
        Version = static_cast<std::uint8_t>(StrToInt(VersionAttribute.value()));
    }

    Root.LoadFromNode(RootElement, ItemNodeCaption);
    FLastLoad.Status = lsRead;
    if (OnAfterLoad)
        OnAfterLoad(this);
}

const TXMLSaveResult& TXMLOptionsSerializer::SaveToFile() {
    if (!RootObject)
        return FLastSave;
    FLastSave = TXMLSaveResult{};
    FLastSave.FilePath = XMLFilePath;
    try {
        pugi::xml_document Document;
        pugi::xml_node RootElement = AppendElement(Document, RootNodeName);
        if (UseVersionControl) {
            RootElement.append_attribute("Application").set_value(ApplicationName.c_str());
            RootElement.append_attribute("Version").set_value(static_cast<unsigned>(Version));
        }
        RootObject->SaveToNode(RootElement, ItemNodeCaption);
        WriteFile(RenderXMLDocument(Document, NodeAutoIndent));
        FLastSave.Status = ssSaved;
    } catch (const std::exception& Error) {
        FLastSave.Status = ssFailed;
        FLastSave.Reason = Error.what();
    } catch (...) {
        FLastSave.Status = ssFailed;
        FLastSave.Reason = "Unknown error";
    }
    return FLastSave;
}

void TXMLOptionsSerializer::WriteFile(const std::string& Content) {
    const std::string& Target = XMLFilePath;
    if (FRejectedFilePath == Target && platform::FileExists(Target)) {
        std::string Kept = RejectedCopyPath(Target);
        platform::CopyFileDurably(Target, Kept);
        FLastSave.KeptRejectedPath = Kept;
        FRejectedFilePath.clear();
    }
    FLastSave.Remark =
        platform::ReplaceFileDurably(Target, Content, BackupPath(Target), ReplaceFault).Remark;
    FStamp = TFileStamp::OfContent(Content);
    FStampedPath = Target;
}

bool TXMLOptionsSerializer::FileChangedOnDisk() const {
    if (!FStamp || FStampedPath != XMLFilePath)
        return false;
    std::optional<TFileStamp> Now = TFileStamp::OfFile(XMLFilePath);
    return Now && *Now != *FStamp;
}

} // namespace q7n
