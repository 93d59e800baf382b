#include "xmloptions/XMLTextWriter.h"

#include "xmloptions/XMLCharacters.h"
#include "xmloptions/XMLElement.h"
#include "xmloptions/XMLErrors.h"

#include <array>

namespace q7n {

namespace {

// How a byte of a text or attribute value is written.
enum TByteRule : unsigned char {
    brAsItIs,
    brReference,  // markup, and the white space that a reader would change
    brUnwritable, // a control character that XML 1.0 does not allow
    brNonASCII,   // part of a character whose UTF-8 is to be checked
};

using TByteRules = std::array<TByteRule, 256>;

constexpr TByteRules RulesFor(bool InAttribute) {
    TByteRules Rules{};
    for (std::size_t C = 0; C < Rules.size(); ++C)
        Rules[C] = C >= 0x80 ? brNonASCII : C >= 0x20 ? brAsItIs : brUnwritable;
    Rules['&'] = Rules['<'] = Rules['>'] = brReference;
    Rules['\n'] = Rules['\r'] = brReference;
    Rules['\t'] = InAttribute ? brReference : brAsItIs;
    if (InAttribute)
        Rules['"'] = brReference;
    return Rules;
}

constexpr TByteRules TextRules = RulesFor(false);
constexpr TByteRules AttributeRules = RulesFor(true);

void AppendReference(std::string& Out, unsigned char C) {
    switch (C) {
    case '&':
        Out += "&amp;";
        break;
    case '<':
        Out += "&lt;";
        break;
    case '>':
        Out += "&gt;";
        break;
    case '"':
        Out += "&quot;";
        break;
    default:
        Out += "&#";
        Out += std::to_string(C);
        Out += ';';
    }
}

void RequireWritable(std::string_view Text) {
    if (FindUnwritableCharacter(Text) != std::string_view::npos)
        throw EXMLUnwritableText();
}

// Appends Text escaped by Rules; the check for what XML cannot carry rides along.
void AppendEscaped(std::string& Out, std::string_view Text, const TByteRules& Rules) {
    std::size_t Run = 0; // runs of bytes that stand as they are go in at once
    bool NonASCIIChecked = false;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const auto C = static_cast<unsigned char>(Text[I]);
        switch (Rules[C]) {
        case brAsItIs:
            continue;
        case brNonASCII:
            // Every byte before is ASCII: the rest starts at a character.
            if (!NonASCIIChecked)
                RequireWritable(Text.substr(I));
            NonASCIIChecked = true;
            continue;
        case brUnwritable:
            throw EXMLUnwritableText();
        case brReference:
            Out.append(Text.data() + Run, I - Run);
            Run = I + 1;
            AppendReference(Out, C);
        }
    }
    Out.append(Text.data() + Run, Text.size() - Run);
}

// A text of white space alone goes as character references: readers drop such text between
// elements as indentation (pugixml, MSXML), and would read an empty value.
void AppendText(std::string& Out, std::string_view Text) {
    if (Text.empty() || Text.find_first_not_of(" \t\r\n") != std::string_view::npos) {
        AppendEscaped(Out, Text, TextRules);
        return;
    }
    for (char C : Text) {
        Out += "&#";
        Out += std::to_string(int(C));
        Out += ';';
    }
}

// A valid XML name is ASCII but for bytes from 0x80 on, which must make UTF-8 that XML allows.
void RequireWritableName(std::string_view Name) {
    for (char C : Name)
        if (static_cast<unsigned char>(C) >= 0x80) {
            RequireWritable(Name);
            return;
        }
}

constexpr const char* LineEnd = "\r\n";

} // namespace

TXMLTextWriter::TXMLTextWriter(bool Indent) : FIndent(Indent) {
    FOut = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    FOut += LineEnd;
}

void TXMLTextWriter::AppendLineBreak(std::size_t Depth) {
    FOut += LineEnd;
    FOut.append(Depth * 2, ' ');
}

void TXMLTextWriter::OpenContent() {
    if (FStartTagOpen) {
        FOut += '>';
        FStartTagOpen = false;
    }
}

void TXMLTextWriter::BeginElement(const std::string& Name) {
    RequireValidElementName(Name);
    RequireWritableName(Name);
    if (!FOpen.empty()) {
        OpenContent();
        FOpen.back().HoldsElements = true;
        if (FIndent)
            AppendLineBreak(FOpen.size());
    }
    FOut += '<';
    FOpen.push_back({FOut.size(), Name.size(), false});
    FOut += Name;
    FStartTagOpen = true;
}

void TXMLTextWriter::Attribute(std::string_view Name, std::string_view Value) {
    RequireWritable(Name);
    FOut += ' ';
    FOut += Name;
    FOut += "=\"";
    AppendEscaped(FOut, Value, AttributeRules);
    FOut += '"';
}

void TXMLTextWriter::Text(std::string_view Text) {
    OpenContent();
    AppendText(FOut, Text);
}

void TXMLTextWriter::EndElement() {
    const TOpenElement Element = FOpen.back();
    FOpen.pop_back();
    if (FStartTagOpen) {
        FOut += "/>";
        FStartTagOpen = false;
        return;
    }
    if (FIndent && Element.HoldsElements)
        AppendLineBreak(FOpen.size());
    FOut += "</";
    FOut.append(FOut, Element.NameAt, Element.NameLength); // the name in the start tag
    FOut += '>';
}

std::string TXMLTextWriter::Finish() {
    if (FIndent)
        FOut += LineEnd;
    return std::move(FOut);
}

} // namespace q7n
