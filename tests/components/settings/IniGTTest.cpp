#include "components/settings/IniGT.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/Exception.h"
#include "platform/base/ProfileText.h"
#include "platform/base/Strings.h"
#include "platform/base/UnicodeText.h"
#include "platform/raster/Font.h"

#include "EnvironmentOverride.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// Text written as UTF-8 in the test, as the store takes it.
std::u16string T(std::string_view utf8) { return Utf8ToText(utf8); }

const std::u16string Left = u"\uFF62";  // ｢, byte A2 in the file
const std::u16string Right = u"\uFF63"; // ｣, byte A3 in the file

std::u16string Bracketed(const std::u16string& text) { return Left + text + Right; }

// The conversion error's message for a value read as the text shown.
std::u16string NotAnInteger(const std::u16string& shown) { return Format(T("'%1' は整数ではありません"), {shown}); }

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }
bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The file's bytes; nothing for a file that is not there.
std::string BytesOrNothing(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}


// A control as WritePosition and ReadPosition see one, recording its moves.
struct TPoint2 {
    int X = 0;
    int Y = 0;
    int x() const { return X; }
    int y() const { return Y; }
};
struct TMovingControl {
    TPoint2 Position;
    std::vector<std::pair<int, int>> Moves;
    TPoint2 pos() const { return Position; }
    void move(int x, int y)
    {
        Position = {x, y};
        Moves.emplace_back(x, y);
    }
};

// A store as the main window has it: the file is named after a program in the
// temporary folder, strings are written bare.
class IniGTTest : public ::testing::Test {
protected:
    IniGTTest() : FStore(FDir.Path().u16string() + u"/ZORIVODER.EXE")
    {
        FStore.SetDefaultDir(ddApplication);
        FStore.SetFence(fnNone);
        FStore.Loaded();
    }

    std::string FileBytes() const { return BytesOrNothing(FStore.FullPath()); }

    TTestFolder FDir;
    TIniGT FStore;
};

TEST(IniGTFenceTest, EncloseAndUnencloseFollowTheFenceTable)
{
    struct TRow { TIniGTFence Fence; std::u16string Text; std::u16string Read; };
    const std::vector<TRow> rows = {
        {fnNone, u"\"abc\"", u"\"abc\""},
        {fnNone, Bracketed(u"abc"), Bracketed(u"abc")},
        {fnDoubleQuote, u"\"\"", u""},
        {fnDoubleQuote, u"\"abc\"", u"abc"},
        {fnDoubleQuote, u"\"\"x\"\"", u"\"x\""},
        {fnDoubleQuote, Bracketed(u"abc"), Bracketed(u"abc")},
        {fnDoubleQuote, u"\"", u"\""},
        {fnParenthesis, u"\"abc\"", u"\"abc\""},
        {fnParenthesis, Bracketed(u"abc"), u"abc"},
        {fnParenthesis, Bracketed(u""), u""},
        {fnVer11Mode, u"\"abc\"", u"abc"},
        {fnVer11Mode, Bracketed(u"abc"), u"abc"},
        {fnVer11Mode, u"\"", u"\""},
        {fnVer11Mode, Left, Left},
        {fnVer11Mode, Left + u"abc\"", Left + u"abc\""},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "fence " << int(row.Fence) << " text " << TextToUtf8(row.Text));
        EXPECT_EQ(TIniGT::Unenclose(row.Text, row.Fence), row.Read);
    }
    EXPECT_EQ(TIniGT::Enclose(u"", fnDoubleQuote), u"\"\"");
    EXPECT_EQ(TIniGT::Enclose(u"a", fnParenthesis), Bracketed(u"a"));
    EXPECT_EQ(TIniGT::Enclose(u"a", fnVer11Mode), Bracketed(u"a"));
    EXPECT_EQ(TIniGT::Enclose(u"\"a\"", fnNone), u"\"a\"");
}

