#include "EnvironmentOverride.h"

#include <QtGlobal>

TEnvironmentOverride::TEnvironmentOverride(const char* name, const QByteArray& value)
    : FName(name), FOld(qgetenv(name)), FWasSet(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

TEnvironmentOverride::~TEnvironmentOverride()
{
    if (FWasSet)
        qputenv(FName, FOld);
    else
        qunsetenv(FName);
}
