#include "cli/DesiredPorts.h"

#include "cli/CommandError.h"
#include "cli/JsonReader.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"
#include "ports/Q7NDocument.h"
#include "service/PortsFileMessages.h"

#include <filesystem>
#include <iterator>
#include <limits>

namespace q7n::cli {

namespace {

[[noreturn]] void Refuse(const std::string& Source, const std::string& Why) {
    throw ECommandError(ecBadArguments, (Source == "-" ? std::string("standard input") : Source) +
                                            ": " + Why + "; nothing was changed");
}

std::string ReadSource(const std::string& Source, std::istream& Input) {
    if (Source != "-") {
        try {
            return platform::ReadWholeFile(Source);
        } catch (const std::exception& Error) {
            Refuse(Source, std::string("cannot be read (") + Error.what() + ")");
        }
    }
    std::string Text((std::istreambuf_iterator<char>(Input)), std::istreambuf_iterator<char>());
    if (Input.bad())
        Refuse(Source, "cannot be read");
    return Text;
}

// One whole number of a mapping, within what the record holds.
std::int32_t IntegerField(const std::string& Source, const TJsonValue& Mapping, int Row,
                          const char* Name, std::int64_t Least, std::int64_t Most) {
    const std::string Where = "mapping " + std::to_string(Row) + ": ";
    const TJsonValue* Value = Mapping.Member(Name);
    if (!Value)
        Refuse(Source, Where + "\"" + Name + "\" is missing");
    const std::int64_t* Number = Value->AsInteger();
    if (!Number)
        Refuse(Source, Where + "\"" + Name + "\" is " + Value->KindText() + ", not a number");
    if (*Number < Least || *Number > Most)
        Refuse(Source, Where + "\"" + Name + "\" is " + std::to_string(*Number) + ", not within " +
                           std::to_string(Least) + " to " + std::to_string(Most));
    return std::int32_t(*Number);
}

std::vector<TPortValues> FromJson(const std::string& Source, const std::string& Text) {
    TJsonValue Document;
    try {
        Document = ParseJson(Text);
    } catch (const EJsonError& Error) {
        Refuse(Source, std::string("not JSON: ") + Error.what());
    }
    const TJsonValue* Mappings = Document.Member("mappings");
    if (!Mappings || !Mappings->AsArray())
        Refuse(Source, "a JSON document needs \"mappings\", an array, as 'q7nctl ports list "
                       "--json' prints it");
    std::vector<TPortValues> Values;
    int Row = 0;
    for (const TJsonValue& Mapping : *Mappings->AsArray()) {
        ++Row;
        if (!Mapping.AsObject())
            Refuse(Source, "mapping " + std::to_string(Row) + " is " + Mapping.KindText() +
                               ", not an object");
        const TJsonValue* IP = Mapping.Member("ip");
        if (!IP || !IP->AsString())
            Refuse(Source, "mapping " + std::to_string(Row) + ": \"ip\" is " +
                               (IP ? IP->KindText() : "missing") + (IP ? ", not a string" : ""));
        constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max();
        Values.push_back({*IP->AsString(),
                          IntegerField(Source, Mapping, Row, "remotePort", 0, 65535),
                          IntegerField(Source, Mapping, Row, "localPort", 0, 65535),
                          IntegerField(Source, Mapping, Row, "comPort", 1, 256),
                          IntegerField(Source, Mapping, Row, "rate", 1, Largest)});
    }
    return Values;
}

std::vector<TPortValues> FromXml(const std::string& Source, const std::string& Text) {
    TQ7NDocument Document;
    if (Source == "-") {
        // The port document reads files; standard input goes through a temporary one.
        // In UTF-8, as the platform's files take paths; a narrow string would be ANSI on Windows.
        const std::u8string Target =
            (std::filesystem::temp_directory_path() / "q7nctl-apply.xml").u8string();
        platform::TTemporaryFile File(std::string(Target.begin(), Target.end()));
        File.Write(Text);
        Document.Load(File.Path());
    } else {
        Document.Load(Source);
    }
    const TXMLLoadResult& Load = Document.LastLoad();
    if (Load.Status != lsRead) {
        std::string Why = "is not a ports file";
        if (!Load.Reason.empty())
            Why += ": " + Load.Reason;
        if (std::string Where = LoadLocation(Load, EnglishLocationWords); !Where.empty())
            Why += " (" + Where + ")";
        Refuse(Source, Why);
    }
    std::vector<TPortValues> Values = PortValuesOf(*Document.Options()->Q7NPorts());
    for (std::size_t I = 0; I < Values.size(); ++I)
        for (std::int32_t Port : {Values[I].RemotePort, Values[I].LocalPort})
            if (Port < 0 || Port > 65535)
                Refuse(Source, "mapping " + std::to_string(I + 1) + ": port " +
                                   std::to_string(Port) + " is not within 0 to 65535");
    return Values;
}

} // namespace

std::vector<TPortValues> ReadDesiredPorts(const std::string& Source, std::istream& Input) {
    const std::string Text = ReadSource(Source, Input);
    const std::size_t First = Text.find_first_not_of(" \t\r\n");
    if (First == std::string::npos)
        Refuse(Source, "is empty");
    return Text[First] == '{' ? FromJson(Source, Text) : FromXml(Source, Text);
}

} // namespace q7n::cli