TEST_F(IniGTTest, StringsReachTheFileEnclosedAndReadBackInEveryMode)
{
    struct TRow { TIniGTFence Fence; std::u16string Value; std::string Line; };
    const std::vector<TRow> rows = {
        {fnNone, u"abc", "K=abc\r\n"},
        {fnNone, Bracketed(u"abc"), "K=\xA2" "abc\xA3\r\n"},
        {fnDoubleQuote, u"", "K=\"\"\r\n"},
        {fnDoubleQuote, u"abc", "K=\"abc\"\r\n"},
        {fnParenthesis, u"abc", "K=\xA2" "abc\xA3\r\n"},
        {fnVer11Mode, u"abc", "K=\xA2" "abc\xA3\r\n"},
        {fnVer11Mode, u"", "K=\xA2\xA3\r\n"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "fence " << int(row.Fence) << " value " << TextToUtf8(row.Value));
        FStore.SetFence(row.Fence);
        FStore.WriteString(u"S", u"K", row.Value);
        EXPECT_TRUE(EndsWith(FileBytes(), row.Line));
        EXPECT_EQ(FStore.ReadString(u"S", u"K", u"default"), row.Value);
    }
}

// A held text stands in for the file: reads see it, not the file, and a write, which
// would have nowhere to go, is refused with the store's write error.
TEST_F(IniGTTest, AHeldTextIsReadInsteadOfTheFileAndRefusesWrites)
{
    FStore.WriteString(std::u16string(u"S"), std::u16string(u"K"), std::u16string(u"file"));
    FStore.HoldText(std::make_shared<const TProfileText>(std::string("[S]\r\nK=held\r\nN=7\r\n")));
    EXPECT_EQ(FStore.ReadString(std::u16string(u"s"), std::u16string(u"k"), std::u16string()), std::u16string(u"held"));
    EXPECT_EQ(FStore.ReadInteger(std::u16string(u"S"), std::u16string(u"N"), 0), 7);
    EXPECT_THROW(FStore.WriteString(std::u16string(u"S"), std::u16string(u"K"), std::u16string(u"new")), EIniFileError);
    FStore.HoldText(nullptr);
    EXPECT_EQ(FStore.ReadString(std::u16string(u"S"), std::u16string(u"K"), std::u16string()), std::u16string(u"file"));
}

TEST_F(IniGTTest, MissingKeysGiveTheDefaultExactlyInEveryMode)
{
    FStore.WriteRawString(u"S", u"Other", u"x");
    for (const TIniGTFence fence : {fnDoubleQuote, fnParenthesis, fnVer11Mode, fnNone}) {
        FStore.SetFence(fence);
        for (const std::u16string& defaultValue : {std::u16string(), std::u16string(u"a"), std::u16string(u"abc"), Bracketed(u"x"), std::u16string(u"ﾛｺﾞ 1"),
                                            std::u16string(u"abc "), std::u16string(u"\"abc\""), std::u16string(u"'a'"), std::u16string(u" a"),
                                            T("Caf\u00e9 \u20ac"), std::u16string(2000, u'x')}) {
            SCOPED_TRACE(testing::Message() << "fence " << int(fence) << " default " << TextToUtf8(defaultValue));
            EXPECT_EQ(FStore.ReadString(u"S", u"Missing", defaultValue), defaultValue);
            EXPECT_EQ(FStore.ReadString(u"NoSection", u"K", defaultValue), defaultValue);
        }
    }
}

TEST_F(IniGTTest, RawReadsDeliverAtMost1023Characters)
{
    FStore.WriteRawString(u"S", u"K", std::u16string(1500, u'a'));
    EXPECT_EQ(FStore.ReadRawString(u"S", u"K", u""), std::u16string(1023, u'a'));
}

