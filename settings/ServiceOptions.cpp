#include "settings/ServiceOptions.h"

namespace q7n {

TdmServiceOptions* dmServiceOptions = nullptr;

TdmServiceOptions::TdmServiceOptions(TComponent* Owner)
    : TdmServiceOptions(Owner, platform::DefaultRegistry()) {}

TdmServiceOptions::TdmServiceOptions(TComponent* Owner, platform::IRegistry& Registry)
    : TComponent(Owner) {
    SetName("dmServiceOptions");

    DataContainerDialog = new TDataContainerDialog(this);
    DataContainerDialog->SetName("DataContainerDialog");

    DCAppInfo = new TDCAppInfo(this);
    DCAppInfo->SetName("DCAppInfo");
    DCAppInfo->SetUserName("DefUser");
    DCAppInfo->SetApplicationName(ServiceOptionsApplicationName);
    DCAppInfo->SetFirmName(ServiceOptionsFirmName);

    DataContainer = new TDataContainer(this, Registry);
    DataContainer->SetName("DataContainer");
    DataContainer->SetDCAppInfo(DCAppInfo);
    DataContainer->SetRegistryKey(ServiceOptionsRegistryKey);
    DataContainer->SetImageIndex(0);
    DataContainer->SetDescription("Options");

    rgcFile = new TRegValueCategory(this);
    rgcFile->SetName("rgcFile");
    rgcFile->SetDataContainer(DataContainer);
    rgcFile->SetCaption("Файл настроек");
    rgcFile->SetImageIndex(-1);

    rgCfgFile = new TRegFile(this);
    rgCfgFile->SetName("rgCfgFile");
    rgCfgFile->SetUserEditor(false);
    rgCfgFile->SetCaption("Имя файла");
    rgCfgFile->SetCategory(rgcFile);
    rgCfgFile->SetVisible(true);

    DataContainerDialog->SetDataContainer(DataContainer);
    DataContainerDialog->SetMaxInstrumentalWidth(150);

    DataModuleCreate();
}

TdmServiceOptions::~TdmServiceOptions() {
    DataModuleDestroy();
    if (dmServiceOptions == this)
        dmServiceOptions = nullptr;
}

void TdmServiceOptions::DataModuleCreate() {
    DataContainer->CollectItems();
    DataContainer->Load();
}

void TdmServiceOptions::DataModuleDestroy() {
    DataContainer->Save();
}

TdmServiceOptions* CreateServiceOptions(TComponent* Owner) {
    return CreateServiceOptions(Owner, platform::DefaultRegistry());
}

TdmServiceOptions* CreateServiceOptions(TComponent* Owner, platform::IRegistry& Registry) {
    dmServiceOptions = new TdmServiceOptions(Owner, Registry);
    return dmServiceOptions;
}

} // namespace q7n
