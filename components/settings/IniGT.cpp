#include "components/settings/IniGT.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/Exception.h"
#include "platform/raster/Font.h"
#include "platform/base/InstalledData.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/base/AsciiCase.h"
#include "platform/base/ProfileFile.h"
#include "platform/base/ProfileText.h"
#include "platform/base/ShiftJis.h"
#include "platform/base/Strings.h"
#include "platform/base/Tr.h"
#include "platform/base/XdgFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace {

// The profile functions get a buffer of this many characters, so a value arrives
// cut to one less.
constexpr int ReadBufferSize = 1024;

const QChar DoubleQuote(u'"');
// The half-width corner brackets, bytes A2 and A3 of the file's CP932 text.
const QChar LeftBracket(u'\uFF62');
const QChar RightBracket(u'\uFF63');

// The index of the last folder separator in path, or -1. Besides the Windows
// separators "\" and ":", "/" separates folders on Linux.
qsizetype LastSeparator(const QString& path)
{
    return std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u':'), path.lastIndexOf(u'/')});
}

const QString CompanionSuffix = QStringLiteral(".Unicode");
const QChar Substitute(u'?');
// Printable ASCII that the companion keeps as it is, besides letters, digits and
// "-._~"; "%", quotes and blanks are always escaped, so the value has no outer
// blanks or quotes for a read to strip.
const QByteArray CompanionPlain("!#$&()*+,/:;<=>?@[\\]^`{|}");

// The character (one or two UTF-16 units) that starts at index.
qsizetype CharacterLength(const QString& text, qsizetype index)
{
    return text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate() ? 2 : 1;
}

// Each character the file cannot hold becomes one "?".
QString Substituted(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype index = 0; index < text.size();) {
        const qsizetype length = CharacterLength(text, index);
        const QStringView character = QStringView(text).mid(index, length);
        if (ProfileHolds(character))
            result += character;
        else
            result += Substitute;
        index += length;
    }
    return result;
}

QString Escaped(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(CompanionPlain));
}

bool IsHexDigit(QChar ch)
{
    return DigitValue(ch, 16) >= 0;
}

