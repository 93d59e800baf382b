#include "platform/RegistryExport.h"

#include "platform/RegistryKey.h"
#include "platform/SystemErrorText.h"
#include "platform/UnicodeText.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace q7n::platform {

namespace {

// Past this many characters a line of hex data goes on in the next, as the registry editor
// wraps it.
constexpr std::size_t HexLineWidth = 76;

bool HasLineBreak(std::string_view Text) {
    return Text.find_first_of("\r\n") != std::string_view::npos;
}

std::string Quoted(std::string_view Text) {
    std::string Out = "\"";
    for (char C : Text) {
        if (C == '\\' || C == '"')
            Out += '\\';
        Out += C;
    }
    return Out + "\"";
}

std::vector<std::uint8_t> Utf16LeBytes(const std::u16string& Text) {
    std::vector<std::uint8_t> Bytes;
    Bytes.reserve(Text.size() * 2);
    for (char16_t Unit : Text) {
        Bytes.push_back(static_cast<std::uint8_t>(Unit & 0xFF));
        Bytes.push_back(static_cast<std::uint8_t>(Unit >> 8));
    }
    return Bytes;
}

// "hex:", "hex(2):", ... and the bytes, wrapped after the line's first Start characters.
std::string HexData(const std::string& Prefix, const std::vector<std::uint8_t>& Bytes,
                    std::size_t Start) {
    std::string Out = Prefix;
    std::size_t Line = Start + Prefix.size();
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        char Pair[4];
        std::snprintf(Pair, sizeof(Pair), "%02x", Bytes[I]);
        Out += Pair;
        Line += 2;
        if (I + 1 < Bytes.size()) {
            Out += ',';
            ++Line;
            if (Line > HexLineWidth) {
                Out += "\\\r\n  ";
                Line = 2;
            }
        }
    }
    return Out;
}

// Whether text data are one string and its single terminator, with no line break: the form
// a quoted string stands for.
bool IsPlainString(const std::vector<std::uint8_t>& Data) {
    if (Data.empty() || Data.back() != 0)
        return false;
    std::string_view Text(reinterpret_cast<const char*>(Data.data()), Data.size() - 1);
    return Text.find('\0') == std::string_view::npos && !HasLineBreak(Text);
}

TStatusOr<std::string> ValueLine(const std::string& Name, std::uint32_t Type,
                                 const std::vector<std::uint8_t>& Data) {
    if (HasLineBreak(Name))
        return SystemStatus(ErrorInvalidParameter);
    std::string Line = (Name.empty() ? std::string("@") : Quoted(Name)) + "=";
    if (Type == RegSz && IsPlainString(Data)) {
        Line +=
            Quoted(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size() - 1));
    } else if (Type == RegDword && Data.size() == 4) {
        char Number[16];
        std::snprintf(Number, sizeof(Number), "dword:%02x%02x%02x%02x", Data[3], Data[2], Data[1],
                      Data[0]);
        Line += Number;
    } else if (Type == RegBinary) {
        Line += HexData("hex:", Data, Line.size());
    } else {
        std::vector<std::uint8_t> Bytes = Data;
        if (IsRegTextType(Type)) {
            // The file holds text as Windows stores it, in UTF-16.
            std::optional<std::u16string> Wide = Utf8ToUtf16(
                std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size()));
            if (!Wide)
                return SystemStatus(ErrorNoUnicodeTranslation);
            Bytes = Utf16LeBytes(*Wide);
        }
        char Prefix[24];
        std::snprintf(Prefix, sizeof(Prefix), "hex(%x):", static_cast<unsigned>(Type));
        Line += HexData(Prefix, Bytes, Line.size());
    }
    return Line + "\r\n";
}

} // namespace

TStatusOr<std::string> ExportRegistryKey(IRegistry& Registry, TRegRoot Root,
                                         const std::string& Path, const std::string& ShownPath) {
    if (HasLineBreak(ShownPath))
        return SystemStatus(ErrorInvalidParameter);
    TRegKey Key(Registry);
    if (TStatus Opened = Key.Open(Root, Path, KeyRead); !Opened.Ok())
        return Opened;
    TStatusOr<std::vector<std::string>> Names = Key.ValueNames();
    if (!Names.Ok())
        return Names.Status();

    std::string Shown = ShownPath;
    if (!Shown.empty() && Shown.front() == '\\')
        Shown.erase(0, 1);
    std::string Text = "Windows Registry Editor Version 5.00\r\n\r\n[" +
                       std::string(RegRootName(Root)) + (Shown.empty() ? "" : "\\" + Shown) +
                       "]\r\n";
    for (const std::string& Name : *Names) {
        TStatusOr<TRegValue> Value = Key.ReadValue(Name);
        if (!Value.Ok())
            return Value.Status();
        TStatusOr<std::string> Line = ValueLine(Name, Value->Type, Value->Data);
        if (!Line.Ok())
            return Line.Status();
        Text += *Line;
    }
    Text += "\r\n";

    std::optional<std::u16string> Wide = Utf8ToUtf16(Text);
    if (!Wide)
        return SystemStatus(ErrorNoUnicodeTranslation);
    std::vector<std::uint8_t> Bytes = Utf16LeBytes(*Wide);
    std::string File("\xFF\xFE");
    File.append(Bytes.begin(), Bytes.end());
    return File;
}

std::string PathIn32BitViewOn64BitWindows(const std::string& Path) {
    std::size_t Start = !Path.empty() && Path.front() == '\\' ? 1 : 0;
    constexpr std::string_view Software = "SOFTWARE\\";
    if (Path.size() - Start < Software.size() ||
        UpperCaseText(std::string_view(Path).substr(Start, Software.size())) != Software)
        return Path;
    return Path.substr(0, Start + Software.size()) + "WOW6432Node\\" +
           Path.substr(Start + Software.size());
}

bool SaveRegistryExportFile(const std::string& Path, std::string_view File) {
    try {
        std::ofstream Out(Utf8Path(Path), std::ios::binary | std::ios::trunc);
        Out.write(File.data(), static_cast<std::streamsize>(File.size()));
        Out.close();
        return !Out.fail();
    } catch (const std::system_error&) {
        return false; // text that is not UTF-8 names no file on Windows
    }
}

} // namespace q7n::platform
