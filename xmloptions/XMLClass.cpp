#include "xmloptions/XMLClass.h"

#include "base/Exceptions.h"
#include "base/IntegerConversion.h"
#include "base/TextCompare.h"
#include "xmloptions/FloatText.h"
#include "xmloptions/XMLElement.h"
#include "xmloptions/XMLErrors.h"
#include "xmloptions/XMLTreeOutput.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace q7n {

namespace {

[[noreturn]] void ThrowReadOnly(const TPropInfo& Property) {
    throw EPropertyError("Property " + Property.Name + " is read-only");
}

void WriteOrdinal(TXMLClass& Object, const TPropInfo& Property, std::int32_t Value) {
    if (!Property.SetOrd)
        ThrowReadOnly(Property);
    Property.SetOrd(Object, Value);
}

void WriteFloat(TXMLClass& Object, const TPropInfo& Property, double Value) {
    if (!Property.SetFloat)
        ThrowReadOnly(Property);
    Property.SetFloat(Object, NarrowFloat(Value, Property.FloatType));
}

void WriteString(TXMLClass& Object, const TPropInfo& Property, const std::string& Value) {
    if (!Property.SetStr)
        ThrowReadOnly(Property);
    Property.SetStr(Object, Value);
}

// Writes the element text of a plain (non-object) property; none for the kinds not stored.
void WritePropertyText(IXMLOutput& Out, const TXMLClass& Object, const TPropInfo& Property) {
    switch (Property.Kind) {
    case pkInteger:
    case pkChar:
    case pkWideChar:
    case pkSet:
    case pkEnumeration: {
        char Digits[16];
        auto End = std::to_chars(Digits, Digits + sizeof Digits, Property.GetOrd(Object)).ptr;
        Out.Text(std::string_view(Digits, static_cast<std::size_t>(End - Digits)));
        break;
    }
    case pkBoolean:
        Out.Text(Property.GetOrd(Object) ? "True" : "False");
        break;
    case pkFloat:
        Out.Text(FloatToText(Property.GetFloat(Object), Property.FloatType));
        break;
    case pkString:
        Out.Text(Property.GetStr(Object));
        break;
    default:
        break;
    }
}

std::int32_t ParseBoolean(std::string_view Text) {
    if (SameText(Text, "True"))
        return 1;
    if (SameText(Text, "False"))
        return 0;
    return StrToInt(Text) != 0 ? 1 : 0;
}

// Assigns element text, which ends at its first NUL, to a plain property by the rules of its kind.
void AssignPropertyText(TXMLClass& Object, const TPropInfo& Property, const char* Text) {
    switch (Property.Kind) {
    case pkInteger:
    case pkChar:
    case pkWideChar:
    case pkEnumeration: {
        std::int32_t Value = StrToInt(Text);
        if (Value < Property.MinValue || Value > Property.MaxValue)
            throw ERangeError("Value " + std::string(Text) + " is out of range for property " +
                              Property.Name);
        WriteOrdinal(Object, Property, Value);
        break;
    }
    case pkSet:
        WriteOrdinal(Object, Property, StrToInt(Text));
        break;
    case pkBoolean:
        WriteOrdinal(Object, Property, ParseBoolean(Text));
        break;
    case pkFloat:
        WriteFloat(Object, Property, TextToFloat(Text));
        break;
    case pkString:
        WriteString(Object, Property, std::string(Text));
        break;
    default:
        break; // method, variant and 64-bit values are not stored
    }
}

void CopyProperty(const TXMLClass& Source, const TPropInfo& From, TXMLClass& Target,
                  const TPropInfo& To) {
    if (From.IsOrdinal()) {
        WriteOrdinal(Target, To, From.GetOrd(Source));
        return;
    }
    switch (From.Kind) {
    case pkFloat:
        WriteFloat(Target, To, From.GetFloat(Source));
        break;
    case pkString:
        WriteString(Target, To, From.GetStr(Source));
        break;
    case pkObject:
        if (TPersistent* Nested = From.GetObject(Source))
            if (TPersistent* TargetNested = To.GetObject(Target))
                TargetNested->CopyFrom(Nested);
        break;
    default:
        break; // method, variant and 64-bit values are not copied
    }
}

// Loads one list item, numbering a value that fails by the item unless a list inside it did.
void LoadItem(TXMLClass& Item, pugi::xml_node Node, const std::string& ItemName, int Number) {
    try {
        Item.LoadFromNode(Node, ItemName);
    } catch (EXMLValueError& Error) {
        if (Error.Item == 0)
            Error.Item = Number;
        throw;
    }
}

} // namespace

