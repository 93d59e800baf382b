#pragma once

#include "settings/RegistryValueShell.h"

#include <cstdint>
#include <functional>
#include <string>

namespace q7n {

// Days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;
using TFileName = std::string;

// A setting whose assignment stores a value that differs from the current one (texts compare
// byte for byte) and reports the change.
template <class T> class TRegPlainValue : public TRegistryValueShell {
public:
    const T& Value() const { return FValue; }
    void SetValue(const T& Value) {
        if (Value == FValue)
            return;
        FValue = Value;
        Changed();
    }

protected:
    TRegPlainValue(TComponent* Owner, TRegistryValueType DateType, const std::string& Caption)
        : TRegistryValueShell(Owner, DateType) {
        SetCaption(Caption);
    }

private:
    T FValue{};
};

// A number setting with an optional range, MinValue to MaxValue inclusive (equal bounds mean no
// range), and a handler that may refuse a value. A refused value is dropped without a word.
template <class T> class TRegRangedValue : public TRegistryValueShell {
public:
    using TOnCheckValue = std::function<void(T aValue, bool& aAccept)>;

    T Value() const { return FValue; }
    void SetValue(T Value) {
        if (Value == FValue)
            return;
        bool Accept = true;
        // Written so that a value that is no number (NaN) is outside every range.
        if (FMinValue != FMaxValue && !(FMinValue <= Value && Value <= FMaxValue))
            Accept = false;
        if (Accept && FOnCheckValue)
            FOnCheckValue(Value, Accept);
        if (!Accept)
            return;
        FValue = Value;
        Changed();
    }
    T MinValue() const { return FMinValue; }
    void SetMinValue(T Value) { FMinValue = Value; }
    T MaxValue() const { return FMaxValue; }
    void SetMaxValue(T Value) { FMaxValue = Value; }
    const TOnCheckValue& OnCheckValue() const { return FOnCheckValue; }
    void SetOnCheckValue(TOnCheckValue Value) { FOnCheckValue = std::move(Value); }

protected:
    TRegRangedValue(TComponent* Owner, TRegistryValueType DateType, const std::string& Caption)
        : TRegistryValueShell(Owner, DateType) {
        SetCaption(Caption);
    }

private:
    T FValue{};
    T FMinValue{};
    T FMaxValue{};
    TOnCheckValue FOnCheckValue;
};

class TRegInteger final : public TRegRangedValue<std::int32_t> {
public:
    explicit TRegInteger(TComponent* Owner);
};

class TRegBoolean final : public TRegPlainValue<bool> {
public:
    explicit TRegBoolean(TComponent* Owner);
};

class TRegDateTime final : public TRegPlainValue<TDateTime> {
public:
    explicit TRegDateTime(TComponent* Owner);
};

class TRegDate final : public TRegPlainValue<TDateTime> {
public:
    explicit TRegDate(TComponent* Owner);
};

class TRegTime final : public TRegPlainValue<TDateTime> {
public:
    explicit TRegTime(TComponent* Owner);
};

class TRegFloat final : public TRegRangedValue<double> {
public:
    explicit TRegFloat(TComponent* Owner);
};

class TRegString final : public TRegPlainValue<std::string> {
public:
    explicit TRegString(TComponent* Owner);
};

class TRegFile final : public TRegPlainValue<TFileName> {
public:
    explicit TRegFile(TComponent* Owner);

    // Held for whoever shows the setting; a missing registry value does not bring it back.
    const TFileName& DefValue() const { return FDefValue; }
    void SetDefValue(const TFileName& Value) { FDefValue = Value; }

private:
    TFileName FDefValue;
};

class TRegFolder final : public TRegPlainValue<std::string> {
public:
    explicit TRegFolder(TComponent* Owner);

    // The text a save writes: "C:\" for an empty folder, otherwise the folder with one
    // trailing backslash.
    std::string StoredText() const;
};

class TRegIP final : public TRegPlainValue<std::string> {
public:
    explicit TRegIP(TComponent* Owner);
};

} // namespace q7n
