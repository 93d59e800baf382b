#include "base/Component.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace q7n;

namespace {

// Records the order in which components are destroyed.
class TRecordingComponent : public TComponent {
public:
    TRecordingComponent(TComponent* Owner, std::string Tag, std::vector<std::string>& Log)
        : TComponent(Owner), FTag(std::move(Tag)), FLog(Log) {}
    ~TRecordingComponent() override { FLog.push_back(FTag); }

private:
    std::string FTag;
    std::vector<std::string>& FLog;
};

} // namespace

TEST(Component, OwnerFreesOwnedComponentsNewestFirst) {
    std::vector<std::string> Log;
    {
        TRecordingComponent Owner(nullptr, "owner", Log);
        auto* First = new TRecordingComponent(&Owner, "first", Log);
        new TRecordingComponent(&Owner, "second", Log);
        new TRecordingComponent(First, "grandchild", Log);
        ASSERT_EQ(Owner.ComponentCount(), 2);
        EXPECT_EQ(Owner.Components(0), First);
        EXPECT_THROW(Owner.Components(2), EListError);
    }
    // A component's own destructor runs before its base frees what it owns.
    EXPECT_EQ(Log, (std::vector<std::string>{"owner", "second", "first", "grandchild"}));
}

TEST(Component, ComponentFreedOnItsOwnLeavesItsOwner) {
    TComponent Owner(nullptr);
    auto* Child = new TComponent(&Owner);
    auto* Other = new TComponent(&Owner);
    delete Child;
    ASSERT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(Owner.Components(0), Other);
}

TEST(Component, NamesAreUniqueWithinTheOwnerRegardlessOfCase) {
    TComponent Owner(nullptr);
    auto* A = new TComponent(&Owner);
    auto* B = new TComponent(&Owner);
    A->SetName("Serializer");
    EXPECT_THROW(B->SetName("SERIALIZER"), EComponentError);
    EXPECT_EQ(B->Name(), "");
    B->SetName("Other");
    A->SetName("serializer"); // renaming itself is no clash
    EXPECT_EQ(Owner.FindComponent("SERIALIZER"), A);
    EXPECT_EQ(Owner.FindComponent("missing"), nullptr);

    // Unowned components and empty names never clash.
    TComponent Loose1(nullptr), Loose2(nullptr);
    Loose1.SetName("Same");
    Loose2.SetName("Same");
    auto* C = new TComponent(&Owner);
    C->SetName("");
    EXPECT_EQ(Owner.FindComponent(""), nullptr);
}