const TPropertyTable& TXMLClass::ClassProperties() {
    static const TPropertyTable Empty;
    return Empty;
}

void TXMLClass::CopyFrom(const TPersistent* Source) {
    const auto* From = dynamic_cast<const TXMLClass*>(Source);
    if (!From || From == this)
        return;

    const TPropertyTable& SourceTable = From->Properties();
    const TPropertyTable& TargetTable = Properties();
    std::size_t Count = std::min(SourceTable.size(), TargetTable.size());
    for (std::size_t I = 0; I < Count; ++I) {
        if (SourceTable[I].Kind != TargetTable[I].Kind)
            break; // objects of different classes: copy only the common leading part
        CopyProperty(*From, SourceTable[I], *this, TargetTable[I]);
    }
}

void TXMLClass::ResetToDefaults() {
    SetDefaults();
    for (const TPropInfo& Property : Properties()) {
        if (Property.Kind != pkObject)
            continue;
        if (TPersistent* Nested = Property.GetObject(*this)) {
            auto* Option = dynamic_cast<TXMLClass*>(Nested);
            if (!Option)
                throw EAbort();
            Option->ResetToDefaults();
        }
    }
}

void TXMLClass::SaveTo(IXMLOutput& Out, const std::string& ItemName) const {
    for (const TPropInfo& Property : Properties()) {
        if (Property.Kind == pkObject) {
            TPersistent* Nested = Property.GetObject(*this);
            if (!Nested)
                continue;
            Out.BeginElement(Property.Name);
            if (auto* Option = dynamic_cast<const TXMLClass*>(Nested))
                Option->SaveTo(Out, ItemName);
        } else {
            Out.BeginElement(Property.Name);
            WritePropertyText(Out, *this, Property);
        }
        Out.EndElement();
    }
}

void TXMLClass::SaveToNode(pugi::xml_node Element, const std::string& ItemName) const {
    TXMLTreeOutput Out(Element);
    SaveTo(Out, ItemName);
}

void TXMLClass::LoadFromNode(pugi::xml_node Element, const std::string& ItemName) {
    const TPropertyTable& Table = Properties();
    const std::size_t Count = Table.size();
    // Each property's element is the first child of its name, in any order. One pass over the
    // children finds them all; the property after the one found last is tried first, which is
    // the next child in a file that this class wrote, and then every property.
    constexpr std::size_t Inline = 16;
    pugi::xml_node_struct* InlineFound[Inline];
    std::vector<pugi::xml_node_struct*> ManyFound;
    pugi::xml_node_struct** Found = InlineFound;
    if (Count > Inline) {
        ManyFound.resize(Count);
        Found = ManyFound.data();
    } else {
        std::fill_n(InlineFound, Count, nullptr);
    }
    std::size_t Missing = Count;
    std::size_t Next = 0;
    for (pugi::xml_node Child = Element.first_child(); IsNode(Child) && Missing > 0;
         Child = Child.next_sibling()) {
        const char* Name = Child.name();
        if (!*Name)
            continue; // text
        std::size_t Index = Next < Count && NameIs(Table[Next].Name, Name) ? Next : Count;
        for (std::size_t I = 0; Index == Count && I < Count; ++I)
            if (NameIs(Table[I].Name, Name))
                Index = I;
        if (Index == Count || Found[Index])
            continue; // no property's, or a later one of a name already found
        Found[Index] = NodeOf(Child);
        --Missing;
        Next = Index + 1;
    }

    for (std::size_t I = 0; I < Count; ++I) {
        if (!Found[I])
            continue;
        const TPropInfo& Property = Table[I];
        const pugi::xml_node Child = NodeAt(Found[I]);
        if (Property.Kind == pkObject) {
            if (auto* Option = dynamic_cast<TXMLClass*>(Property.GetObject(*this)))
                Option->LoadFromNode(Child, ItemName);
        } else {
            // The text is read for every kind, so a value element that is not plain text fails
            // the load even where the kind is then ignored.
            try {
                AssignPropertyText(*this, Property, ElementText(Child));
            } catch (const Exception& Error) {
                throw EXMLValueError(Error.what(), Property.Name);
            }
        }
    }
}

