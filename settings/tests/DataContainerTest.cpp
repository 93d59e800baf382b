#include "settings/DataContainer.h"

#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "settings/DCAppInfo.h"
#include "settings/RegistryValues.h"
#include "settings/testsupport/RegistryKeyTest.h"

#include <gtest/gtest.h>

using namespace q7n;
using namespace q7n::platform;
using Calls = std::vector<std::string>;

namespace {

class DataContainerTest : public q7n::testing::TRegistryKeyTest {
protected:
    DataContainerTest() : TRegistryKeyTest(q7n::testing::TestKeyPath + "\\Container") {}

    std::unique_ptr<TComponent> FOwner = std::make_unique<TComponent>(nullptr);
    TDataContainer* FContainer = NewContainer(FOwner.get());

    TDataContainer* NewContainer(TComponent* Owner) {
        auto* Container = new TDataContainer(Owner, FRecorder);
        Container->SetRegPath(FKey);
        return Container;
    }
    template <class T> T* Add(const std::string& Name, TComponent* Owner = nullptr) {
        auto* Setting = new T(Owner ? Owner : FOwner.get());
        Setting->SetName(Name);
        return Setting;
    }
};

// One setting of each of the ten kinds, owned by Owner.
struct TAllKinds {
    TComponent* Owner;
    TRegInteger* Integer = New<TRegInteger>("Integer");
    TRegBoolean* Boolean = New<TRegBoolean>("Boolean");
    TRegDateTime* DateTime = New<TRegDateTime>("DateTime");
    TRegDate* Date = New<TRegDate>("Date");
    TRegTime* Time = New<TRegTime>("Time");
    TRegFloat* Float = New<TRegFloat>("Float");
    TRegString* String = New<TRegString>("String");
    TRegFile* File = New<TRegFile>("File");
    TRegFolder* Folder = New<TRegFolder>("Folder");
    TRegIP* IP = New<TRegIP>("IP");

    template <class T> T* New(const std::string& Name) const {
        auto* Setting = new T(Owner);
        Setting->SetName(Name);
        return Setting;
    }
    int Flagged() const {
        return Integer->Modified() + Boolean->Modified() + DateTime->Modified() + Date->Modified() +
               Time->Modified() + Float->Modified() + String->Modified() + File->Modified() +
               Folder->Modified() + IP->Modified();
    }
};

} // namespace

TEST_F(DataContainerTest, CollectingTakesEverySettingInOwnerOrder) {
    auto* Files = new TRegValueCategory(FOwner.get());
    Files->SetCaption("Files");
    auto* SameCaption = new TRegValueCategory(FOwner.get());
    SameCaption->SetCaption("Files");
    auto* Network = new TRegValueCategory(FOwner.get());
    Network->SetCaption("Network");
    auto* First = Add<TRegFile>("First");
    First->SetCategory(Files);
    new TComponent(FOwner.get()); // not a setting
    auto* Second = Add<TRegString>("Second");
    Second->SetCategory(SameCaption);
    auto* Third = Add<TRegInteger>("Third");
    auto* Fourth = Add<TRegIP>("Fourth");
    Fourth->SetCategory(Network);
    Network->SetDataContainer(nullptr); // a category's container does not decide

    for (int Round = 0; Round < 2; ++Round) {
        FContainer->CollectItems();
        TRegistrySaverItems* Items = FContainer->Saver()->Items();
        ASSERT_EQ(Items->Count(), 4);
        EXPECT_EQ(Items->Items(0), First);
        EXPECT_EQ(Items->Items(1), Second);
        EXPECT_EQ(Items->Items(2), Third);
        EXPECT_EQ(Items->Items(3), Fourth);
        EXPECT_EQ(Items->Items(4), nullptr);
        EXPECT_EQ(Items->Items(-1), nullptr);
        TCategoryList* Categories = FContainer->Categories();
        ASSERT_EQ(Categories->Count(), 2);
        EXPECT_EQ(Categories->Items(0), Files);
        EXPECT_EQ(Categories->Items(1), Network);
        EXPECT_TRUE(Categories->Contains("Files"));
        EXPECT_FALSE(Categories->Contains("files"));
    }
    EXPECT_EQ(Third->OwnerContainer(), FContainer);
    EXPECT_TRUE(FRecorder.Calls.empty()); // collecting does not touch the registry
}

