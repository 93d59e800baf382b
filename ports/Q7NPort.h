#pragma once

#include "xmloptions/XMLClass.h"

#include <cstdint>
#include <memory>
#include <string>

namespace q7n {

// One port mapping: a remote IP address and port, a local port, a COM port and its baud rate.
class TQ7NPort : public TXMLClass {
public:
    using TXMLClass::TXMLClass;

    std::string ClassName() const override { return "TQ7NPort"; }
    const TPropertyTable& Properties() const override { return ClassProperties(); }
    static const TPropertyTable& ClassProperties();
    void SetDefaults() override;

    const std::string& IP() const { return FIP; }
    void SetIP(const std::string& Value) { FIP = Value; }
    std::int32_t RemoutePort() const { return FRemoutePort; }
    void SetRemoutePort(std::int32_t Value) { FRemoutePort = Value; }
    std::int32_t LocalPort() const { return FLocalPort; }
    void SetLocalPort(std::int32_t Value) { FLocalPort = Value; }
    // COM1 is 1; values outside 1 to 256 are ignored.
    std::int32_t COMPort() const { return FCOMPort; }
    void SetCOMPort(std::int32_t Value);
    // Bits per second; zero and negative values are ignored.
    std::int32_t CpRate() const { return FCpRate; }
    void SetCpRate(std::int32_t Value);

private:
    std::string FIP;
    std::int32_t FRemoutePort = 0;
    std::int32_t FLocalPort = 0;
    std::int32_t FCOMPort = 1;
    std::int32_t FCpRate = 9600;
};

// The ordered list of port mappings; it owns its records.
class TQ7NPorts : public TXMLClassList {
public:
    using TXMLClassList::TXMLClassList;

    std::string ClassName() const override { return "TQ7NPorts"; }
    std::unique_ptr<TXMLClass> CreateItem() override { return Create<TQ7NPort>(this); }

    TQ7NPort* Items(int Index) const { return static_cast<TQ7NPort*>(TXMLClassList::Items(Index)); }
    TQ7NPort* Add() { return static_cast<TQ7NPort*>(TXMLClassList::Add()); }
};

// The root of the port configuration: it owns the one list of mappings.
class TQ7NOptions : public TXMLClass {
public:
    explicit TQ7NOptions(TXMLClass* Owner);

    std::string ClassName() const override { return "TQ7NOptions"; }
    const TPropertyTable& Properties() const override { return ClassProperties(); }
    static const TPropertyTable& ClassProperties();
    void SetDefaults() override;

    TQ7NPorts* Q7NPorts() const { return FQ7NPorts.get(); }

private:
    std::unique_ptr<TQ7NPorts> FQ7NPorts;
};

} // namespace q7n
