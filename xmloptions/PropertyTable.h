#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace q7n {

class TPersistent;
class TXMLClass;

// How a declared property is stored, copied and turned into element text.
enum TPropKind {
    pkInteger,
    pkChar,
    pkWideChar,
    pkSet,
    pkBoolean,
    pkEnumeration,
    pkFloat,
    pkString,
    pkObject,
    pkMethod,
    pkVariant,
    pkInt64,
};

// The precision in which a float property keeps its value.
enum TFloatType { ftSingle, ftDouble };

// One declared property: its name, kind, range and generic accessors. Ordinal kinds (integer,
// characters, set, boolean, enumeration) are read and written as 32-bit integers; a setter may
// reject a value by leaving the property as it was. Kinds without storage rules here (method,
// variant, 64-bit integer) carry no accessors.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = pkInteger;
    std::int64_t MinValue = 0; // declared range of ordinal kinds, inclusive
    std::int64_t MaxValue = 0;
    TFloatType FloatType = ftDouble;

    std::function<std::int32_t(const TXMLClass&)> GetOrd;
    std::function<void(TXMLClass&, std::int32_t)> SetOrd;
    std::function<double(const TXMLClass&)> GetFloat;
    std::function<void(TXMLClass&, double)> SetFloat;
    std::function<std::string(const TXMLClass&)> GetStr;
    std::function<void(TXMLClass&, const std::string&)> SetStr;
    std::function<TPersistent*(const TXMLClass&)> GetObject;

    bool IsOrdinal() const {
        return Kind == pkInteger || Kind == pkChar || Kind == pkWideChar || Kind == pkSet ||
               Kind == pkBoolean || Kind == pkEnumeration;
    }
};

// A class's declared properties: the inherited ones first, then its own in declaration order.
using TPropertyTable = std::vector<TPropInfo>;

namespace detail {

template <class Setter> struct TSetterArgument;
template <class C, class T> struct TSetterArgument<void (C::*)(T)> {
    using Type = std::remove_cvref_t<T>;
};

} // namespace detail

// Builds the property table of class C on top of the inherited table. Each accessor is either a
// pointer to a data member (direct field access) or a pointer to a member function (a getter
// "T Get() const" or a setter "void Set(T)", which may apply its own rules).
template <class C> class TPropertyTableBuilder {
public:
    explicit TPropertyTableBuilder(const TPropertyTable& Inherited) : FTable(Inherited) {}

    template <class G, class S>
    TPropertyTableBuilder& Integer(std::string Name, G Getter, S Setter,
                                   std::int64_t Min = std::numeric_limits<std::int32_t>::min(),
                                   std::int64_t Max = std::numeric_limits<std::int32_t>::max()) {
        return Ordinal(pkInteger, std::move(Name), Getter, Setter, Min, Max);
    }
    template <class G, class S> TPropertyTableBuilder& Char(std::string Name, G Getter, S Setter) {
        return Ordinal(pkChar, std::move(Name), Getter, Setter, 0, 255);
    }
    template <class G, class S>
    TPropertyTableBuilder& WideChar(std::string Name, G Getter, S Setter) {
        return Ordinal(pkWideChar, std::move(Name), Getter, Setter, 0, 65535);
    }
    // A set, stored as its bit mask.
    template <class G, class S> TPropertyTableBuilder& Set(std::string Name, G Getter, S Setter) {
        return Ordinal(pkSet, std::move(Name), Getter, Setter, 0, 0);
    }
    template <class G, class S>
    TPropertyTableBuilder& Boolean(std::string Name, G Getter, S Setter) {
        return Ordinal(pkBoolean, std::move(Name), Getter, Setter, 0, 1);
    }
    // An enumeration of Count values, 0 to Count - 1.
    template <class G, class S>
    TPropertyTableBuilder& Enumeration(std::string Name, G Getter, S Setter, int Count) {
        return Ordinal(pkEnumeration, std::move(Name), Getter, Setter, 0, Count - 1);
    }
    template <class G, class S>
    TPropertyTableBuilder& Float(std::string Name, G Getter, S Setter, TFloatType Type) {
        TPropInfo& Info = Add(pkFloat, std::move(Name));
        Info.FloatType = Type;
        Info.GetFloat = [Getter](const TXMLClass& O) {
            return static_cast<double>(std::invoke(Getter, static_cast<const C&>(O)));
        };
        Info.SetFloat = Writer<double>(Setter);
        return *this;
    }
    template <class G, class S>
    TPropertyTableBuilder& String(std::string Name, G Getter, S Setter) {
        TPropInfo& Info = Add(pkString, std::move(Name));
        Info.GetStr = [Getter](const TXMLClass& O) {
            return std::string(std::invoke(Getter, static_cast<const C&>(O)));
        };
        Info.SetStr = Writer<const std::string&>(Setter);
        return *this;
    }
    // A nested object, read-only: loading and copying fill the existing object.
    template <class G> TPropertyTableBuilder& Object(std::string Name, G Getter) {
        TPropInfo& Info = Add(pkObject, std::move(Name));
        Info.GetObject = [Getter](const TXMLClass& O) -> TPersistent* {
            return std::invoke(Getter, static_cast<const C&>(O));
        };
        return *this;
    }
    // Kinds that are written as empty elements and neither loaded nor copied.
    TPropertyTableBuilder& Unstored(std::string Name, TPropKind Kind) {
        Add(Kind, std::move(Name));
        return *this;
    }

    TPropertyTable Build() { return std::move(FTable); }

private:
    TPropInfo& Add(TPropKind Kind, std::string Name) {
        TPropInfo& Info = FTable.emplace_back();
        Info.Name = std::move(Name);
        Info.Kind = Kind;
        return Info;
    }

    template <class G, class S>
    TPropertyTableBuilder& Ordinal(TPropKind Kind, std::string Name, G Getter, S Setter,
                                   std::int64_t Min, std::int64_t Max) {
        TPropInfo& Info = Add(Kind, std::move(Name));
        Info.MinValue = Min;
        Info.MaxValue = Max;
        Info.GetOrd = [Getter](const TXMLClass& O) {
            auto Value = std::invoke(Getter, static_cast<const C&>(O));
            // A plain char may be signed; its ordinal is its code, 0 to 255.
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(Value)>, char>)
                return static_cast<std::int32_t>(static_cast<unsigned char>(Value));
            else
                return static_cast<std::int32_t>(Value);
        };
        Info.SetOrd = Writer<std::int32_t>(Setter);
        return *this;
    }

    // Wraps a data member or a setter member function as a generic write access taking V.
    template <class V, class S> static auto Writer(S Setter) {
        return [Setter](TXMLClass& O, V Value) {
            C& Object = static_cast<C&>(O);
            if constexpr (std::is_member_object_pointer_v<S>) {
                using TField = std::remove_cvref_t<decltype(Object.*Setter)>;
                Object.*Setter = static_cast<TField>(Value);
            } else {
                using TArg = typename detail::TSetterArgument<S>::Type;
                (Object.*Setter)(static_cast<TArg>(Value));
            }
        };
    }

    TPropertyTable FTable;
};

} // namespace q7n
