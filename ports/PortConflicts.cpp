#include "ports/PortConflicts.h"

#include "ports/PortRates.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <utility>

namespace q7n {

namespace {

constexpr std::int32_t LowestPort = 1;
constexpr std::int32_t HighestPort = 65535;
constexpr std::int32_t HighestCOMPort = 256;
constexpr std::size_t LongestShownAddress = 64;

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

void AppendNumber(std::string& Out, std::int64_t Value) {
    char Digits[24];
    auto End = std::to_chars(Digits, Digits + sizeof Digits, Value).ptr;
    Out.append(Digits, End);
}

// The address quoted on one line: control characters, quotes and backslashes as \xNN, long
// texts cut.
void AppendShownAddress(std::string& Out, std::string_view Text) {
    static const char Hex[] = "0123456789ABCDEF";
    Out += '"';
    for (std::size_t I = 0; I < Text.size() && I < LongestShownAddress; ++I) {
        auto C = static_cast<unsigned char>(Text[I]);
        if (C < 0x20 || C == 0x7F || C == '"' || C == '\\') {
            Out += "\\x";
            Out += Hex[C >> 4];
            Out += Hex[C & 15];
        } else {
            Out += static_cast<char>(C);
        }
    }
    if (Text.size() > LongestShownAddress)
        Out += "...";
    Out += '"';
}

// Every row of a group of two or more that share a value gets one finding naming another row of
// the group: the first row names the second, the others the first. Pairs holds (value, row),
// sorted.
void FindShared(const std::vector<std::pair<std::int32_t, int>>& Pairs, TPortFindingKind Kind,
                std::vector<TPortFinding>& Findings) {
    for (std::size_t First = 0; First < Pairs.size();) {
        std::size_t End = First + 1;
        while (End < Pairs.size() && Pairs[End].first == Pairs[First].first)
            ++End;
        if (End - First > 1) {
            const std::int32_t Value = Pairs[First].first;
            const int FirstRow = Pairs[First].second;
            Findings.push_back({FirstRow, Kind, Pairs[First + 1].second,
                                static_cast<int>(End - First - 2), Value});
            for (std::size_t I = First + 1; I < End; ++I)
                Findings.push_back({Pairs[I].second, Kind, FirstRow, 0, Value});
        }
        First = End;
    }
}

} // namespace

std::span<const TPortFinding> TPortCheckResult::ForRow(int Row) const {
    if (Row < 1 || static_cast<std::size_t>(Row) >= FRowStart.size())
        return {};
    return std::span<const TPortFinding>(FFindings).subspan(FRowStart[Row - 1],
                                                            FRowStart[Row] - FRowStart[Row - 1]);
}

TPortCheckResult CheckPorts(const TQ7NPorts& Ports) {
    const int Count = Ports.Count();
    std::vector<TPortFinding> Found;
    std::vector<std::pair<std::int32_t, int>> LocalPorts;
    LocalPorts.reserve(Count);
    // COM ports are 1 to 256 by the record's write rule: bucketed by value, in row order.
    std::vector<std::vector<std::pair<std::int32_t, int>>> COMBuckets(HighestCOMPort + 1);
    for (int I = 0; I < Count; ++I) {
        const TQ7NPort& Port = *Ports.Items(I);
        const int Row = I + 1;
        LocalPorts.emplace_back(Port.LocalPort(), Row);
        COMBuckets[std::clamp(Port.COMPort(), 0, HighestCOMPort)].emplace_back(Port.COMPort(), Row);
        if (Port.RemoutePort() < LowestPort || Port.RemoutePort() > HighestPort)
            Found.push_back({Row, pfRemotePortOutOfRange, 0, 0, Port.RemoutePort()});
        if (Port.LocalPort() < LowestPort || Port.LocalPort() > HighestPort)
            Found.push_back({Row, pfLocalPortOutOfRange, 0, 0, Port.LocalPort()});
        if (!IsOfferedPortRate(Port.CpRate()))
            Found.push_back({Row, pfRateNotOffered, 0, 0, Port.CpRate()});
        if (!IsIPv4Address(Port.IP()) && !IsHostName(Port.IP()))
            Found.push_back({Row, pfBadAddress, 0, 0, 0});
    }
    std::sort(LocalPorts.begin(), LocalPorts.end());
    FindShared(LocalPorts, pfLocalPortShared, Found);
    for (const auto& Bucket : COMBuckets)
        FindShared(Bucket, pfCOMPortShared, Found);

    // Ordered by row, then by kind: placed by a counting pass over the rows, then sorted within
    // each row, which holds at most six findings.
    TPortCheckResult Result;
    Result.FRowStart.assign(static_cast<std::size_t>(Count) + 1, 0);
    for (const TPortFinding& Finding : Found)
        ++Result.FRowStart[Finding.Row];
    for (int Row = 1; Row <= Count; ++Row) {
        Result.FRowsWithFindings += Result.FRowStart[Row] ? 1 : 0;
        Result.FRowStart[Row] += Result.FRowStart[Row - 1];
    }
    std::vector<std::size_t> Next(Result.FRowStart.begin(), Result.FRowStart.end() - 1);
    Result.FFindings.resize(Found.size());
    for (const TPortFinding& Finding : Found)
        Result.FFindings[Next[Finding.Row - 1]++] = Finding;
    for (int Row = 1; Row <= Count; ++Row)
        std::sort(Result.FFindings.begin() + static_cast<std::ptrdiff_t>(Result.FRowStart[Row - 1]),
                  Result.FFindings.begin() + static_cast<std::ptrdiff_t>(Result.FRowStart[Row]),
                  [](const TPortFinding& A, const TPortFinding& B) { return A.Kind < B.Kind; });
    return Result;
}

void AppendPortFindingText(std::string& Out, const TPortFinding& Finding, const TQ7NPorts& Ports) {
    switch (Finding.Kind) {
    case pfLocalPortShared:
    case pfCOMPortShared:
        Out += Finding.Kind == pfCOMPortShared ? "COM" : "local port ";
        AppendNumber(Out, Finding.Value);
        Out += " is also used by row ";
        AppendNumber(Out, Finding.OtherRow);
        if (Finding.MoreRows > 0) {
            Out += " and ";
            AppendNumber(Out, Finding.MoreRows);
            Out += " more";
        }
        break;
    case pfRemotePortOutOfRange:
    case pfLocalPortOutOfRange:
        Out += Finding.Kind == pfRemotePortOutOfRange ? "remote port " : "local port ";
        AppendNumber(Out, Finding.Value);
        Out += " is outside 1 to 65535";
        break;
    case pfRateNotOffered:
        Out += "rate ";
        AppendNumber(Out, Finding.Value);
        Out += " is not one the port editor offers";
        break;
    case pfBadAddress:
        Out += "IP ";
        AppendShownAddress(Out, Ports.Items(Finding.Row - 1)->IP());
        Out += " is neither an IPv4 address nor a host name";
        break;
    }
}

std::string PortFindingText(const TPortFinding& Finding, const TQ7NPorts& Ports) {
    std::string Text;
    AppendPortFindingText(Text, Finding, Ports);
    return Text;
}

bool IsIPv4Address(std::string_view Text) {
    int Parts = 0;
    std::size_t I = 0;
    for (;;) {
        std::size_t Start = I;
        int Value = 0;
        while (I < Text.size() && IsDigit(Text[I]) && I - Start < 3)
            Value = Value * 10 + (Text[I++] - '0');
        std::size_t Digits = I - Start;
        if (Digits == 0 || Value > 255 || (Digits > 1 && Text[Start] == '0'))
            return false;
        if (++Parts == 4)
            return I == Text.size();
        if (I == Text.size() || Text[I] != '.')
            return false;
        ++I;
    }
}

bool IsHostName(std::string_view Text) {
    if (!Text.empty() && Text.back() == '.')
        Text.remove_suffix(1);
    if (Text.empty() || Text.size() > 253)
        return false;
    bool LastAllDigits = false;
    for (std::size_t Start = 0; Start <= Text.size();) {
        std::size_t End = std::min(Text.find('.', Start), Text.size());
        std::string_view Label = Text.substr(Start, End - Start);
        if (Label.empty() || Label.size() > 63 || Label.front() == '-' || Label.back() == '-')
            return false;
        LastAllDigits = true;
        for (char C : Label) {
            if (!IsLetter(C) && !IsDigit(C) && C != '-')
                return false;
            LastAllDigits = LastAllDigits && IsDigit(C);
        }
        Start = End + 1;
    }
    return !LastAllDigits;
}

} // namespace q7n