TEST_F(DataContainerTest, KeyPathIsBuiltFromTheIdentityUnlessGiven) {
    auto* Identity = new TDCAppInfo(FOwner.get());
    FContainer->SetDCAppInfo(Identity);
    FContainer->SetRegPath("");
    EXPECT_EQ(FContainer->KeyPath(), "Software\\TAVO\\Input_AppName\\0\\MainOptions");
    Identity->SetFirmName("");
    FContainer->SetRegistryKey("");
    Identity->SetApplicationName("Q7NService");
    EXPECT_EQ(FContainer->KeyPath(), "Software\\TAVO\\Q7NService\\0\\MainOptions");
    FContainer->SetRegPath("\\" + FKey);
    EXPECT_EQ(FContainer->KeyPath(), FKey);
    FContainer->SetRegPath(FKey);
    EXPECT_EQ(FContainer->KeyPath(), FKey);
    FContainer->SetRegPath("");
    FContainer->SetDCAppInfo(nullptr);
    EXPECT_EQ(FContainer->KeyPath(), std::nullopt);
}

TEST_F(DataContainerTest, PathsWithAndWithoutLeadingBackslashAddressOneKey) {
    auto* Text = Add<TRegString>("Text");
    FContainer->SetRegPath("\\" + FKey);
    FContainer->CollectItems();
    FContainer->Load();
    Text->SetValue("shared");
    FContainer->Save();
    EXPECT_EQ(FRecorder.CallsOf("CreateKey"), Calls{"CreateKey " + FKey});

    auto Reader = std::make_unique<TComponent>(nullptr);
    auto* ReadText = Add<TRegString>("Text", Reader.get());
    TDataContainer* Other = NewContainer(Reader.get());
    Other->CollectItems();
    Other->Load();
    EXPECT_EQ(ReadText->Value(), "shared");
    EXPECT_FALSE(ReadText->Modified());
}

TEST_F(DataContainerTest, FirstRunFlagsEverythingAndTheNextSaveWritesIt) {
    TAllKinds Kinds{FOwner.get()};
    Kinds.File->SetDefValue("C:\\Q7N\\Default.xml");
    FContainer->CollectItems();
    FContainer->Load();
    EXPECT_EQ(Kinds.Flagged(), 10);
    EXPECT_EQ(Kinds.File->Value(), ""); // not DefValue
    EXPECT_EQ(FRecorder.TakeCalls().front(), "OpenKey " + FKey);

    Kinds.Integer->SetValue(-2);
    Kinds.Boolean->SetValue(true);
    Kinds.DateTime->SetValue(45000.75);
    Kinds.Date->SetValue(45000);
    Kinds.Time->SetValue(0.5);
    Kinds.Float->SetValue(-1.25e-3);
    Kinds.String->SetValue("text");
    Kinds.File->SetValue("C:\\Q7N\\Q7NPorts.xml");
    Kinds.IP->SetValue("192.168.1.6");
    FContainer->Save();
    EXPECT_EQ(Kinds.Flagged(), 0);
    EXPECT_EQ(FRecorder.TakeCalls(),
              (Calls{"CreateKey " + FKey, "WriteValue Integer", "WriteValue Boolean",
                     "WriteValue DateTime", "WriteValue Date", "WriteValue Time",
                     "WriteValue Float", "WriteValue String", "WriteValue File",
                     "WriteValue Folder", "WriteValue IP", "CloseKey"}));
    // The storage of each kind.
    EXPECT_EQ(Stored("Integer"), std::make_pair(RegDword, RegDwordData(0xFFFFFFFEu)));
    EXPECT_EQ(Stored("Boolean"), std::make_pair(RegDword, RegDwordData(1)));
    EXPECT_EQ(Stored("DateTime"), std::make_pair(RegBinary, RegDoubleData(45000.75)));
    EXPECT_EQ(Stored("Float"), std::make_pair(RegBinary, RegDoubleData(-1.25e-3)));
    EXPECT_EQ(Stored("File"), std::make_pair(RegSz, RegTextData("C:\\Q7N\\Q7NPorts.xml")));
    // An empty folder is written as the root of drive C.
    EXPECT_EQ(Stored("Folder"), std::make_pair(RegSz, RegTextData("C:\\")));

    // A second save right after writes nothing, but still opens the key.
    FContainer->Save();
    EXPECT_EQ(FRecorder.TakeCalls(), (Calls{"CreateKey " + FKey, "CloseKey"}));

    // Everything reads back, unflagged; the folder comes back as it was written.
    auto Reader = std::make_unique<TComponent>(nullptr);
    TAllKinds Read{Reader.get()};
    TDataContainer* Other = NewContainer(Reader.get());
    Other->CollectItems();
    Other->Load();
    EXPECT_EQ(Read.Flagged(), 0);
    EXPECT_EQ(Read.Integer->Value(), -2);
    EXPECT_TRUE(Read.Boolean->Value());
    EXPECT_EQ(Read.DateTime->Value(), 45000.75);
    EXPECT_EQ(Read.Date->Value(), 45000);
    EXPECT_EQ(Read.Time->Value(), 0.5);
    EXPECT_EQ(Read.Float->Value(), -1.25e-3);
    EXPECT_EQ(Read.String->Value(), "text");
    EXPECT_EQ(Read.File->Value(), "C:\\Q7N\\Q7NPorts.xml");
    EXPECT_EQ(Read.Folder->Value(), "C:\\");
    EXPECT_EQ(Read.IP->Value(), "192.168.1.6");
}