// Strict: anything but the escaped form of UTF-8 text is no companion at all.
std::optional<QString> Unescaped(const QString& value)
{
    QByteArray bytes;
    bytes.reserve(value.size());
    for (qsizetype index = 0; index < value.size(); ++index) {
        const char16_t ch = value[index].unicode();
        if (ch <= u' ' || ch >= 0x7F)
            return std::nullopt;
        if (ch != u'%') {
            bytes += char(ch);
            continue;
        }
        if (index + 2 >= value.size() || !IsHexDigit(value[index + 1]) || !IsHexDigit(value[index + 2]))
            return std::nullopt;
        bytes += char(value.mid(index + 1, 2).toInt(nullptr, 16));
        index += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The start of text whose replaced form a read into the buffer delivers whole.
QString CutLikeSubstitute(const QString& text, int bufferSize)
{
    const qsizetype kept = CutToProfileBuffer(Substituted(text), bufferSize).size();
    qsizetype index = 0;
    for (qsizetype character = 0; character < kept && index < text.size(); ++character)
        index += CharacterLength(text, index);
    return text.left(index);
}

// Sets a fence for the lifetime of the guard and puts the old one back on every
// way out. It sets the field, not the property, so FenceUnset stays as it was.
class TFenceOverride {
public:
    TFenceOverride(TIniGTFence& field, TIniGTFence value) : FField(field), FSaved(field) { FField = value; }
    ~TFenceOverride() { FField = FSaved; }
    TFenceOverride(const TFenceOverride&) = delete;
    TFenceOverride& operator=(const TFenceOverride&) = delete;

private:
    TIniGTFence& FField;
    TIniGTFence FSaved;
};

} // namespace

struct TIniGT::TPending {
    TProfileText Text;
    QByteArray Original;
    // The reason the file could not be read, 0 when it could.
    int ReadError = 0;
};

TIniGT::TIniGT(QObject* owner, const QString& programFile)
    : QObject(owner), FProgramFile(programFile)
{
}

QString TIniGT::ConfigurationFolder()
{
    return XdgFolder(xfConfig);
}

TIniGT::~TIniGT() = default;

QString TIniGT::ProgramFile() const
{
    return FProgramFile.isEmpty() ? RunningProgramFile() : FProgramFile;
}

// A name with a folder part is used as it is; otherwise DefaultDir places it.
void TIniGT::Resolve()
{
    if (LastSeparator(FFileName) >= 0) {
        FFullPath = FFileName;
        return;
    }
    switch (FDefaultDir) {
    case ddApplication: {
        const QString program = ProgramFile();
        FFullPath = program.left(LastSeparator(program) + 1) + FFileName;
        break;
    }
    case ddWindows:
        FFullPath = ConfigurationFolder() + u'/' + FFileName;
        break;
    case ddNone:
        FFullPath = FFileName;
        break;
    }
}

void TIniGT::SetFileName(const QString& value)
{
    FFileName = value;
    Resolve();
}

// Resolves again even when the value is unchanged or FileName is empty.
void TIniGT::SetDefaultDir(TIniGTDefaultDir value)
{
    FDefaultDir = value;
    Resolve();
}

void TIniGT::SetDefaultDirProperty(int value)
{
    if (value >= ddApplication && value <= ddNone)
        SetDefaultDir(static_cast<TIniGTDefaultDir>(value));
}

void TIniGT::SetFence(TIniGTFence value)
{
    if (value != FFence) {
        if (Designing() && FFence == fnVer11Mode)
            emit DesignWarning(Tr("警告"),
                               Tr("fnVer11Mode以外の値にすると、TIniGTのVer1.0とVer1.1で"
                                  "書き込んだﾌｧｲﾙを正しく読めない事があります。"));
        FFence = value;
    }
    FFenceUnset = false;
}

void TIniGT::SetFenceProperty(int value)
{
    if (value >= fnDoubleQuote && value <= fnNone)
        SetFence(static_cast<TIniGTFence>(value));
}

void TIniGT::Loaded()
{
    if (FFileName.isEmpty() && !Designing())
        SetFileName(DefaultFileName(ProgramFile()));
    // A designer gives a new store fnVer11Mode; the field is set directly so that
    // no warning is shown and FenceUnset stays true.
    if (Designing() && FFenceUnset)
        FFence = fnVer11Mode;
}

QString TIniGT::DefaultFileName(const QString& programFile)
{
    QString name = programFile.mid(LastSeparator(programFile) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    name += QStringLiteral(".INI");
    for (QChar& ch : name)
        ch = QChar(AsciiLower(ch.unicode()));
    if (!name.isEmpty())
        name[0] = QChar(AsciiUpper(name[0].unicode()));
    return name;
}

[[noreturn]] void TIniGT::RaiseWriteError(int error) const
{
    RaiseWriteError(SystemErrorText(error));
}

[[noreturn]] void TIniGT::RaiseWriteError(const QString& reason) const
{
    throw EIniFileError(Tr("%1 に書き込めません (%2)").arg(FFullPath, reason));
}

void TIniGT::BeginUpdate()
{
    if (FUpdateDepth++ > 0)
        return;
    int error = 0;
    const std::optional<QByteArray> bytes = ReadProfileFile(FFullPath, &error);
    FPending = std::make_unique<TPending>(TPending{TProfileText(bytes.value_or(QByteArray())), bytes.value_or(QByteArray()),
                                                   bytes ? 0 : error});
}

void TIniGT::CancelUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0)
        FPending.reset();
}

int TIniGT::UpdateReadError() const
{
    return FPending ? FPending->ReadError : 0;
}

// Nothing changed needs no write, and leaves a file that could not be read alone.
void TIniGT::EndUpdate()
{
    if (FUpdateDepth == 0 || --FUpdateDepth > 0)
        return;
    const std::unique_ptr<TPending> pending = std::move(FPending);
    const QByteArray bytes = pending->Text.Bytes();
    if (bytes == pending->Original)
        return;
    if (pending->ReadError != 0)
        RaiseWriteError(pending->ReadError);
    int error = 0;
    if (WriteFileAtomically(FFullPath, bytes, fsNow, &error) != fwOk)
        RaiseWriteError(error);
}

std::unique_ptr<TProfileText> TIniGT::LoadText() const
{
    return std::make_unique<TProfileText>(ReadProfileFile(FFullPath).value_or(QByteArray()));
}

void TIniGT::HoldText(std::shared_ptr<const TProfileText> text)
{
    FHeld = std::move(text);
}

