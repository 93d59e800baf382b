#pragma once

#include "base/Component.h"

#include <cstdint>
#include <functional>
#include <string>

namespace q7n {

class TDataContainer;
class TRegValueCategory;
class TRegistrySaver;

// The kind of a setting, which fixes how it is stored.
enum TRegistryValueType : std::uint8_t {
    rvtInteger,
    rvtBoolean,
    rvtDateTime,
    rvtDate,
    rvtTime,
    rvtFloat,
    rvtString,
    rvtFileName,
    rvtFolderName,
    rvtIP,
};

using TOnUserEditor = std::function<void(bool& aContinueStd)>;
using TOnUpdateResource = std::function<void(bool aUpdateResource)>;

// The base of every setting: a component whose Name names its registry value. Only the container
// that collected it sets OwnerContainer and Modified.
class TRegistryValueShell : public TComponent {
public:
    bool UserEditor() const { return FUserEditor; }
    void SetUserEditor(bool Value) { FUserEditor = Value; }
    // Whether the next save writes the setting.
    bool Modified() const { return FModified; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TDataContainer* OwnerContainer() const { return FOwnerContainer; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    TRegValueCategory* Category() const { return FCategory; }
    void SetCategory(TRegValueCategory* Value) { FCategory = Value; }
    const std::string& Descriptor() const { return FDescriptor; }
    void SetDescriptor(const std::string& Value) { FDescriptor = Value; }
    TRegistryValueType DateType() const { return FDateType; }
    const TOnUserEditor& OnUserEditor() const { return FOnUserEditor; }
    void SetOnUserEditor(TOnUserEditor Value) { FOnUserEditor = std::move(Value); }
    const TOnUpdateResource& OnUpdateResource() const { return FOnUpdateResource; }
    void SetOnUpdateResource(TOnUpdateResource Value) { FOnUpdateResource = std::move(Value); }

    // A value was changed: it counts only while the collecting container is idle, not while its
    // owner's values are given nor while the container loads or saves.
    void Changed();
    void DoUpdateResource(bool aUpdateResource);

protected:
    TRegistryValueShell(TComponent* Owner, TRegistryValueType DateType);

private:
    friend class TDataContainer;
    friend class TRegistrySaver;

    bool FUserEditor = false;
    bool FModified = false;
    bool FVisible = true;
    TDataContainer* FOwnerContainer = nullptr;
    std::string FCaption;
    TRegValueCategory* FCategory = nullptr;
    std::string FDescriptor;
    TRegistryValueType FDateType;
    TOnUserEditor FOnUserEditor;
    TOnUpdateResource FOnUpdateResource;
};

} // namespace q7n
