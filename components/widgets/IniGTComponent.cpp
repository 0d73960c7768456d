#include "components/widgets/IniGTComponent.h"

TIniGTComponent::TIniGTComponent(QObject* owner, const QString& programFile)
    : QObject(owner), TIniGT(programFile.toStdU16String())
{
    OnDesignWarning = [this](const std::u16string& caption, const std::u16string& text) {
        emit DesignWarning(QString::fromStdU16String(caption), QString::fromStdU16String(text));
    };
}

void TIniGTComponent::SetDefaultDirProperty(int value)
{
    if (value >= ddApplication && value <= ddNone)
        SetDefaultDir(static_cast<TIniGTDefaultDir>(value));
}

void TIniGTComponent::SetFenceProperty(int value)
{
    if (value >= fnDoubleQuote && value <= fnNone)
        SetFence(static_cast<TIniGTFence>(value));
}
