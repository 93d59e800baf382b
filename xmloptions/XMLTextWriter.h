#pragma once

#include "xmloptions/XMLOutput.h"

#include <cstddef>
#include <string>
#include <vector>

namespace q7n {

// Writes the options file's text as the elements come: UTF-8, the XML declaration, and, when
// Indent is on, one element per line with CR LF line ends and two spaces per level below the
// root. An element holding only text stays on one line; one holding nothing is written empty.
// Carriage returns and line feeds in text are written as character references, so that they read
// back unchanged, and so is a text of white space alone, which readers would drop.
//
// Raises EXMLUnwritableText for a name or text that XML 1.0 cannot carry (see
// FindUnwritableCharacter): where it stands is known only to a tree (RenderXMLDocument).
class TXMLTextWriter : public IXMLOutput {
public:
    explicit TXMLTextWriter(bool Indent);

    void BeginElement(const std::string& Name) override;
    void Attribute(std::string_view Name, std::string_view Value) override;
    void Text(std::string_view Text) override;
    void EndElement() override;

    // The document's bytes, once every element has ended.
    std::string Finish();

private:
    // An element begun and not yet ended; its name stands in the output already.
    struct TOpenElement {
        std::size_t NameAt;
        std::size_t NameLength;
        bool HoldsElements;
    };

    // Ends the start tag of the innermost element if its content is the first to come.
    void OpenContent();
    void AppendLineBreak(std::size_t Depth);

    std::string FOut;
    std::vector<TOpenElement> FOpen;
    bool FIndent;
    bool FStartTagOpen = false; // the innermost element has no content yet
};

} // namespace q7n
