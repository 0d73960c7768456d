#include "components/settings/IniGT.h"

#include "platform/base/AsciiCase.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Exception.h"
#include "platform/base/InstalledData.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/base/ProfileFile.h"
#include "platform/base/ProfileText.h"
#include "platform/base/Strings.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "platform/base/XdgFolders.h"
#include "platform/raster/Font.h"
#include "platform/raster/ScreenResolution.h"

#include <algorithm>
#include <cstddef>

namespace {

// The profile functions get a buffer of this many characters, so a value arrives
// cut to one less.
constexpr int ReadBufferSize = 1024;

constexpr char16_t DoubleQuote = u'"';
// The half-width corner brackets, bytes A2 and A3 of the file's CP932 text.
constexpr char16_t LeftBracket = u'\uFF62';
constexpr char16_t RightBracket = u'\uFF63';

// The index of the last folder separator in path, or -1. Besides the Windows
// separators "\" and ":", "/" separates folders on Linux.
std::ptrdiff_t LastSeparator(std::u16string_view path)
{
    const std::size_t found = path.find_last_of(u"\\:/");
    return found == std::u16string_view::npos ? -1 : static_cast<std::ptrdiff_t>(found);
}

constexpr std::u16string_view CompanionSuffix = u".Unicode";
constexpr char16_t Substitute = u'?';
// Printable ASCII that the companion keeps as it is, besides letters, digits and
// "-._~"; "%", quotes and blanks are always escaped, so the value has no outer
// blanks or quotes for a read to strip.
constexpr std::string_view CompanionPlain = "!#$&()*+,/:;<=>?@[\\]^`{|}";

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// The character (one or two UTF-16 units) that starts at index.
std::size_t CharacterLength(std::u16string_view text, std::size_t index)
{
    return IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]) ? 2 : 1;
}

// Each character the file cannot hold becomes one "?".
std::u16string Substituted(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        const std::size_t length = CharacterLength(text, index);
        const std::u16string_view character = text.substr(index, length);
        if (ProfileHolds(character))
            result += character;
        else
            result += Substitute;
        index += length;
    }
    return result;
}

bool KeptInCompanion(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-'
        || byte == '.' || byte == '_' || byte == '~' || CompanionPlain.find(static_cast<char>(byte)) != std::string_view::npos;
}

// The text's UTF-8 with every byte the companion does not keep as "%" and two
// upper-case hexadecimal digits.
std::u16string Escaped(std::u16string_view text)
{
    std::u16string result;
    for (const char byte : TextToUtf8(text)) {
        const auto value = static_cast<unsigned char>(byte);
        if (KeptInCompanion(value))
            result += static_cast<char16_t>(value);
        else
            result += u'%' + HexDigits(value, 2);
    }
    return result;
}

// Whether the bytes are well-formed UTF-8: no stray or missing continuation byte, no
// overlong form, no surrogate and nothing beyond U+10FFFF.
bool IsUtf8(std::string_view bytes)
{
    for (std::size_t index = 0; index < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[index]);
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else
            return false;
        if (index + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[index + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        index += length;
    }
    return true;
}

// Strict: anything but the escaped form of UTF-8 text is no companion at all.
std::optional<std::u16string> Unescaped(std::u16string_view value)
{
    std::string bytes;
    bytes.reserve(value.size());
    for (std::size_t index = 0; index < value.size(); ++index) {
        const char16_t ch = value[index];
        if (ch <= u' ' || ch >= 0x7F)
            return std::nullopt;
        if (ch != u'%') {
            bytes += static_cast<char>(ch);
            continue;
        }
        if (index + 2 >= value.size())
            return std::nullopt;
        const int high = DigitValue(value[index + 1], 16);
        const int low = DigitValue(value[index + 2], 16);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        index += 2;
    }
    if (!IsUtf8(bytes))
        return std::nullopt;
    // A value may itself start with U+FEFF, which the UTF-8 reader takes for a byte
    // order mark and drops: here it is text.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    const bool leadingMark = bytes.starts_with(ByteOrderMark);
    return (leadingMark ? std::u16string(1, u'\uFEFF') : std::u16string()) + Utf8ToText(bytes);
}

// The start of text whose replaced form a read into the buffer delivers whole.
std::u16string CutLikeSubstitute(std::u16string_view text, int bufferSize)
{
    const std::size_t kept = CutToProfileBuffer(Substituted(text), bufferSize).size();
    std::size_t index = 0;
    for (std::size_t character = 0; character < kept && index < text.size(); ++character)
        index += CharacterLength(text, index);
    return std::u16string(text.substr(0, index));
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
    std::string Original;
    // The reason the file could not be read, 0 when it could.
    int ReadError = 0;
};

TIniGT::TIniGT(const std::filesystem::path& programFile) : FProgramFile(programFile.u16string()) {}

TIniGT::~TIniGT() = default;

std::filesystem::path TIniGT::ConfigurationFolder()
{
    return XdgFolder(xfConfig);
}

std::u16string TIniGT::ProgramFile() const
{
    return FProgramFile.empty() ? RunningProgramFile().u16string() : FProgramFile;
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
        const std::u16string program = ProgramFile();
        FFullPath = program.substr(0, LastSeparator(program) + 1) + FFileName;
        break;
    }
    case ddWindows:
        FFullPath = ConfigurationFolder().u16string() + u'/' + FFileName;
        break;
    case ddNone:
        FFullPath = FFileName;
        break;
    }
}