template <typename TChange>
void TIniGT::Change(TChange change, const QString& reason)
{
    if (FHeld)
        RaiseWriteError(QStringLiteral("held in memory"));
    TUpdate update(*this);
    if (!change(FPending->Text))
        RaiseWriteError(reason);
    update.Commit();
}

std::optional<QString> TIniGT::ReadStored(const QString& section, const QString& key) const
{
    std::unique_ptr<TProfileText> loaded;
    const TProfileText& text = FHeld ? *FHeld : FPending ? FPending->Text : *(loaded = LoadText());
    const std::optional<QString> stored = text.Value(section, key);
    if (!stored)
        return std::nullopt;
    const QString plain = text.Read(section, key, QString(), ReadBufferSize);
    if (!stored->contains(Substitute))
        return plain;
    const std::optional<QString> companion = text.Value(section, key + CompanionSuffix);
    const std::optional<QString> exact = companion ? Unescaped(*companion) : std::nullopt;
    if (!exact || StoredProfileValue(Substituted(*exact)) != *stored)
        return plain;
    return CutLikeSubstitute(*exact, ReadBufferSize);
}

QString TIniGT::ReadRawString(const QString& section, const QString& key, const QString& defaultValue) const
{
    if (std::optional<QString> value = ReadStored(section, key))
        return *value;
    // A missing key gives the default as the profile functions do.
    return TProfileText().Read(section, key, defaultValue, ReadBufferSize);
}

QString TIniGT::FirstUnstorableCharacter(const QString& text)
{
    if (ProfileHolds(text))
        return QString();
    for (qsizetype index = 0; index < text.size();) {
        const qsizetype length = CharacterLength(text, index);
        if (!ProfileHolds(QStringView(text).mid(index, length)))
            return text.mid(index, length);
        index += length;
    }
    return QString();
}

void TIniGT::WriteRawString(const QString& section, const QString& key, const QString& value)
{
    for (const QString* name : {&section, &key}) {
        const QString character = FirstUnstorableCharacter(*name);
        if (character.isEmpty())
            continue;
        if (character == u"\r" || character == u"\n" || character == QChar(0))
            RaiseWriteError(Tr("「%1」には1行に保存できない改行かNUL文字があります").arg(*name));
        RaiseWriteError(Tr("「%1」にはシフトJISで保存できない文字があります").arg(*name));
    }
    const QString companion = key + CompanionSuffix;
    Change(
        [&](TProfileText& text) {
            if (ProfileHolds(value)) {
                if (!text.Write(section, key, value))
                    return false;
                text.DeleteKey(section, companion);
                return true;
            }
            return text.Write(section, key, Substituted(value)) && text.Write(section, companion, Escaped(value));
        },
        Tr("「%1」の「%2」は名前として読み戻せません").arg(section, key));
}

void TIniGT::EraseSection(const QString& section)
{
    Change(
        [&](TProfileText& text) {
            text.EraseSection(section);
            return true;
        },
        QString());
}

void TIniGT::DeleteKey(const QString& section, const QString& key)
{
    // A file without the key is not written again.
    if (!ReadStored(section, key))
        return;
    Change(
        [&](TProfileText& text) {
            text.DeleteKey(section, key);
            text.DeleteKey(section, key + CompanionSuffix);
            return true;
        },
        QString());
}

QString TIniGT::Enclose(const QString& value, TIniGTFence fence)
{
    switch (fence) {
    case fnDoubleQuote:
        return DoubleQuote + value + DoubleQuote;
    case fnParenthesis:
    case fnVer11Mode:
        return LeftBracket + value + RightBracket;
    case fnNone:
        break;
    }
    return value;
}

QString TIniGT::Unenclose(const QString& text, TIniGTFence fence)
{
    if (text.size() < 2)
        return text;
    const bool quotes = fence == fnDoubleQuote || fence == fnVer11Mode;
    const bool brackets = fence == fnParenthesis || fence == fnVer11Mode;
    if ((quotes && text.front() == DoubleQuote && text.back() == DoubleQuote)
        || (brackets && text.front() == LeftBracket && text.back() == RightBracket))
        return text.mid(1, text.size() - 2);
    return text;
}

// A missing key gives the default back exactly, in every mode.
QString TIniGT::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const std::optional<QString> value = ReadStored(section, key);
    return value ? Unenclose(*value, FFence) : defaultValue;
}

void TIniGT::WriteString(const QString& section, const QString& key, const QString& value)
{
    WriteRawString(section, key, Enclose(value, FFence));
}