TXMLClass* TXMLClassList::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TXMLClassList::CopyFrom(const TPersistent* Source) {
    const auto* From = dynamic_cast<const TXMLClassList*>(Source);
    if (!From || From == this)
        return;
    int Count = From->Count();
    Clear();
    for (int I = 0; I < Count; ++I) {
        TXMLClass* SourceItem = From->Items(I);
        AddCopyTarget(*SourceItem)->CopyFrom(SourceItem);
    }
}

TXMLClass* TXMLClassList::Append(std::unique_ptr<TXMLClass> Item) {
    if (!Item)
        throw EPropertyError(ClassName() + " gave no item to add");
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

TXMLClass* TXMLClassList::Add() {
    return Append(CreateItem());
}

void TXMLClassList::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        throw EListError(Index);
    auto Slot = FItems.begin() + Index;
    Slot->reset();
    FItems.erase(Slot);
}

void TXMLClassList::Delete(std::vector<int> Indices) {
    std::sort(Indices.begin(), Indices.end());
    Indices.erase(std::unique(Indices.begin(), Indices.end()), Indices.end());
    if (Indices.empty())
        return;
    if (Indices.front() < 0)
        throw EListError(Indices.front());
    if (Indices.back() >= Count())
        throw EListError(Indices.back());
    // Erasing slot by slot would shift the rest each time: quadratic for many items.
    auto Doomed = Indices.begin();
    std::size_t Kept = 0;
    for (std::size_t Slot = 0; Slot < FItems.size(); ++Slot) {
        if (Doomed != Indices.end() && static_cast<std::size_t>(*Doomed) == Slot) {
            FItems[Slot].reset();
            ++Doomed;
        } else {
            FItems[Kept++] = std::move(FItems[Slot]);
        }
    }
    FItems.resize(Kept);
}

void TXMLClassList::Remove(TXMLClass* Item) {
    auto Slot =
        std::find_if(FItems.begin(), FItems.end(),
                     [Item](const std::unique_ptr<TXMLClass>& Held) { return Held.get() == Item; });
    if (Slot != FItems.end())
        FItems.erase(Slot);
}

void TXMLClassList::Clear() {
    // Free first to last, then drop the slots at once: the same order as deleting index 0 until
    // the list is empty, without moving the remaining slots each time.
    for (auto& Item : FItems)
        Item.reset();
    FItems.clear();
}

void TXMLClassList::SaveTo(IXMLOutput& Out, const std::string& ItemName) const {
    for (const auto& Item : FItems) {
        Out.BeginElement(ItemName);
        Item->SaveTo(Out, ItemName);
        Out.EndElement();
    }
}

void TXMLClassList::LoadFromNode(pugi::xml_node Element, const std::string& ItemName) {
    if (!IsNode(FirstChildElement(Element)))
        return;
    Clear();
    // Items are read from the first child of the item name on, through every later sibling
    // element; text between them is no item.
    const pugi::xml_node First = ChildElementAutoCreate(Element, ItemName);
    int Items = 0;
    for (pugi::xml_node Node = First; IsNode(Node); Node = NextSiblingElement(Node))
        ++Items;
    FItems.reserve(static_cast<std::size_t>(Items)); // no copies while it grows, nor a double peak
    int Number = 0;
    for (pugi::xml_node Node = First; IsNode(Node); Node = NextSiblingElement(Node))
        LoadItem(*Add(), Node, ItemName, ++Number);
}

TXMLClass* TXMLClassListExt::AddByClassName(const std::string& Name) {
    std::unique_ptr<TXMLClass> Item = CreateItemByClassName(Name);
    if (!Item)
        throw EPropertyError(ClassName() + " knows no item class '" + Name + "'");
    return Append(std::move(Item));
}

TXMLClass* TXMLClassListExt::AddCopyTarget(const TXMLClass& SourceItem) {
    return AddByClassName(SourceItem.ClassName());
}

void TXMLClassListExt::SaveTo(IXMLOutput& Out, const std::string& ItemName) const {
    for (int I = 0; I < Count(); ++I) {
        TXMLClass* Item = Items(I);
        Out.BeginElement(Item->ClassName());
        Item->SaveTo(Out, ItemName);
        Out.EndElement();
    }
}

void TXMLClassListExt::LoadFromNode(pugi::xml_node Element, const std::string& ItemName) {
    if (!IsNode(FirstChildElement(Element)))
        return;
    Clear();
    int Number = 0;
    for (pugi::xml_node Node = FirstChildElement(Element); IsNode(Node);
         Node = NextSiblingElement(Node))
        LoadItem(*AddByClassName(Node.name()), Node, ItemName, ++Number);
}

} // namespace q7n