TEST_F(DataContainerTest, SaveWithNothingFlaggedStillCreatesTheKey) {
    Add<TRegString>("Text");
    FContainer->SetRegPath(FKey + "\\Deeper\\Still");
    FContainer->CollectItems();
    FContainer->Save();
    EXPECT_EQ(FRecorder.TakeCalls(), (Calls{"CreateKey " + FKey + "\\Deeper\\Still", "CloseKey"}));
    TRegKey Key(FRegistry.Backend);
    EXPECT_TRUE(Key.Open(Hklm, FKey + "\\Deeper\\Still", KeyRead).Ok());
}

TEST_F(DataContainerTest, WrongTypeStopsTheLoadAtThatSetting) {
    auto* Before = Add<TRegInteger>("Before");
    auto* Wrong = Add<TRegInteger>("Wrong");
    auto* After = Add<TRegString>("After");
    auto* Missing = Add<TRegString>("Missing");
    Store("Before", RegDword, RegDwordData(42));
    Store("Wrong", RegSz, RegTextData("7"));
    Store("After", RegSz, RegTextData("never read"));
    Store("Unknown", RegSz, RegTextData("left alone"));
    Wrong->SetValue(3); // before collection: no flag
    FContainer->CollectItems();
    FContainer->Load();
    EXPECT_EQ(Before->Value(), 42);
    EXPECT_EQ(Wrong->Value(), 3);
    EXPECT_EQ(After->Value(), "");
    EXPECT_FALSE(Before->Modified() || Wrong->Modified() || After->Modified() ||
                 Missing->Modified());
    EXPECT_TRUE(FRecorder.CallsOf("QueryValue After").empty());
    EXPECT_EQ(FRecorder.OpenKeys, 0);

    // The exit save leaves all of it as it is, the value no setting bears included.
    FContainer->Save();
    EXPECT_TRUE(FRecorder.CallsOf("WriteValue").empty());
    EXPECT_EQ(Stored("Wrong"), std::make_pair(RegSz, RegTextData("7")));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"After", "Before", "Unknown", "Wrong"}));
}

TEST_F(DataContainerTest, DataOfTheWrongShapeIsNotTaken) {
    auto* Number = Add<TRegInteger>("Number");
    auto* Ratio = Add<TRegFloat>("Ratio");
    auto* When = Add<TRegTime>("When");
    Store("Number", RegDword, std::vector<std::uint8_t>{1, 0}); // two bytes
    Store("Ratio", RegBinary, std::vector<std::uint8_t>(7, 0));
    Store("When", RegBinary, RegDoubleData(0.25));
    FContainer->CollectItems();
    FContainer->Load();
    EXPECT_EQ(Number->Value(), 0);
    EXPECT_EQ(When->Value(), 0.0); // after the first failure nothing is read
    Store("Number", RegDword, RegDwordData(1));
    FContainer->Load();
    EXPECT_EQ(Number->Value(), 1);
    EXPECT_EQ(Ratio->Value(), 0.0);
    EXPECT_EQ(When->Value(), 0.0);
    Store("Ratio", RegBinary, RegDoubleData(2.5));
    FContainer->Load();
    EXPECT_EQ(Ratio->Value(), 2.5);
    EXPECT_EQ(When->Value(), 0.25);
}

TEST_F(DataContainerTest, StoredTextAndNumbersAreReadAsTheirKinds) {
    auto* Expandable = Add<TRegString>("Expandable");
    auto* NoData = Add<TRegString>("NoData");
    auto* Flag = Add<TRegBoolean>("Flag");
    auto* Ranged = Add<TRegInteger>("Ranged");
    auto* Folder = Add<TRegFolder>("Folder");
    Ranged->SetMinValue(1);
    Ranged->SetMaxValue(10);
    Store("Expandable", RegExpandSz, RegTextData("%TEMP%\\x"));
    Store("NoData", RegSz, std::vector<std::uint8_t>{});
    Store("Flag", RegDword, RegDwordData(7));
    Store("Ranged", RegDword, RegDwordData(11));
    Store("Folder", RegSz, RegTextData("D:\\NoSlash"));
    FContainer->CollectItems();
    NoData->SetValue("replaced");
    FContainer->Load();
    EXPECT_EQ(Expandable->Value(), "%TEMP%\\x"); // not expanded
    EXPECT_EQ(NoData->Value(), "");
    EXPECT_TRUE(Flag->Value());
    EXPECT_EQ(Ranged->Value(), 0); // refused by the range, and not flagged
    EXPECT_FALSE(Ranged->Modified());
    EXPECT_EQ(Folder->Value(), "D:\\NoSlash"); // taken as read
}

