#pragma once

#include <optional>
#include <string>

// Sets an environment variable (a null value unsets it) for the guard's lifetime and
// puts the old value back.
class TEnvironmentOverride {
public:
    TEnvironmentOverride(const char* name, const char* value);
    ~TEnvironmentOverride();
    TEnvironmentOverride(const TEnvironmentOverride&) = delete;
    TEnvironmentOverride& operator=(const TEnvironmentOverride&) = delete;

private:
    static void Put(const char* name, const char* value);

    const char* FName;
    std::optional<std::string> FOld;
};
