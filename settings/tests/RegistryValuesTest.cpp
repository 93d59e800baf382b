#include "settings/RegistryValues.h"

#include "settings/DCAppInfo.h"
#include "settings/DataContainer.h"
#include "settings/DataContainerDialog.h"
#include "settings/testsupport/RecordingRegistry.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace q7n;

namespace {

// An owner with a container that has collected the owner's settings.
struct TCollectedOwner {
    q7n::testing::TTestRegistry Registry{q7n::testing::TestKeyPath};
    TComponent Owner{nullptr};
    TDataContainer* Container = new TDataContainer(&Owner, Registry.Backend);

    template <class T> T* Add(const std::string& Name) {
        auto* Setting = new T(&Owner);
        Setting->SetName(Name);
        return Setting;
    }
    void Collect() {
        Container->SetRegPath("Software\\Q7NSettingsTests\\Values");
        Container->CollectItems();
    }
};

} // namespace

TEST(RegistryValues, IdentityContainerAndDialogIgnoreEmptyAndNonPositiveValues) {
    TComponent Owner(nullptr);
    auto* Identity = new TDCAppInfo(&Owner);
    Identity->SetFirmName("");
    Identity->SetApplicationName("");
    Identity->SetUserName("");
    EXPECT_EQ(Identity->FirmName(), "TAVO");
    EXPECT_EQ(Identity->ApplicationName(), "Input_AppName");
    EXPECT_EQ(Identity->UserName(), "DefUser");

    q7n::testing::TTestRegistry Registry{q7n::testing::TestKeyPath};
    auto* Container = new TDataContainer(&Owner, Registry.Backend);
    Container->SetRegistryKey("");
    EXPECT_EQ(Container->RegistryKey(), "MainOptions");

    auto* Dialog = new TDataContainerDialog(&Owner);
    EXPECT_EQ(Dialog->MaxInstrumentalWidth(), 150);
    Dialog->SetMaxInstrumentalWidth(0);
    Dialog->SetMaxInstrumentalWidth(-5);
    EXPECT_EQ(Dialog->MaxInstrumentalWidth(), 150);
    Dialog->SetMaxInstrumentalWidth(1);
    EXPECT_EQ(Dialog->MaxInstrumentalWidth(), 1);
}

TEST(RegistryValues, ChangesCountOnlyWhileTheContainerIsIdleAndTheValueDiffers) {
    TCollectedOwner Owner;
    auto* Text = Owner.Add<TRegString>("Text");
    auto* Flag = Owner.Add<TRegBoolean>("Flag");
    auto* When = Owner.Add<TRegDateTime>("When");
    Text->SetValue("design value"); // before collection: the owner's design data
    EXPECT_FALSE(Text->Modified());
    Owner.Collect();
    Owner.Container->Save(); // nothing flagged yet
    EXPECT_EQ(Text->OwnerContainer(), Owner.Container);

    Text->SetValue("design value");
    EXPECT_FALSE(Text->Modified());
    Text->SetValue("Design Value"); // letter case counts
    EXPECT_TRUE(Text->Modified());
    EXPECT_EQ(Text->Value(), "Design Value");
    Text->SetValue("Design Value");
    EXPECT_TRUE(Text->Modified()); // an equal value does not clear the flag either

    // The other kinds compare their values too.
    Flag->SetValue(false);
    When->SetValue(0.0);
    EXPECT_FALSE(Flag->Modified());
    EXPECT_FALSE(When->Modified());
    Flag->SetValue(true);
    When->SetValue(45000.25);
    EXPECT_TRUE(Flag->Modified());
    EXPECT_TRUE(When->Modified());

    // Values assigned while a pass runs are no changes.
    Owner.Container->Save();
    ASSERT_FALSE(Text->Modified());
    Owner.Container->SetOnUpdateResource([&](bool Loaded) {
        EXPECT_NE(Owner.Container->State(), dcsIdle);
        Text->SetValue(Loaded ? "during load" : "during save");
    });
    Owner.Container->Save();
    EXPECT_EQ(Text->Value(), "during save");
    EXPECT_FALSE(Text->Modified());
    Owner.Container->Load();
    EXPECT_EQ(Text->Value(), "during load");
    EXPECT_FALSE(Text->Modified());
    EXPECT_EQ(Owner.Container->State(), dcsIdle);
}

TEST(RegistryValues, RangeIsTestedBeforeTheHandlerAndARefusalLeavesValueAndFlag) {
    TCollectedOwner Owner;
    auto* Number = Owner.Add<TRegInteger>("Number");
    auto* Ratio = Owner.Add<TRegFloat>("Ratio");
    Owner.Collect();
    Number->SetMinValue(1);
    Number->SetMaxValue(10);
    std::vector<std::int32_t> Consulted;
    Number->SetOnCheckValue([&](std::int32_t Value, bool&) { Consulted.push_back(Value); });
    Number->SetValue(0);
    Number->SetValue(11);
    EXPECT_EQ(Number->Value(), 0);
    EXPECT_FALSE(Number->Modified());
    EXPECT_TRUE(Consulted.empty());
    Number->SetValue(10);
    EXPECT_EQ(Number->Value(), 10);
    Number->SetValue(1);
    EXPECT_EQ(Number->Value(), 1);
    EXPECT_TRUE(Number->Modified());
    EXPECT_EQ(Consulted, (std::vector<std::int32_t>{10, 1}));

    // Equal bounds set no range, but the handler still decides.
    Number->SetMinValue(5);
    Number->SetMaxValue(5);
    Number->SetValue(-1000);
    EXPECT_EQ(Number->Value(), -1000);
    EXPECT_EQ(Consulted.back(), -1000);

    // A refusing handler leaves the value and the flag as they were.
    Ratio->SetOnCheckValue([](double Value, bool& Accept) { Accept = Value != 2.5; });
    Ratio->SetValue(2.5);
    EXPECT_EQ(Ratio->Value(), 0.0);
    EXPECT_FALSE(Ratio->Modified());
    Ratio->SetValue(-7.75);
    EXPECT_EQ(Ratio->Value(), -7.75);
    EXPECT_TRUE(Ratio->Modified());

    // A value that is no number lies in no range.
    Ratio->SetMinValue(-10);
    Ratio->SetMaxValue(10);
    Ratio->SetValue(std::nan(""));
    EXPECT_EQ(Ratio->Value(), -7.75);
    Ratio->SetValue(10.5);
    EXPECT_EQ(Ratio->Value(), -7.75);
}

TEST(RegistryValues, FolderStoredTextEndsInOneBackslash) {
    TComponent Owner(nullptr);
    auto* Folder = new TRegFolder(&Owner);
    EXPECT_EQ(Folder->StoredText(), "C:\\");
    Folder->SetValue("D:\\Data");
    EXPECT_EQ(Folder->StoredText(), "D:\\Data\\");
    Folder->SetValue("D:\\Data\\");
    EXPECT_EQ(Folder->StoredText(), "D:\\Data\\");
    Folder->SetValue("\\");
    EXPECT_EQ(Folder->StoredText(), "\\");
}
