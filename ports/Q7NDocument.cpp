#include "ports/Q7NDocument.h"

namespace q7n {

TQ7NDocument::TQ7NDocument()
    : FOptions(TXMLClass::Create<TQ7NOptions>(nullptr)),
      FSerializer(std::make_unique<TXMLOptionsSerializer>(nullptr)) {
    FSerializer->RootObject = FOptions.get();
}

TQ7NDocument::~TQ7NDocument() {
    FOptions.reset();
    FSerializer.reset();
}

TXMLLoadResult TQ7NDocument::Load(const std::string& FileName) {
    FSerializer->XMLFilePath = FileName;
    return FSerializer->LoadFromFile();
}

TXMLSaveResult TQ7NDocument::Save(const std::string& FileName) {
    FSerializer->XMLFilePath = FileName;
    return FSerializer->SaveToFile();
}

} // namespace q7n