TEST(IniGTPathTest, FileNameAndDefaultDirResolveTheFullPath)
{
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "/home/u/cfg/");
    struct TRow { TIniGTDefaultDir Dir; std::u16string Name; std::u16string Path; };
    const std::vector<TRow> rows = {
        {ddApplication, u"x.ini", u"/opt/vz/x.ini"},
        {ddWindows, u"x.ini", u"/home/u/cfg/x.ini"},
        {ddNone, u"x.ini", u"x.ini"},
        {ddApplication, u"", u"/opt/vz/"},
        {ddApplication, u"C:\\data\\x.ini", u"C:\\data\\x.ini"},
        {ddWindows, u"C:x.ini", u"C:x.ini"},
        {ddWindows, u"sub\\x.ini", u"sub\\x.ini"},
        {ddApplication, u"sub/x.ini", u"sub/x.ini"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "dir " << int(row.Dir) << " name " << TextToUtf8(row.Name));
        TIniGT store(u"/opt/vz/ZORIVODER.EXE");
        store.SetDefaultDir(row.Dir);
        store.SetFileName(row.Name);
        EXPECT_EQ(store.FullPath().u16string(), row.Path);
        EXPECT_EQ(store.FileName(), row.Name);
    }
}

TEST(IniGTPathTest, ChangingDefaultDirMovesOnlyBareNames)
{
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "/home/u/cfg");
    TIniGT store(u"/opt/vz/vezodev");
    store.SetFileName(u"sub/x.ini");
    store.SetDefaultDir(ddWindows);
    EXPECT_EQ(store.FullPath().u16string(), u"sub/x.ini");
    store.SetFileName(u"x.ini");
    EXPECT_EQ(store.FullPath().u16string(), u"/home/u/cfg/x.ini");
    store.SetDefaultDir(ddNone);
    EXPECT_EQ(store.FullPath().u16string(), u"x.ini");
    store.SetDefaultDir(ddApplication);
    EXPECT_EQ(store.FullPath().u16string(), u"/opt/vz/x.ini");
}

TEST(IniGTPathTest, WindowsFolderFallsBackToDotConfigInTheHomeFolder)
{
    const TEnvironmentOverride home("HOME", "/home/v");
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "relative/cfg");
    TIniGT store;
    store.SetDefaultDir(ddWindows);
    store.SetFileName(u"x.ini");
    EXPECT_EQ(store.FullPath().u16string(), u"/home/v/.config/x.ini");
}

TEST(IniGTPathTest, DefaultNameComesFromTheProgramFile)
{
    const std::vector<std::pair<std::u16string, std::u16string>> rows = {
        {u"C:\\prog\\ZORIVODER.EXE", u"Zorivoder.ini"},
        {u"/usr/bin/vezodev", u"Vezodev.ini"},
        {u"/a.b/tool", u"Tool.ini"},
        {u"/x/My.App.Bin", u"My.app.ini"},
        {u"/x/1ABC", u"1abc.ini"},
        {u"/x/\u00C4BC.EXE", u"\u00C4bc.ini"},
    };
    for (const auto& [program, name] : rows) {
        SCOPED_TRACE(TextToUtf8(program));
        EXPECT_EQ(TIniGT::DefaultFileName(program), name);
    }
}

TEST(IniGTPathTest, LoadedNamesAnUnnamedStoreAfterTheProgramInItsFolder)
{
    TIniGT unnamed(u"/opt/vz/ZORIVODER.EXE");
    unnamed.Loaded();
    EXPECT_EQ(unnamed.FileName(), u"Zorivoder.ini");
    EXPECT_EQ(unnamed.FullPath().u16string(), u"/opt/vz/Zorivoder.ini");

    TIniGT named(u"/opt/vz/ZORIVODER.EXE");
    named.SetFileName(u"own.ini");
    named.Loaded();
    EXPECT_EQ(named.FullPath().u16string(), u"/opt/vz/own.ini");
    EXPECT_EQ(named.Fence(), fnNone);
}