// "0x" and "0X" mean hexadecimal only before at least one more character; "0x"
// alone stays as it is and does not convert.
std::int32_t TIniGT::ReadInteger(const QString& section, const QString& key, std::int32_t defaultValue) const
{
    QString text = ReadRawString(section, key, QString());
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = u'$' + text.mid(2);
    return StrToIntDef(text, defaultValue);
}

void TIniGT::WriteInteger(const QString& section, const QString& key, std::int32_t value)
{
    WriteRawString(section, key, QString::number(value));
}

// Characters 3 to 10 are taken whatever the first two are; anything after the
// tenth is ignored. A value that does not convert raises EConvertError.
std::int32_t TIniGT::ReadHex(const QString& section, const QString& key, std::int32_t defaultValue) const
{
    const QString text = ReadRawString(section, key, HexText(static_cast<std::uint32_t>(defaultValue)));
    return StrToInt(u'$' + text.mid(2, 8));
}

void TIniGT::WriteHex(const QString& section, const QString& key, std::int32_t value)
{
    WriteRawString(section, key, HexText(static_cast<std::uint32_t>(value)));
}

TColor TIniGT::ReadColor(const QString& section, const QString& key, TColor defaultValue) const
{
    return static_cast<TColor>(ReadHex(section, key, static_cast<std::int32_t>(defaultValue)));
}

void TIniGT::WriteColor(const QString& section, const QString& key, TColor value)
{
    WriteHex(section, key, static_cast<std::int32_t>(value));
}

// Entries of an earlier, longer list above the new count stay in the file.
void TIniGT::WriteStrings(const QString& section, const QString& prefix, const TStrings& list)
{
    TUpdate update(*this);
    const int count = list.Count();
    WriteInteger(section, prefix + QStringLiteral(".Count"), count);
    for (int index = 0; index < count; ++index)
        WriteString(section, prefix + u'.' + QString::number(index), list.Get(index));
    update.Commit();
}

// A missing entry defaults to the list's entry at the same index, or to the empty
// string beyond its end; a count of 0 or below empties the list.
void TIniGT::ReadStrings(const QString& section, const QString& prefix, TStrings& list) const
{
    const int count = ReadInteger(section, prefix + QStringLiteral(".Count"), list.Count());
    TStringList entries;
    for (int index = 0; index < count; ++index) {
        const QString defaultValue = index < list.Count() ? list.Get(index) : QString();
        entries.Add(ReadString(section, prefix + u'.' + QString::number(index), defaultValue));
    }
    list.Assign(entries);
}

// The name is written bare whatever Fence says; ReadFont strips either fence.
void TIniGT::WriteFont(const QString& section, const QString& prefix, const TFont& font)
{
    TUpdate update(*this);
    WriteRawString(section, prefix + QStringLiteral(".Name"), font.Name());
    WriteInteger(section, prefix + QStringLiteral(".Size"), font.Size());
    WriteInteger(section, prefix + QStringLiteral(".Style"), static_cast<std::int32_t>(font.Style()));
    WriteColor(section, prefix + QStringLiteral(".Color"), font.Color());
    update.Commit();
}

// The values are gathered in a fresh font, which carries the default character set
// and pitch, and copied into the target only once all have been read: a malformed
// colour raises before the target is touched.
void TIniGT::ReadFont(const QString& section, const QString& prefix, TFont& font, int maxHeight)
{
    TFont fresh;
    {
        const TFenceOverride fence(FFence, fnVer11Mode);
        fresh.SetName(ReadString(section, prefix + QStringLiteral(".Name"), font.Name()));
    }
    std::int32_t points = ReadInteger(section, prefix + QStringLiteral(".Size"), font.Size());
    if (maxHeight > 0) {
        const std::int32_t maxPoints = MulDiv(maxHeight, 72, PixelsPerInch);
        points = std::clamp(points, -maxPoints, maxPoints);
    }
    fresh.SetSize(points);
    const std::int32_t style =
        ReadInteger(section, prefix + QStringLiteral(".Style"), static_cast<std::int32_t>(font.Style()));
    fresh.SetStyle(static_cast<TFontStyles>(style) & 0xFFu);
    fresh.SetColor(ReadColor(section, prefix + QStringLiteral(".Color"), font.Color()));
    font.Assign(fresh);
}

