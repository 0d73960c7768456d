#include "EnvironmentOverride.h"

#include <cstdlib>

TEnvironmentOverride::TEnvironmentOverride(const char* name, const char* value) : FName(name)
{
    if (const char* old = std::getenv(name))
        FOld = old;
    Put(name, value);
}

TEnvironmentOverride::~TEnvironmentOverride()
{
    Put(FName, FOld ? FOld->c_str() : nullptr);
}

void TEnvironmentOverride::Put(const char* name, const char* value)
{
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}