TEST(IniGTPathTest, WithoutAProgramFileTheRunningProgramNamesTheFile)
{
    // This program is settings_tests: the file takes its name, the first letter in
    // upper case and the rest in lower case.
    TIniGT store;
    store.Loaded();
    EXPECT_EQ(store.FullPath(), std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Settings_tests.ini");
}

TEST(IniGTPathTest, AssigningTheCurrentFenceOnlyClearsFenceUnset)
{
    TIniGT store;
    EXPECT_TRUE(store.FenceUnset());
    store.SetFence(fnNone);
    EXPECT_FALSE(store.FenceUnset());
    EXPECT_EQ(store.Fence(), fnNone);
}

TEST_F(IniGTTest, ReadIntegerAcceptsTheOldIntegerSyntaxAndFallsBackOtherwise)
{
    const std::vector<std::pair<std::u16string, int>> rows = {
        {u"0x1F", 31}, {u"0X1F", 31}, {u"$1F", 31}, {u"$ff", 255}, {u"-7", -7}, {u"+5", 5},
        {u"0xFFFFFFFF", -1}, {u"-2147483648", INT32_MIN},
        {u"0x", 99}, {u"12abc", 99}, {u"", 99}, {u"2147483648", 99}, {u"0x100000000", 99}, {u"1e3", 99},
    };
    for (const auto& [text, value] : rows) {
        SCOPED_TRACE(TextToUtf8(text));
        FStore.WriteRawString(u"S", u"K", text);
        EXPECT_EQ(FStore.ReadInteger(u"S", u"K", 99), value);
    }
    EXPECT_EQ(FStore.ReadInteger(u"S", u"Missing", 99), 99);
    FStore.WriteInteger(u"S", u"K", -7);
    EXPECT_TRUE(Contains(FileBytes(), "K=-7\r\n"));
}

TEST_F(IniGTTest, WriteHexWritesEightUpperCaseDigitsThatReadBack)
{
    const std::vector<std::pair<int, std::string>> rows = {
        {-1, "0xFFFFFFFF"}, {8421504, "0x00808080"}, {31, "0x0000001F"}, {0, "0x00000000"},
        {static_cast<int>(clBtnFace), "0x8000000F"},
    };
    for (const auto& [value, text] : rows) {
        SCOPED_TRACE(text);
        FStore.WriteHex(u"S", u"K", value);
        EXPECT_TRUE(Contains(FileBytes(), "K=" + text + "\r\n"));
        EXPECT_EQ(FStore.ReadHex(u"S", u"K", 5), value);
    }
    FStore.WriteColor(u"S", u"Color", clBtnFace);
    EXPECT_EQ(FStore.ReadColor(u"S", u"Color", clBlack), clBtnFace);
    EXPECT_EQ(FStore.ReadColor(u"S", u"Missing", clBtnShadow), clBtnShadow);
    EXPECT_EQ(FStore.ReadHex(u"S", u"Missing", -1), -1);
}

TEST_F(IniGTTest, ReadHexTakesCharactersThreeToTen)
{
    const std::vector<std::pair<std::u16string, int>> rows = {
        {u"0x1F", 31}, {u"0x123456789", 0x12345678}, {u"##ab", 0xAB}, {u"0x0000001F and more", 31},
    };
    for (const auto& [text, value] : rows) {
        SCOPED_TRACE(TextToUtf8(text));
        FStore.WriteRawString(u"S", u"K", text);
        EXPECT_EQ(FStore.ReadHex(u"S", u"K", 5), value);
    }
}

TEST_F(IniGTTest, MalformedHexValuesRaiseTheConversionError)
{
    const std::vector<std::pair<std::u16string, std::u16string>> rows = {
        {u"", NotAnInteger(u"$")},
        {u"1", NotAnInteger(u"$")},
        {u"0x", NotAnInteger(u"$")},
        {u"0xZZ", NotAnInteger(u"$ZZ")},
        {u"0x12 4", NotAnInteger(u"$12 4")},
    };
    for (const auto& [text, message] : rows) {
        SCOPED_TRACE(TextToUtf8(text));
        FStore.WriteRawString(u"S", u"K", text);
        try {
            FStore.ReadColor(u"S", u"K", clBlack);
            ADD_FAILURE() << "no error raised";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), message);
        }
    }
}

