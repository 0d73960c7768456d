#pragma once

#include <QByteArray>

// Sets an environment variable for the guard's lifetime and puts the old value back.
class TEnvironmentOverride {
public:
    TEnvironmentOverride(const char* name, const QByteArray& value);
    ~TEnvironmentOverride();
    TEnvironmentOverride(const TEnvironmentOverride&) = delete;
    TEnvironmentOverride& operator=(const TEnvironmentOverride&) = delete;

private:
    const char* FName;
    QByteArray FOld;
    bool FWasSet;
};