void TIniGT::SetFileName(std::u16string_view value)
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

void TIniGT::SetFence(TIniGTFence value)
{
    if (value != FFence) {
        if (Designing() && FFence == fnVer11Mode && OnDesignWarning)
            OnDesignWarning(TrText("警告"), TrText("fnVer11Mode以外の値にすると、TIniGTのVer1.0とVer1.1で"
                                                   "書き込んだﾌｧｲﾙを正しく読めない事があります。"));
        FFence = value;
    }
    FFenceUnset = false;
}

void TIniGT::Loaded()
{
    if (FFileName.empty() && !Designing())
        SetFileName(DefaultFileName(ProgramFile()));
    // A designer gives a new store fnVer11Mode; the field is set directly so that
    // no warning is shown and FenceUnset stays true.
    if (Designing() && FFenceUnset)
        FFence = fnVer11Mode;
}

std::u16string TIniGT::DefaultFileName(const std::filesystem::path& programFile)
{
    const std::u16string program = programFile.u16string();
    std::u16string name = program.substr(LastSeparator(program) + 1);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos)
        name.resize(dot);
    name += u".INI";
    for (char16_t& ch : name)
        ch = AsciiLower(ch);
    if (!name.empty())
        name[0] = AsciiUpper(name[0]);
    return name;
}

std::u16string TIniGT::SubKey(std::u16string_view prefix, std::u16string_view part)
{
    std::u16string key(prefix);
    key += u'.';
    key += part;
    return key;
}

[[noreturn]] void TIniGT::RaiseWriteError(int error) const
{
    RaiseWriteError(SystemErrorText(error));
}

[[noreturn]] void TIniGT::RaiseWriteError(std::u16string_view reason) const
{
    throw EIniFileError(Format(TrText("%1 に書き込めません (%2)"), {FFullPath, reason}));
}

void TIniGT::BeginUpdate()
{
    if (FUpdateDepth++ > 0)
        return;
    int error = 0;
    const std::optional<std::string> bytes = ReadProfileFile(FFullPath, &error);
    const std::string read = bytes.value_or(std::string());
    FPending = std::make_unique<TPending>(TPending{TProfileText(read), read, bytes ? 0 : error});
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
    const std::string bytes = pending->Text.Bytes();
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
    return std::make_unique<TProfileText>(ReadProfileFile(FFullPath).value_or(std::string()));
}

void TIniGT::HoldText(std::shared_ptr<const TProfileText> text)
{
    FHeld = std::move(text);
}

template <typename TChange>
void TIniGT::Change(TChange change, std::u16string_view reason)
{
    if (FHeld)
        RaiseWriteError(u"held in memory");
    TUpdate update(*this);
    if (!change(FPending->Text))
        RaiseWriteError(reason);
    update.Commit();
}

