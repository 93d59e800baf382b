#include "cli/Arguments.h"

#include "base/IntegerConversion.h"
#include "cli/CommandError.h"

namespace q7n::cli {

TArguments::TArguments(const std::vector<std::string>& Words,
                       const std::vector<TOptionRule>& Options) {
    for (std::size_t I = 0; I < Words.size(); ++I) {
        const std::string& Word = Words[I];
        if (Word.size() < 2 || Word.compare(0, 2, "--") != 0) {
            FPositional.push_back(Word);
            continue;
        }
        std::size_t Equals = Word.find('=');
        std::string Name = Word.substr(0, Equals);
        const TOptionRule* Rule = nullptr;
        for (const TOptionRule& Option : Options)
            if (Name == Option.Name)
                Rule = &Option;
        if (!Rule)
            throw ECommandError(ecBadArguments, "unknown option " + Name + "; see q7nctl --help");
        if (FValues.count(Name))
            throw ECommandError(ecBadArguments, Name + " is given twice; give it once");
        std::string Value;
        if (Equals != std::string::npos) {
            if (!Rule->TakesValue)
                throw ECommandError(ecBadArguments, Name + " takes no value");
            Value = Word.substr(Equals + 1);
        } else if (Rule->TakesValue) {
            if (I + 1 >= Words.size())
                throw ECommandError(ecBadArguments, Name + " needs a value");
            Value = Words[++I];
        }
        FValues[Name] = Value;
    }
}

std::optional<std::string> TArguments::Value(const std::string& Name) const {
    auto Found = FValues.find(Name);
    if (Found == FValues.end())
        return std::nullopt;
    return Found->second;
}

std::int32_t TArguments::WaitSeconds(std::int32_t Otherwise) const {
    constexpr std::int32_t LongestWaitSeconds = 24 * 60 * 60;
    std::optional<std::string> Text = Value("--wait");
    if (!Text)
        return Otherwise;
    std::optional<std::int32_t> Seconds = TryStrToInt(*Text);
    if (!Seconds || *Seconds < 0 || *Seconds > LongestWaitSeconds)
        throw ECommandError(ecBadArguments, "--wait takes a number of seconds from 0 to " +
                                                std::to_string(LongestWaitSeconds) + ", not '" +
                                                *Text + "'");
    return *Seconds;
}

} // namespace q7n::cli
