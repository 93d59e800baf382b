#pragma once

#include "base/Persistent.h"
#include "xmloptions/PropertyTable.h"

#include <memory>
#include <string>
#include <vector>

// pugixml is compiled into each file that includes its header (cmake/Q7NPugixmlSource.cmake):
// only the files that use its tree include it.
namespace pugi {
class xml_node;
}

namespace q7n {

class IXMLOutput;

// An option object: saved to, loaded from and copied between XML elements purely from its
// declared properties. Create objects with Create<T>(Owner), which applies the defaults.
class TXMLClass : public TPersistent {
public:
    explicit TXMLClass(TXMLClass* Owner) : FOwner(Owner) {}

    // Makes an object of class T with the given owner and gives it its default values.
    template <class T> static std::unique_ptr<T> Create(TXMLClass* Owner) {
        auto Object = std::make_unique<T>(Owner);
        Object->SetDefaults();
        return Object;
    }

    // The object that created this one (a list for its items), or nullptr. Not owning.
    TXMLClass* Owner() const { return FOwner; }

    // The class name, which also names the elements of items in lists chosen by class name.
    virtual std::string ClassName() const { return "TXMLClass"; }
    // The declared properties of the object's class.
    virtual const TPropertyTable& Properties() const { return ClassProperties(); }
    static const TPropertyTable& ClassProperties();

    virtual void SetDefaults() {}

    // Deep copy of Source when it is an option object of the same class; nothing otherwise.
    void CopyFrom(const TPersistent* Source) override;

    // SetDefaults here and in every nested option object; raises EAbort when a nested object is
    // not an option object.
    void ResetToDefaults();

    // Writes the properties (or the items) as elements into Out; ItemName names list items.
    virtual void SaveTo(IXMLOutput& Out, const std::string& ItemName) const;
    // SaveTo, as children of Element.
    void SaveToNode(pugi::xml_node Element, const std::string& ItemName) const;
    // Reads the properties (or the items) from the children of Element. Errors propagate.
    virtual void LoadFromNode(pugi::xml_node Element, const std::string& ItemName);

private:
    TXMLClass* FOwner;
};

// A list of option objects that owns its items.
class TXMLClassList : public TXMLClass {
public:
    using TXMLClass::TXMLClass;
    ~TXMLClassList() override { Clear(); }

    std::string ClassName() const override { return "TXMLClassList"; }
    void SetDefaults() override { Clear(); }
    // Replaces the items by copies of Source's items, in order; copying onto itself keeps them.
    void CopyFrom(const TPersistent* Source) override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The item at Index; raises EListError outside 0..Count-1.
    TXMLClass* Items(int Index) const;

    // Makes one new item of the list's item class, owned by this list; none in the base class.
    virtual std::unique_ptr<TXMLClass> CreateItem() { return nullptr; }

    // Appends a new item from CreateItem; raises when the factory gives none.
    TXMLClass* Add();
    // Frees the item at Index and removes its slot; raises EListError outside the bounds.
    void Delete(int Index);
    // Frees the items at Indices (in any order, repeats counted once), first to last, and closes
    // the gaps in one pass, so that the other items keep their order. Raises EListError for an
    // index outside the bounds before it frees anything.
    void Delete(std::vector<int> Indices);
    // Removes Item from the list and frees it. An object that the list does not hold belongs to
    // somebody else and is left alone.
    void Remove(TXMLClass* Item);
    // Frees every item, first to last.
    void Clear();

    void SaveTo(IXMLOutput& Out, const std::string& ItemName) const override;
    void LoadFromNode(pugi::xml_node Element, const std::string& ItemName) override;

protected:
    TXMLClass* Append(std::unique_ptr<TXMLClass> Item);
    // The new item that a copy of SourceItem goes into: one from the item factory.
    virtual TXMLClass* AddCopyTarget(const TXMLClass& SourceItem) {
        (void)SourceItem;
        return Add();
    }

private:
    std::vector<std::unique_ptr<TXMLClass>> FItems;
};

// A list whose items may be of different classes, each saved under its class name.
class TXMLClassListExt : public TXMLClassList {
public:
    using TXMLClassList::TXMLClassList;

    std::string ClassName() const override { return "TXMLClassListExt"; }

    // Makes a new item of the class of that name, or none; none in the base class.
    virtual std::unique_ptr<TXMLClass> CreateItemByClassName(const std::string& Name) {
        (void)Name;
        return nullptr;
    }
    // Appends a new item from CreateItemByClassName; raises when the factory gives none.
    TXMLClass* AddByClassName(const std::string& Name);

    void SaveTo(IXMLOutput& Out, const std::string& ItemName) const override;
    void LoadFromNode(pugi::xml_node Element, const std::string& ItemName) override;

protected:
    // Items of mixed classes: each copy is of its source item's class.
    TXMLClass* AddCopyTarget(const TXMLClass& SourceItem) override;
};

} // namespace q7n