TEST_F(IniGTTest, EraseSectionRemovesItsKeysAndToleratesMissingSections)
{
    FStore.WriteRawString(u"A", u"K", u"1");
    FStore.WriteRawString(u"B", u"K", u"2");
    FStore.EraseSection(u"a");
    FStore.EraseSection(u"Nowhere");
    EXPECT_EQ(FileBytes(), "[B]\r\nK=2\r\n");
}

TEST(IniGTWriteErrorTest, WritesIntoAMissingFolderNameTheFullPathAndTheReason)
{
    const TTestFolder dir;
    TIniGT store(dir.Path().u16string() + u"/missing/vezodev");
    store.Loaded();
    try {
        store.WriteInteger(u"S", u"K", 1);
        ADD_FAILURE() << "no error raised";
    } catch (const EIniFileError& error) {
        EXPECT_EQ(error.Message(), dir.Path().u16string() + T("/missing/Vezodev.ini に書き込めません (") + SystemErrorText(ENOENT) + u")");
    }
}

TEST_F(IniGTTest, NamesTheFileCannotHoldAreRefusedWithTheReasonAndChangeNothing)
{
    FStore.WriteString(u"S", u"K", u"old");
    const std::string before = FileBytes();
    const struct {
        std::u16string Section;
        std::u16string Key;
        const char* Reason;
    } cases[] = {
        {u"S", u"a\r\nb", "には1行に保存できない改行かNUL文字があります)"},
        {u"a\0b"s, u"K", "には1行に保存できない改行かNUL文字があります)"},
        {T("a\xF0\x9F\x98\x80"), u"K", "にはシフトJISで保存できない文字があります)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reason);
        const std::u16string named = c.Key == u"K" ? c.Section : c.Key;
        try {
            FStore.WriteString(c.Section, c.Key, u"value");
            ADD_FAILURE() << "no error raised";
        } catch (const EIniFileError& error) {
            EXPECT_EQ(error.Message(), FStore.FullPath().u16string() + T(" に書き込めません (「") + named + T("」") + T(c.Reason));
        }
        EXPECT_EQ(FileBytes(), before);
    }
}

// Any text comes back exactly, through the companion key where code page 932 cannot
// hold it; the plain key holds the replaced form, so older readers get "?".
TEST_F(IniGTTest, AnyTextRoundTripsInEveryFenceAndCodePageTextAddsNoKey)
{
    const struct {
        const char* Name;
        std::u16string Text;
        std::string Plain; // the plain key's bytes under fnNone
    } cases[] = {
        {"Latin", T("Caf\u00e9 \u20ac \u2713"), "Caf? ? ?"},
        {"Emoji", T("\xF0\x9F\x98\x80"), "?"},
        {"LeadingZeroWidthNoBreakSpace", u"\uFEFF% \U0001F600"s, "?% ?"},
        {"MixedJapanese", T("\u30ed\u30b4 Logo \u00e9"), "\x83\x8D\x83\x53 Logo ?"},
        {"EscapeCharacters", T("100% %41 \"q\" \u00e9 "), "100% %41 \"q\" ? "},
        {"LineBreaksAndNul", u"a\r\nb\0"s, "a??b?"},
        {"OuterBlanksAndQuotes", T(" \"\u00e9\" "), " \"?\" "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove(FStore.FullPath());
        for (const TIniGTFence fence : {fnNone, fnDoubleQuote, fnParenthesis, fnVer11Mode}) {
            FStore.SetFence(fence);
            FStore.WriteString(u"S", u"TEXT", c.Text);
            EXPECT_EQ(FStore.ReadString(u"S", u"TEXT", u"default"), c.Text) << "fence " << int(fence);
        }
        FStore.SetFence(fnNone);
        FStore.WriteString(u"S", u"TEXT", c.Text);
        EXPECT_TRUE(StartsWith(FileBytes(), "[S]\r\nTEXT=" + c.Plain + "\r\nTEXT.Unicode=")) << FileBytes();
        EXPECT_FALSE(Contains(FileBytes().substr(FileBytes().find("TEXT.Unicode=")), " ")) << "the companion is ASCII without blanks";
    }

    // Text the code page holds is written as it is and removes an earlier companion, so
    // a "?" of its own never reads as a stale companion.
    std::filesystem::remove(FStore.FullPath());
    FStore.WriteString(u"S", u"TEXT", T("\u00e9"));
    FStore.WriteString(u"S", u"TEXT", u"?");
    EXPECT_EQ(FileBytes(), "[S]\r\nTEXT=?\r\n");
    EXPECT_EQ(FStore.ReadString(u"S", u"TEXT", u""), u"?");
    TFont font;
    font.SetName(T("ＭＳ ゴシック"));
    FStore.WriteFont(u"S", u"FONT", font);
    FStore.WriteStrings(u"STYLES", u"STYLE", TStringList({u"a", T("青"), u"?"}));
    EXPECT_FALSE(Contains(FileBytes(), "Unicode")) << FileBytes();
}

// A plain value that is no longer the replaced form of its companion was changed by
// someone who knows no companions: it wins.
TEST_F(IniGTTest, AHandEditedPlainValueWinsOverTheCompanion)
{
    FStore.WriteString(u"S", u"K", T("Caf\u00e9"));
    const std::string written = FileBytes();
    const std::string companion = written.substr(written.find("K.Unicode="));
    const struct {
        const char* Name;
        std::string File;
        std::u16string Read;
    } cases[] = {
        {"Written", written, T("Caf\u00e9")},
        {"PlainEdited", "[S]\r\nK=Cafe\r\n" + companion, u"Cafe"},
        {"PlainEditedKeepingTheMark", "[S]\r\nK=Caf?!\r\n" + companion, u"Caf?!"},
        {"PlainRemoved", "[S]\r\n" + companion, u"default"},
        {"CompanionMalformed", "[S]\r\nK=Caf?\r\nK.Unicode=Caf%C3\r\n", u"Caf?"},
        {"CompanionNotEscaped", "[S]\r\nK=Caf?\r\nK.Unicode=Caf\xE9\r\n", u"Caf?"},
        // Bytes that are no UTF-8 (an overlong form, a surrogate, past U+10FFFF) make no
        // companion, even where a lenient decoder's replacement characters would match.
        {"CompanionOverlong", "[S]\r\nK=Caf??\r\nK.Unicode=Caf%C0%A9\r\n", u"Caf??"},
        {"CompanionSurrogate", "[S]\r\nK=Caf???\r\nK.Unicode=Caf%ED%A0%80\r\n", u"Caf???"},
        {"CompanionPastTheLastCharacter", "[S]\r\nK=Caf????\r\nK.Unicode=Caf%F4%90%80%80\r\n", u"Caf????"},
        {"CompanionInAnotherSection", "[S]\r\nK=Caf?\r\n[T]\r\n" + companion, u"Caf?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(FStore.FullPath(), c.File);
        EXPECT_EQ(FStore.ReadString(u"S", u"K", u"default"), c.Read);
    }
}

TEST_F(IniGTTest, CompanionTextIsCutLikeThePlainValue)
{
    const std::u16string text = std::u16string(1020, u'a') + T("\u00e9\u00e9\u00e9\u00e9\u00e9");
    FStore.WriteRawString(u"S", u"K", text);
    EXPECT_EQ(FStore.ReadRawString(u"S", u"K", u""), text.substr(0, 1023));
}

// One update: the file is replaced once, reads see the pending writes, and a failure or
// a cancel leaves the file as it was.
TEST_F(IniGTTest, AnUpdateWritesOnceAndReadsItsOwnWrites)
{
    FStore.WriteString(u"S", u"A", u"old");
    const std::string before = FileBytes();
    {
        TIniGT::TUpdate update(FStore);
        FStore.WriteString(u"S", u"A", u"new");
        FStore.WriteInteger(u"S", u"B", 7);
        FStore.EraseSection(u"Gone");
        EXPECT_EQ(FStore.ReadString(u"S", u"A", u""), u"new");
        EXPECT_EQ(FStore.ReadInteger(u"S", u"B", 0), 7);
        EXPECT_EQ(FileBytes(), before) << "nothing reaches the file before the commit";
        FStore.WriteStrings(u"L", u"X", TStringList({u"p", u"q"}));
        EXPECT_EQ(FileBytes(), before) << "an inner update joins the outer one";
    }
    EXPECT_EQ(FileBytes(), before) << "an update that was not committed writes nothing";
    EXPECT_EQ(FStore.ReadString(u"S", u"A", u""), u"old");

    TIniGT::TUpdate update(FStore);
    FStore.WriteString(u"S", u"A", u"new");
    EXPECT_THROW(FStore.WriteString(u"S", u"\tBad", u"x"), EIniFileError);
    update.Commit();
    EXPECT_EQ(FileBytes(), "[S]\r\nA=new\r\n") << "a refused write changes nothing of the update";
}

TEST_F(IniGTTest, ShorterListsLeaveOldEntriesThatTheCountHides)
{
    FStore.WriteStrings(u"STYLES", u"STYLE", TStringList({u"a", u"b", u"c", u"d", u"e"}));
    FStore.WriteStrings(u"STYLES", u"STYLE", TStringList({u"x", u"y", u"z"}));
    EXPECT_EQ(FStore.ReadRawString(u"STYLES", u"STYLE.4", u""), u"e");
    TStringList list;
    FStore.ReadStrings(u"STYLES", u"STYLE", list);
    EXPECT_EQ(list.ToStringList(), std::vector<std::u16string>({u"x", u"y", u"z"}));
}

TEST_F(IniGTTest, ReadStringsFillsGapsFromTheCurrentList)
{
    struct TRow { std::optional<std::u16string> Count; std::vector<std::u16string> Before; std::vector<std::u16string> After; };
    const std::vector<TRow> rows = {
        {u"2", {u"p", u"q", u"r"}, {u"x", u"q"}},
        {u"2", {u"p"}, {u"x", u""}},
        {u"0", {u"p", u"q"}, {}},
        {u"-3", {u"p", u"q"}, {}},
        {u"junk", {u"p", u"q"}, {u"x", u"q"}},
        {std::nullopt, {u"p", u"q", u"r"}, {u"x", u"q", u"r"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(TextToUtf8(row.Count.value_or(u"missing")));
        FStore.EraseSection(u"L");
        if (row.Count)
            FStore.WriteRawString(u"L", u"STYLE.Count", *row.Count);
        FStore.WriteString(u"L", u"STYLE.0", u"x");
        TStringList list(row.Before);
        FStore.ReadStrings(u"L", u"STYLE", list);
        EXPECT_EQ(list.ToStringList(), row.After);
    }
}

TEST_F(IniGTTest, FontsRoundTripAndTakeTheDefaultCharsetAndPitch)
{
    TFont written;
    written.SetName(u"ＭＳ ゴシック");
    written.SetSize(22);
    written.SetStyle(fsBold | fsUnderline);
    written.SetColor(clBtnFace);
    FStore.SetFence(fnDoubleQuote);
    FStore.WriteFont(u"OPTION", u"FONT", written);
    EXPECT_TRUE(Contains(FileBytes(), "FONT.Size=22\r\nFONT.Style=5\r\nFONT.Color=0x8000000F\r\n"));

    TFont read;
    read.SetCharset(SHIFTJIS_CHARSET);
    read.SetPitch(fpFixed);
    FStore.ReadFont(u"OPTION", u"FONT", read);
    EXPECT_TRUE(read.SameAttributes(written));
    EXPECT_EQ(FStore.Fence(), fnDoubleQuote);
}

TEST_F(IniGTTest, ReadFontTakesNameFenceAndStyleBitsAsStored)
{
    struct TRow { std::u16string Name; std::u16string Style; std::u16string ReadName; TFontStyles ReadStyle; };
    const std::vector<TRow> rows = {
        {Bracketed(u"Courier New"), u"3", u"Courier New", fsBold | fsItalic},
        {u"\"\"Courier New\"\"", u"16", u"Courier New", 0},
        {u"Courier New", u"0x10F", u"Courier New", fsBold | fsItalic | fsUnderline | fsStrikeOut},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(TextToUtf8(row.Name));
        FStore.WriteRawString(u"F", u"FONT.Name", row.Name);
        FStore.WriteRawString(u"F", u"FONT.Style", row.Style);
        TFont font;
        FStore.ReadFont(u"F", u"FONT", font);
        EXPECT_EQ(font.Name(), row.ReadName);
        EXPECT_EQ(font.Style(), row.ReadStyle);
        EXPECT_EQ(FStore.Fence(), fnNone);
    }
}

TEST_F(IniGTTest, MissingFontKeysKeepTheAttributesButResetCharsetAndPitch)
{
    TFont font;
    font.SetName(u"Courier New");
    font.SetSize(12);
    font.SetStyle(fsItalic | fsStrikeOut);
    font.SetColor(0x00123456);
    font.SetCharset(SHIFTJIS_CHARSET);
    font.SetPitch(fpFixed);
    FStore.ReadFont(u"OPTION", u"FONT", font);
    EXPECT_EQ(font.Name(), u"Courier New");
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Style(), fsItalic | fsStrikeOut);
    EXPECT_EQ(font.Color(), 0x00123456u);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.Pitch(), fpDefault);
}

TEST_F(IniGTTest, MalformedFontColourLeavesTheFontAndFenceAsTheyWere)
{
    FStore.WriteRawString(u"F", u"FONT.Name", u"Courier New");
    FStore.WriteRawString(u"F", u"FONT.Size", u"30");
    FStore.WriteRawString(u"F", u"FONT.Color", u"0xGG");
    FStore.SetFence(fnParenthesis);
    TFont font;
    font.SetCharset(SHIFTJIS_CHARSET);
    const TFont before(font);
    EXPECT_THROW(FStore.ReadFont(u"F", u"FONT", font), EConvertError);
    EXPECT_TRUE(font.SameAttributes(before));
    EXPECT_EQ(FStore.Fence(), fnParenthesis);
}

TEST_F(IniGTTest, PositionsAreStoredAndAppliedUnlimited)
{
    const TMovingControl control{{17, 23}, {}};
    FStore.WritePosition(u"Bounds", u"WindowSize", control);
    EXPECT_TRUE(Contains(FileBytes(), "WindowSize.X=17\r\nWindowSize.Y=23\r\n"));

    FStore.WriteRawString(u"Bounds", u"WindowSize.X", u"-20");
    FStore.WriteRawString(u"Bounds", u"WindowSize.Y", u"-30000");
    TMovingControl other{{5, 6}, {}};
    FStore.ReadPosition(u"Bounds", u"WindowSize", other);
    // Two moves, the left first.
    EXPECT_EQ(other.Moves, (std::vector<std::pair<int, int>>{{-20, 6}, {-20, -30000}}));
    FStore.ReadPosition(u"Missing", u"WindowSize", other);
    EXPECT_EQ(other.Moves.back(), (std::pair<int, int>{-20, -30000}));
}

} // namespace