TEST_F(DataContainerTest, FailedWriteDropsThatFlagAndKeepsTheRest) {
    auto* First = Add<TRegString>("First");
    auto* Second = Add<TRegString>("Second");
    auto* Third = Add<TRegString>("Third");
    FContainer->CollectItems();
    FContainer->Load();
    FRecorder.FailingWrites["Second"] = ErrorAccessDenied;
    FContainer->Save();
    EXPECT_FALSE(First->Modified());
    EXPECT_FALSE(Second->Modified());
    EXPECT_TRUE(Third->Modified());
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"First"});

    FRecorder.FailingWrites.clear();
    FRecorder.TakeCalls();
    FContainer->Save();
    EXPECT_EQ(FRecorder.CallsOf("WriteValue"), Calls{"WriteValue Third"});
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"First", "Third"}));
}

TEST_F(DataContainerTest, WithoutAnIdentityOrWithAPathToTheRootNothingIsStored) {
    auto* First = Add<TRegString>("First");
    auto* Second = Add<TRegString>("Second");
    // No identity to build the path from, or a path that names HKEY_LOCAL_MACHINE itself.
    for (std::string Path : {"", "\\", "\\\\"}) {
        FContainer->SetRegPath(Path);
        FContainer->CollectItems();
        FContainer->Load();
        EXPECT_TRUE(First->Modified() && Second->Modified());
        FContainer->Save();
        // The first write fails on the key that was never opened; the second keeps its flag.
        EXPECT_FALSE(First->Modified());
        EXPECT_TRUE(Second->Modified());
        EXPECT_EQ(FRecorder.TakeCalls(), Calls{}) << Path;
    }
}

TEST_F(DataContainerTest, NotificationsRunContainerFirstThenSettingsInOrder) {
    auto* First = Add<TRegString>("First");
    auto* Second = Add<TRegString>("Second");
    FContainer->CollectItems();
    Calls Log;
    FContainer->SetOnUpdateResource([&](bool Loaded) {
        Log.push_back(std::string("container ") + (Loaded ? "loaded" : "saving"));
    });
    First->SetOnUpdateResource([&](bool Loaded) {
        Log.push_back(std::string("first ") + (Loaded ? "loaded" : "saving"));
        // After a load the values have been read already.
        if (Loaded) {
            EXPECT_TRUE(First->Modified());
        }
        // Before a save this is no change: it is written only when already flagged.
        if (!Loaded)
            First->SetValue("from handler");
    });
    Second->SetOnUpdateResource([&](bool Loaded) {
        Log.push_back(std::string("second ") + (Loaded ? "loaded" : "saving"));
        if (!Loaded)
            Second->SetValue("from handler");
    });
    FContainer->Load(); // both flagged: the key is missing
    EXPECT_EQ(Log, (Calls{"container loaded", "first loaded", "second loaded"}));
    FContainer->Save();
    EXPECT_EQ(Stored("First"), std::make_pair(RegSz, RegTextData("from handler")));
    EXPECT_EQ(Stored("Second"), std::make_pair(RegSz, RegTextData("from handler")));

    Log.clear();
    First->SetValue("changed again");
    Second->SetOnUpdateResource([&](bool) { Second->SetValue("not written"); });
    FContainer->Save();
    EXPECT_EQ(Log, (Calls{"container saving", "first saving"}));
    EXPECT_EQ(Stored("First"), std::make_pair(RegSz, RegTextData("from handler")));
    EXPECT_EQ(Second->Value(), "not written");
    EXPECT_FALSE(First->Modified() || Second->Modified());
    EXPECT_EQ(Stored("Second"), std::make_pair(RegSz, RegTextData("from handler")));
}

TEST_F(DataContainerTest, FailingHandlerLeavesTheContainerIdle) {
    auto* Text = Add<TRegString>("Text");
    FContainer->CollectItems();
    FContainer->SetOnUpdateResource([](bool) { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(FContainer->Save(), std::runtime_error);
    EXPECT_EQ(FContainer->State(), dcsIdle);
    EXPECT_THROW(FContainer->Load(), std::runtime_error);
    EXPECT_EQ(FContainer->State(), dcsIdle);
    EXPECT_EQ(FRecorder.OpenKeys, 0);
    Text->SetValue("still counts");
    EXPECT_TRUE(Text->Modified());
}
