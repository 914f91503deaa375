#pragma once
// Sets environment variables for the lifetime of the object and restores the
// values (or the absence) they had before.

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orlo::test {

class TEnvironmentScope {
public:
    // A nullptr value unsets the variable.
    using TSetting = std::pair<const char*, const char*>;

    explicit TEnvironmentScope(std::initializer_list<TSetting> Settings) {
        for (const auto& [Name, Value] : Settings) {
            const char* Old = std::getenv(Name);
            FSaved.push_back({Name, Old ? std::optional<std::string>(Old) : std::nullopt});
            Apply(Name, Value);
        }
    }
    ~TEnvironmentScope() {
        for (auto Saved = FSaved.rbegin(); Saved != FSaved.rend(); ++Saved)
            Apply(Saved->Name.c_str(), Saved->Value ? Saved->Value->c_str() : nullptr);
    }
    TEnvironmentScope(const TEnvironmentScope&) = delete;
    TEnvironmentScope& operator=(const TEnvironmentScope&) = delete;

private:
    struct TSaved {
        std::string Name;
        std::optional<std::string> Value;
    };

    static void Apply(const char* Name, const char* Value) {
        if (Value)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }

    std::vector<TSaved> FSaved;
};

} // namespace orlo::test
