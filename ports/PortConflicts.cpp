#include "PortConflicts.h"

#include "PortRates.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace q7n {

namespace {

constexpr std::int32_t LowestPort = 1;
constexpr std::int32_t HighestPort = 65535;
constexpr std::size_t LongestShownAddress = 64;

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

// The address as it can be shown on one line: control characters as \xNN, long texts cut.
std::string Shown(std::string_view Text) {
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result = "\"";
    for (std::size_t I = 0; I < Text.size() && I < LongestShownAddress; ++I) {
        auto C = static_cast<unsigned char>(Text[I]);
        if (C < 0x20 || C == 0x7F || C == '"' || C == '\\') {
            Result += "\\x";
            Result += Hex[C >> 4];
            Result += Hex[C & 15];
        } else {
            Result += static_cast<char>(C);
        }
    }
    if (Text.size() > LongestShownAddress)
        Result += "...";
    return Result + "\"";
}

// Rows that share a value, found by sorting (value, row) pairs: every row of a group of two or
// more gets one finding naming another row of the group.
void FindShared(std::vector<std::pair<std::int32_t, int>>& Values, TPortFindingKind Kind,
                const char* What, std::vector<TPortFinding>& Findings) {
    std::sort(Values.begin(), Values.end());
    for (std::size_t First = 0; First < Values.size();) {
        std::size_t End = First + 1;
        while (End < Values.size() && Values[End].first == Values[First].first)
            ++End;
        std::size_t Size = End - First;
        if (Size > 1) {
            std::string Value = What + std::to_string(Values[First].first);
            int FirstRow = Values[First].second;
            int SecondRow = Values[First + 1].second;
            std::string Text = Value + " is also used by row " + std::to_string(SecondRow);
            if (Size > 2)
                Text += " and " + std::to_string(Size - 2) + " more";
            Findings.push_back({FirstRow, Kind, SecondRow, std::move(Text)});
            for (std::size_t I = First + 1; I < End; ++I)
                Findings.push_back({Values[I].second, Kind, FirstRow,
                                    Value + " is also used by row " + std::to_string(FirstRow)});
        }
        First = End;
    }
}

void CheckPortRange(int Row, std::int32_t Port, TPortFindingKind Kind, const char* What,
                    std::vector<TPortFinding>& Findings) {
    if (Port < LowestPort || Port > HighestPort)
        Findings.push_back({Row, Kind, 0,
                            What + std::to_string(Port) + " is outside " +
                                std::to_string(LowestPort) + " to " + std::to_string(HighestPort)});
}

} // namespace

std::span<const TPortFinding> TPortCheckResult::ForRow(int Row) const {
    if (Row < 1 || static_cast<std::size_t>(Row) >= FRowStart.size())
        return {};
    return std::span<const TPortFinding>(FFindings)
        .subspan(FRowStart[Row - 1], FRowStart[Row] - FRowStart[Row - 1]);
}

TPortCheckResult CheckPorts(const TQ7NPorts& Ports) {
    const int Count = Ports.Count();
    std::vector<TPortFinding> Found;
    std::vector<std::pair<std::int32_t, int>> LocalPorts, COMPorts;
    LocalPorts.reserve(Count);
    COMPorts.reserve(Count);
    for (int I = 0; I < Count; ++I) {
        const TQ7NPort& Port = *Ports.Items(I);
        const int Row = I + 1;
        LocalPorts.emplace_back(Port.LocalPort(), Row);
        COMPorts.emplace_back(Port.COMPort(), Row);
        CheckPortRange(Row, Port.RemoutePort(), pfRemotePortOutOfRange, "remote port ", Found);
        CheckPortRange(Row, Port.LocalPort(), pfLocalPortOutOfRange, "local port ", Found);
        if (!IsOfferedPortRate(Port.CpRate()))
            Found.push_back({Row, pfRateNotOffered, 0,
                             "rate " + std::to_string(Port.CpRate()) +
                                 " is not one the port editor offers"});
        if (!IsIPv4Address(Port.IP()) && !IsHostName(Port.IP()))
            Found.push_back({Row, pfBadAddress, 0,
                             "IP " + Shown(Port.IP()) +
                                 " is neither an IPv4 address nor a host name"});
    }
    FindShared(LocalPorts, pfLocalPortShared, "local port ", Found);
    FindShared(COMPorts, pfCOMPortShared, "COM", Found);

    // Ordered by row, then by kind: a counting pass over the rows, then a sort within each row
    // (a row holds at most six findings).
    TPortCheckResult Result;
    Result.FRowStart.assign(static_cast<std::size_t>(Count) + 1, 0);
    for (const TPortFinding& Finding : Found)
        ++Result.FRowStart[Finding.Row];
    for (int Row = 1; Row <= Count; ++Row)
        Result.FRowStart[Row] += Result.FRowStart[Row - 1];
    std::vector<std::size_t> Next(Result.FRowStart.begin(), Result.FRowStart.end() - 1);
    Result.FFindings.resize(Found.size());
    for (TPortFinding& Finding : Found)
        Result.FFindings[Next[Finding.Row - 1]++] = std::move(Finding);
    for (int Row = 1; Row <= Count; ++Row)
        std::sort(Result.FFindings.begin() + Result.FRowStart[Row - 1],
                  Result.FFindings.begin() + Result.FRowStart[Row],
                  [](const TPortFinding& A, const TPortFinding& B) { return A.Kind < B.Kind; });
    return Result;
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
        std::size_t End = Text.find('.', Start);
        if (End == std::string_view::npos)
            End = Text.size();
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
