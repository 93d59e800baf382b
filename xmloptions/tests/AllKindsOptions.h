#pragma once

// Test-only option classes with one property of every kind, a nested object, and both kinds of
// list, to exercise the generic walks.

#include "xmloptions/XMLClass.h"

#include <functional>
#include <memory>

namespace q7n::testing {

enum TColour { clRed, clGreen, clBlue };

// A plain persistent object that is not an option object.
class TForeign : public TPersistent {};

class TLeaf : public TXMLClass {
public:
    using TXMLClass::TXMLClass;
    std::string ClassName() const override { return "TLeaf"; }
    const TPropertyTable& Properties() const override { return ClassProperties(); }
    static const TPropertyTable& ClassProperties() {
        static const TPropertyTable Table =
            TPropertyTableBuilder<TLeaf>(TXMLClass::ClassProperties())
                .String("Caption", &TLeaf::Caption, &TLeaf::Caption)
                .Build();
        return Table;
    }
    void SetDefaults() override { Caption = "leaf"; }
    std::string Caption;
};

// A second leaf class, for lists of mixed classes; it adds a property to TLeaf's.
class TBigLeaf : public TLeaf {
public:
    using TLeaf::TLeaf;
    std::string ClassName() const override { return "TBigLeaf"; }
    const TPropertyTable& Properties() const override { return ClassProperties(); }
    static const TPropertyTable& ClassProperties() {
        static const TPropertyTable Table =
            TPropertyTableBuilder<TBigLeaf>(TLeaf::ClassProperties())
                .Integer("Size", &TBigLeaf::Size, &TBigLeaf::Size)
                .Build();
        return Table;
    }
    void SetDefaults() override {
        TLeaf::SetDefaults();
        Size = 10;
    }
    std::int32_t Size = 0;
};

class TLeafList : public TXMLClassList {
public:
    using TXMLClassList::TXMLClassList;
    std::unique_ptr<TXMLClass> CreateItem() override { return TXMLClass::Create<TLeaf>(this); }
};

class TMixedList : public TXMLClassListExt {
public:
    using TXMLClassListExt::TXMLClassListExt;
    std::unique_ptr<TXMLClass> CreateItemByClassName(const std::string& Name) override {
        if (Name == "TLeaf")
            return TXMLClass::Create<TLeaf>(this);
        if (Name == "TBigLeaf")
            return TXMLClass::Create<TBigLeaf>(this);
        return nullptr;
    }
};

class TAllKinds : public TXMLClass {
public:
    explicit TAllKinds(TXMLClass* Owner)
        : TXMLClass(Owner), FNested(std::make_unique<TLeaf>(this)),
          FLeaves(std::make_unique<TLeafList>(this)), FMixed(std::make_unique<TMixedList>(this)) {}

    std::string ClassName() const override { return "TAllKinds"; }
    const TPropertyTable& Properties() const override { return ClassProperties(); }
    static const TPropertyTable& ClassProperties() {
        static const TPropertyTable Table =
            TPropertyTableBuilder<TAllKinds>(TXMLClass::ClassProperties())
                .Integer("Count", &TAllKinds::Count, &TAllKinds::Count)
                .Integer("Percent", &TAllKinds::Percent, &TAllKinds::SetPercent)
                .Integer("Small", &TAllKinds::Small, &TAllKinds::Small, 0, 255)
                .Char("Letter", &TAllKinds::Letter, &TAllKinds::Letter)
                .WideChar("WideLetter", &TAllKinds::WideLetter, &TAllKinds::WideLetter)
                .Set("Flags", &TAllKinds::Flags, &TAllKinds::Flags)
                .Boolean("Enabled", &TAllKinds::Enabled, &TAllKinds::Enabled)
                .Enumeration("Colour", &TAllKinds::Colour, &TAllKinds::Colour, 3)
                .Float("Ratio", &TAllKinds::Ratio, &TAllKinds::Ratio, ftSingle)
                .Float("Stamp", &TAllKinds::Stamp, &TAllKinds::Stamp, ftDouble)
                .String("Title", &TAllKinds::Title, &TAllKinds::Title)
                .Object("Nested", &TAllKinds::NestedObject)
                .Object("Leaves", &TAllKinds::LeavesObject)
                .Object("Mixed", &TAllKinds::MixedObject)
                .Object("Missing", &TAllKinds::MissingObject)
                .Unstored("OnChange", pkMethod)
                .Unstored("Anything", pkVariant)
                .Unstored("Big", pkInt64)
                .Build();
        return Table;
    }

    void SetDefaults() override {
        Count = 5;
        Percent = 50;
        Small = 7;
        Letter = 'A';
        WideLetter = 0x416; // Cyrillic capital Zhe
        Flags = 0x5;
        Enabled = true;
        Colour = clGreen;
        Ratio = 0.5f;
        Stamp = 45000.25;
        Title = "title";
    }

    // Rejects values above 100 by keeping the previous value.
    void SetPercent(std::int32_t Value) {
        if (Value <= 100)
            Percent = Value;
    }

    TLeaf* NestedObject() const { return FNested.get(); }
    TLeafList* LeavesObject() const { return FLeaves.get(); }
    TMixedList* MixedObject() const { return FMixed.get(); }
    TPersistent* MissingObject() const { return Missing.get(); }

    std::int32_t Count = 0;
    std::int32_t Percent = 0;
    std::uint8_t Small = 0;
    char Letter = 0;
    char16_t WideLetter = 0;
    std::uint32_t Flags = 0;
    bool Enabled = false;
    TColour Colour = clRed;
    float Ratio = 0;
    double Stamp = 0;
    std::string Title;
    std::unique_ptr<TPersistent> Missing; // none unless a test sets it
    std::function<void()> OnChange;
    std::int64_t Big = 0;

private:
    std::unique_ptr<TLeaf> FNested;
    std::unique_ptr<TLeafList> FLeaves;
    std::unique_ptr<TMixedList> FMixed;
};

} // namespace q7n::testing
