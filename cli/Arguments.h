#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace q7n::cli {

struct TOptionRule {
    const char* Name; // such as "--wait"
    bool TakesValue;
};

// The words of one command after its name: options (given as "--name VALUE" or "--name=VALUE",
// each at most once) and the positional words in between. An option the command does not take
// or a missing value raises ECommandError with ecBadArguments.
class TArguments {
public:
    TArguments(const std::vector<std::string>& Words, const std::vector<TOptionRule>& Options);

    const std::vector<std::string>& Positional() const { return FPositional; }
    bool Has(const std::string& Name) const { return FValues.count(Name) != 0; }
    std::optional<std::string> Value(const std::string& Name) const;
    // The seconds of --wait, from 0 to a day, or Otherwise when it is not given.
    std::int32_t WaitSeconds(std::int32_t Otherwise) const;

private:
    std::vector<std::string> FPositional;
    std::map<std::string, std::string> FValues;
};

} // namespace q7n::cli