std::optional<std::u16string> TIniGT::ReadStored(std::u16string_view section, std::u16string_view key) const
{
    std::unique_ptr<TProfileText> loaded;
    const TProfileText& text = FHeld ? *FHeld : FPending ? FPending->Text : *(loaded = LoadText());
    const std::optional<std::u16string> stored = text.Value(section, key);
    if (!stored)
        return std::nullopt;
    std::u16string plain = text.Read(section, key, u"", ReadBufferSize);
    if (stored->find(Substitute) == std::u16string::npos)
        return plain;
    const std::optional<std::u16string> companion = text.Value(section, std::u16string(key) + std::u16string(CompanionSuffix));
    const std::optional<std::u16string> exact = companion ? Unescaped(*companion) : std::nullopt;
    if (!exact || StoredProfileValue(Substituted(*exact)) != *stored)
        return plain;
    return CutLikeSubstitute(*exact, ReadBufferSize);
}

std::u16string TIniGT::ReadRawString(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view defaultValue) const
{
    if (std::optional<std::u16string> value = ReadStored(section, key))
        return *value;
    // A missing key gives the default as the profile functions do.
    return TProfileText().Read(section, key, defaultValue, ReadBufferSize);
}

std::u16string TIniGT::FirstUnstorableCharacter(std::u16string_view text)
{
    if (ProfileHolds(text))
        return {};
    for (std::size_t index = 0; index < text.size();) {
        const std::size_t length = CharacterLength(text, index);
        if (!ProfileHolds(text.substr(index, length)))
            return std::u16string(text.substr(index, length));
        index += length;
    }
    return {};
}

void TIniGT::WriteRawString(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    for (const std::u16string_view name : {section, key}) {
        const std::u16string character = FirstUnstorableCharacter(name);
        if (character.empty())
            continue;
        if (character == u"\r" || character == u"\n" || character == std::u16string(1, u'\0'))
            RaiseWriteError(Format(TrText("「%1」には1行に保存できない改行かNUL文字があります"), {name}));
        RaiseWriteError(Format(TrText("「%1」にはシフトJISで保存できない文字があります"), {name}));
    }
    const std::u16string companion = std::u16string(key) + std::u16string(CompanionSuffix);
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
        Format(TrText("「%1」の「%2」は名前として読み戻せません"), {section, key}));
}

void TIniGT::EraseSection(std::u16string_view section)
{
    Change(
        [&](TProfileText& text) {
            text.EraseSection(section);
            return true;
        },
        {});
}

void TIniGT::DeleteKey(std::u16string_view section, std::u16string_view key)
{
    // A file without the key is not written again.
    if (!ReadStored(section, key))
        return;
    Change(
        [&](TProfileText& text) {
            text.DeleteKey(section, key);
            text.DeleteKey(section, std::u16string(key) + std::u16string(CompanionSuffix));
            return true;
        },
        {});
}

std::u16string TIniGT::Enclose(std::u16string_view value, TIniGTFence fence)
{
    switch (fence) {
    case fnDoubleQuote:
        return DoubleQuote + std::u16string(value) + DoubleQuote;
    case fnParenthesis:
    case fnVer11Mode:
        return LeftBracket + std::u16string(value) + RightBracket;
    case fnNone:
        break;
    }
    return std::u16string(value);
}

std::u16string TIniGT::Unenclose(std::u16string_view text, TIniGTFence fence)
{
    if (text.size() < 2)
        return std::u16string(text);
    const bool quotes = fence == fnDoubleQuote || fence == fnVer11Mode;
    const bool brackets = fence == fnParenthesis || fence == fnVer11Mode;
    if ((quotes && text.front() == DoubleQuote && text.back() == DoubleQuote)
        || (brackets && text.front() == LeftBracket && text.back() == RightBracket))
        return std::u16string(text.substr(1, text.size() - 2));
    return std::u16string(text);
}

// A missing key gives the default back exactly, in every mode.
std::u16string TIniGT::ReadString(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue) const
{
    const std::optional<std::u16string> value = ReadStored(section, key);
    return value ? Unenclose(*value, FFence) : std::u16string(defaultValue);
}

void TIniGT::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    WriteRawString(section, key, Enclose(value, FFence));
}

// "0x" and "0X" mean hexadecimal only before at least one more character; "0x"
// alone stays as it is and does not convert.
std::int32_t TIniGT::ReadInteger(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const
{
    std::u16string text = ReadRawString(section, key, u"");
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = u'$' + text.substr(2);
    return StrToIntDef(text, defaultValue);
}

void TIniGT::WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value)
{
    WriteRawString(section, key, IntText(value));
}

// Characters 3 to 10 are taken whatever the first two are; anything after the
// tenth is ignored. A value that does not convert raises EConvertError.
std::int32_t TIniGT::ReadHex(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const
{
    const std::u16string text = ReadRawString(section, key, HexText(static_cast<std::uint32_t>(defaultValue)));
    return StrToInt(u'$' + (text.size() > 2 ? text.substr(2, 8) : std::u16string()));
}

void TIniGT::WriteHex(std::u16string_view section, std::u16string_view key, std::int32_t value)
{
    WriteRawString(section, key, HexText(static_cast<std::uint32_t>(value)));
}

TColor TIniGT::ReadColor(std::u16string_view section, std::u16string_view key, TColor defaultValue) const
{
    return static_cast<TColor>(ReadHex(section, key, static_cast<std::int32_t>(defaultValue)));
}

void TIniGT::WriteColor(std::u16string_view section, std::u16string_view key, TColor value)
{
    WriteHex(section, key, static_cast<std::int32_t>(value));
}

// Entries of an earlier, longer list above the new count stay in the file.
void TIniGT::WriteStrings(std::u16string_view section, std::u16string_view prefix, const TStrings& list)
{
    TUpdate update(*this);
    const int count = list.Count();
    WriteInteger(section, SubKey(prefix, u"Count"), count);
    for (int index = 0; index < count; ++index)
        WriteString(section, SubKey(prefix, IntText(index)), list.Get(index));
    update.Commit();
}

// A missing entry defaults to the list's entry at the same index, or to the empty
// string beyond its end; a count of 0 or below empties the list.
void TIniGT::ReadStrings(std::u16string_view section, std::u16string_view prefix, TStrings& list) const
{
    const int count = ReadInteger(section, SubKey(prefix, u"Count"), list.Count());
    TStringList entries;
    for (int index = 0; index < count; ++index) {
        const std::u16string defaultValue = index < list.Count() ? list.Get(index) : std::u16string();
        entries.Add(ReadString(section, SubKey(prefix, IntText(index)), defaultValue));
    }
    list.Assign(entries);
}

// The name is written bare whatever Fence says; ReadFont strips either fence.
void TIniGT::WriteFont(std::u16string_view section, std::u16string_view prefix, const TFont& font)
{
    TUpdate update(*this);
    WriteRawString(section, SubKey(prefix, u"Name"), font.Name());
    WriteInteger(section, SubKey(prefix, u"Size"), font.Size());
    WriteInteger(section, SubKey(prefix, u"Style"), static_cast<std::int32_t>(font.Style()));
    WriteColor(section, SubKey(prefix, u"Color"), font.Color());
    update.Commit();
}

// The values are gathered in a fresh font, which carries the default character set
// and pitch, and copied into the target only once all have been read: a malformed
// colour raises before the target is touched.
void TIniGT::ReadFont(std::u16string_view section, std::u16string_view prefix, TFont& font, int maxHeight)
{
    TFont fresh;
    {
        const TFenceOverride fence(FFence, fnVer11Mode);
        fresh.SetName(ReadString(section, SubKey(prefix, u"Name"), font.Name()));
    }
    std::int32_t points = ReadInteger(section, SubKey(prefix, u"Size"), font.Size());
    if (maxHeight > 0) {
        const std::int32_t maxPoints = MulDiv(maxHeight, 72, PixelsPerInch);
        points = std::clamp(points, -maxPoints, maxPoints);
    }
    fresh.SetSize(points);
    const std::int32_t style = ReadInteger(section, SubKey(prefix, u"Style"), static_cast<std::int32_t>(font.Style()));
    fresh.SetStyle(static_cast<TFontStyles>(style) & 0xFFu);
    fresh.SetColor(ReadColor(section, SubKey(prefix, u"Color"), font.Color()));
    font.Assign(fresh);
}
