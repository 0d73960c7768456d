#include "components/settings/IniGT.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/Exception.h"
#include "platform/raster/Font.h"
#include "platform/base/ProfileText.h"
#include "platform/base/Strings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "EnvironmentOverride.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

const QString Left(QChar(0xFF62));  // ｢, byte A2 in the file
const QString Right(QChar(0xFF63)); // ｣, byte A3 in the file

QString Bracketed(const QString& text) { return Left + text + Right; }

// The conversion error's message for a value read as the text shown.
QString NotAnInteger(const QString& shown) { return QString::fromUtf8("'%1' は整数ではありません").arg(shown); }

// A store as the main window has it: the file is named after a program in the
// temporary folder, strings are written bare.
class IniGTTest : public ::testing::Test {
protected:
    IniGTTest() : FStore(nullptr, FDir.path() + QStringLiteral("/ZORIVODER.EXE"))
    {
        FStore.SetDefaultDir(ddApplication);
        FStore.SetFence(fnNone);
        FStore.Loaded();
    }

    QByteArray FileBytes() const
    {
        QFile file(FStore.FullPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir FDir;
    TIniGT FStore;
};

TEST(IniGTFenceTest, EncloseAndUnencloseFollowTheFenceTable)
{
    struct TRow { TIniGTFence Fence; QString Text; QString Read; };
    const std::vector<TRow> rows = {
        {fnNone, "\"abc\"", "\"abc\""},
        {fnNone, Bracketed("abc"), Bracketed("abc")},
        {fnDoubleQuote, "\"\"", ""},
        {fnDoubleQuote, "\"abc\"", "abc"},
        {fnDoubleQuote, "\"\"x\"\"", "\"x\""},
        {fnDoubleQuote, Bracketed("abc"), Bracketed("abc")},
        {fnDoubleQuote, "\"", "\""},
        {fnParenthesis, "\"abc\"", "\"abc\""},
        {fnParenthesis, Bracketed("abc"), "abc"},
        {fnParenthesis, Bracketed(""), ""},
        {fnVer11Mode, "\"abc\"", "abc"},
        {fnVer11Mode, Bracketed("abc"), "abc"},
        {fnVer11Mode, "\"", "\""},
        {fnVer11Mode, Left, Left},
        {fnVer11Mode, Left + "abc\"", Left + "abc\""},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "fence " << int(row.Fence) << " text " << row.Text.toStdString());
        EXPECT_EQ(TIniGT::Unenclose(row.Text, row.Fence), row.Read);
    }
    EXPECT_EQ(TIniGT::Enclose("", fnDoubleQuote), "\"\"");
    EXPECT_EQ(TIniGT::Enclose("a", fnParenthesis), Bracketed("a"));
    EXPECT_EQ(TIniGT::Enclose("a", fnVer11Mode), Bracketed("a"));
    EXPECT_EQ(TIniGT::Enclose("\"a\"", fnNone), "\"a\"");
}

TEST_F(IniGTTest, StringsReachTheFileEnclosedAndReadBackInEveryMode)
{
    struct TRow { TIniGTFence Fence; QString Value; QByteArray Line; };
    const std::vector<TRow> rows = {
        {fnNone, "abc", "K=abc\r\n"},
        {fnNone, Bracketed("abc"), "K=\xA2" "abc\xA3\r\n"},
        {fnDoubleQuote, "", "K=\"\"\r\n"},
        {fnDoubleQuote, "abc", "K=\"abc\"\r\n"},
        {fnParenthesis, "abc", "K=\xA2" "abc\xA3\r\n"},
        {fnVer11Mode, "abc", "K=\xA2" "abc\xA3\r\n"},
        {fnVer11Mode, "", "K=\xA2\xA3\r\n"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "fence " << int(row.Fence) << " value " << row.Value.toStdString());
        FStore.SetFence(row.Fence);
        FStore.WriteString("S", "K", row.Value);
        EXPECT_TRUE(FileBytes().endsWith(row.Line));
        EXPECT_EQ(FStore.ReadString("S", "K", "default"), row.Value);
    }
}

// A held text stands in for the file: reads see it, not the file, and a write, which
// would have nowhere to go, is refused with the store's write error.
TEST_F(IniGTTest, AHeldTextIsReadInsteadOfTheFileAndRefusesWrites)
{
    FStore.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("file"));
    FStore.HoldText(std::make_shared<const TProfileText>(QByteArray("[S]\r\nK=held\r\nN=7\r\n")));
    EXPECT_EQ(FStore.ReadString(QStringLiteral("s"), QStringLiteral("k"), QString()), QStringLiteral("held"));
    EXPECT_EQ(FStore.ReadInteger(QStringLiteral("S"), QStringLiteral("N"), 0), 7);
    EXPECT_THROW(FStore.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new")), EIniFileError);
    FStore.HoldText(nullptr);
    EXPECT_EQ(FStore.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("file"));
}

TEST_F(IniGTTest, MissingKeysGiveTheDefaultExactlyInEveryMode)
{
    FStore.WriteRawString("S", "Other", "x");
    for (const TIniGTFence fence : {fnDoubleQuote, fnParenthesis, fnVer11Mode, fnNone}) {
        FStore.SetFence(fence);
        for (const QString& defaultValue : {QString(), QString("a"), QString("abc"), Bracketed("x"), QString("ﾛｺﾞ 1"),
                                            QString("abc "), QString("\"abc\""), QString("'a'"), QString(" a"),
                                            QString::fromUtf8("Caf\u00e9 \u20ac"), QString(2000, u'x')}) {
            SCOPED_TRACE(testing::Message() << "fence " << int(fence) << " default " << defaultValue.toStdString());
            EXPECT_EQ(FStore.ReadString("S", "Missing", defaultValue), defaultValue);
            EXPECT_EQ(FStore.ReadString("NoSection", "K", defaultValue), defaultValue);
        }
    }
}

TEST_F(IniGTTest, RawReadsDeliverAtMost1023Characters)
{
    FStore.WriteRawString("S", "K", QString(1500, u'a'));
    EXPECT_EQ(FStore.ReadRawString("S", "K", ""), QString(1023, u'a'));
}

TEST(IniGTPathTest, FileNameAndDefaultDirResolveTheFullPath)
{
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "/home/u/cfg/");
    struct TRow { TIniGTDefaultDir Dir; QString Name; QString Path; };
    const std::vector<TRow> rows = {
        {ddApplication, "x.ini", "/opt/vz/x.ini"},
        {ddWindows, "x.ini", "/home/u/cfg/x.ini"},
        {ddNone, "x.ini", "x.ini"},
        {ddApplication, "", "/opt/vz/"},
        {ddApplication, "C:\\data\\x.ini", "C:\\data\\x.ini"},
        {ddWindows, "C:x.ini", "C:x.ini"},
        {ddWindows, "sub\\x.ini", "sub\\x.ini"},
        {ddApplication, "sub/x.ini", "sub/x.ini"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "dir " << int(row.Dir) << " name " << row.Name.toStdString());
        TIniGT store(nullptr, "/opt/vz/ZORIVODER.EXE");
        store.SetDefaultDir(row.Dir);
        store.SetFileName(row.Name);
        EXPECT_EQ(store.FullPath(), row.Path);
        EXPECT_EQ(store.FileName(), row.Name);
    }
}

TEST(IniGTPathTest, ChangingDefaultDirMovesOnlyBareNames)
{
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "/home/u/cfg");
    TIniGT store(nullptr, "/opt/vz/vezodev");
    store.SetFileName("sub/x.ini");
    store.SetDefaultDir(ddWindows);
    EXPECT_EQ(store.FullPath(), "sub/x.ini");
    store.SetFileName("x.ini");
    EXPECT_EQ(store.FullPath(), "/home/u/cfg/x.ini");
    store.SetDefaultDir(ddNone);
    EXPECT_EQ(store.FullPath(), "x.ini");
    store.SetDefaultDir(ddApplication);
    EXPECT_EQ(store.FullPath(), "/opt/vz/x.ini");
}

TEST(IniGTPathTest, WindowsFolderFallsBackToDotConfigInTheHomeFolder)
{
    const TEnvironmentOverride home("HOME", "/home/v");
    const TEnvironmentOverride config("XDG_CONFIG_HOME", "relative/cfg");
    TIniGT store;
    store.SetDefaultDir(ddWindows);
    store.SetFileName("x.ini");
    EXPECT_EQ(store.FullPath(), "/home/v/.config/x.ini");
}

TEST(IniGTPathTest, DefaultNameComesFromTheProgramFile)
{
    const std::vector<std::pair<QString, QString>> rows = {
        {"C:\\prog\\ZORIVODER.EXE", "Zorivoder.ini"},
        {"/usr/bin/vezodev", "Vezodev.ini"},
        {"/a.b/tool", "Tool.ini"},
        {"/x/My.App.Bin", "My.app.ini"},
        {"/x/1ABC", "1abc.ini"},
        {"/x/\u00C4BC.EXE", "\u00C4bc.ini"},
    };
    for (const auto& [program, name] : rows) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_EQ(TIniGT::DefaultFileName(program), name);
    }
}

TEST(IniGTPathTest, LoadedNamesAnUnnamedStoreAfterTheProgramInItsFolder)
{
    TIniGT unnamed(nullptr, "/opt/vz/ZORIVODER.EXE");
    unnamed.Loaded();
    EXPECT_EQ(unnamed.FileName(), "Zorivoder.ini");
    EXPECT_EQ(unnamed.FullPath(), "/opt/vz/Zorivoder.ini");

    TIniGT named(nullptr, "/opt/vz/ZORIVODER.EXE");
    named.SetFileName("own.ini");
    named.Loaded();
    EXPECT_EQ(named.FullPath(), "/opt/vz/own.ini");
    EXPECT_EQ(named.Fence(), fnNone);
}

TEST(IniGTPathTest, WithoutAProgramFileTheRunningProgramNamesTheFile)
{
    // This program is components_tests: the file takes its name, the first letter in
    // upper case and the rest in lower case.
    TIniGT store;
    store.Loaded();
    EXPECT_EQ(store.FullPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Components_tests.ini"));
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
    const std::vector<std::pair<QString, int>> rows = {
        {"0x1F", 31}, {"0X1F", 31}, {"$1F", 31}, {"$ff", 255}, {"-7", -7}, {"+5", 5},
        {"0xFFFFFFFF", -1}, {"-2147483648", INT32_MIN},
        {"0x", 99}, {"12abc", 99}, {"", 99}, {"2147483648", 99}, {"0x100000000", 99}, {"1e3", 99},
    };
    for (const auto& [text, value] : rows) {
        SCOPED_TRACE(text.toStdString());
        FStore.WriteRawString("S", "K", text);
        EXPECT_EQ(FStore.ReadInteger("S", "K", 99), value);
    }
    EXPECT_EQ(FStore.ReadInteger("S", "Missing", 99), 99);
    FStore.WriteInteger("S", "K", -7);
    EXPECT_TRUE(FileBytes().contains("K=-7\r\n"));
}

TEST_F(IniGTTest, WriteHexWritesEightUpperCaseDigitsThatReadBack)
{
    const std::vector<std::pair<int, QByteArray>> rows = {
        {-1, "0xFFFFFFFF"}, {8421504, "0x00808080"}, {31, "0x0000001F"}, {0, "0x00000000"},
        {static_cast<int>(clBtnFace), "0x8000000F"},
    };
    for (const auto& [value, text] : rows) {
        SCOPED_TRACE(text.toStdString());
        FStore.WriteHex("S", "K", value);
        EXPECT_TRUE(FileBytes().contains("K=" + text + "\r\n"));
        EXPECT_EQ(FStore.ReadHex("S", "K", 5), value);
    }
    FStore.WriteColor("S", "Color", clBtnFace);
    EXPECT_EQ(FStore.ReadColor("S", "Color", clBlack), clBtnFace);
    EXPECT_EQ(FStore.ReadColor("S", "Missing", clBtnShadow), clBtnShadow);
    EXPECT_EQ(FStore.ReadHex("S", "Missing", -1), -1);
}

TEST_F(IniGTTest, ReadHexTakesCharactersThreeToTen)
{
    const std::vector<std::pair<QString, int>> rows = {
        {"0x1F", 31}, {"0x123456789", 0x12345678}, {"##ab", 0xAB}, {"0x0000001F and more", 31},
    };
    for (const auto& [text, value] : rows) {
        SCOPED_TRACE(text.toStdString());
        FStore.WriteRawString("S", "K", text);
        EXPECT_EQ(FStore.ReadHex("S", "K", 5), value);
    }
}

TEST_F(IniGTTest, MalformedHexValuesRaiseTheConversionError)
{
    const std::vector<std::pair<QString, QString>> rows = {
        {"", NotAnInteger("$")},
        {"1", NotAnInteger("$")},
        {"0x", NotAnInteger("$")},
        {"0xZZ", NotAnInteger("$ZZ")},
        {"0x12 4", NotAnInteger("$12 4")},
    };
    for (const auto& [text, message] : rows) {
        SCOPED_TRACE(text.toStdString());
        FStore.WriteRawString("S", "K", text);
        try {
            FStore.ReadColor("S", "K", clBlack);
            ADD_FAILURE() << "no error raised";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), message);
        }
    }
}

TEST_F(IniGTTest, EraseSectionRemovesItsKeysAndToleratesMissingSections)
{
    FStore.WriteRawString("A", "K", "1");
    FStore.WriteRawString("B", "K", "2");
    FStore.EraseSection("a");
    FStore.EraseSection("Nowhere");
    EXPECT_EQ(FileBytes(), "[B]\r\nK=2\r\n");
}

TEST(IniGTWriteErrorTest, WritesIntoAMissingFolderNameTheFullPathAndTheReason)
{
    QTemporaryDir dir;
    TIniGT store(nullptr, dir.path() + "/missing/vezodev");
    store.Loaded();
    try {
        store.WriteInteger("S", "K", 1);
        ADD_FAILURE() << "no error raised";
    } catch (const EIniFileError& error) {
        EXPECT_EQ(error.Message(), dir.path() + "/missing/Vezodev.ini に書き込めません (" + SystemErrorText(ENOENT) + ")");
    }
}

TEST_F(IniGTTest, NamesTheFileCannotHoldAreRefusedWithTheReasonAndChangeNothing)
{
    FStore.WriteString("S", "K", "old");
    const QByteArray before = FileBytes();
    const struct {
        QString Section;
        QString Key;
        const char* Reason;
    } cases[] = {
        {"S", "a\r\nb", "には1行に保存できない改行かNUL文字があります)"},
        {QString("a") + QChar(0) + "b", "K", "には1行に保存できない改行かNUL文字があります)"},
        {QString::fromUtf8("a\xF0\x9F\x98\x80"), "K", "にはシフトJISで保存できない文字があります)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reason);
        const QString named = c.Key == "K" ? c.Section : c.Key;
        try {
            FStore.WriteString(c.Section, c.Key, "value");
            ADD_FAILURE() << "no error raised";
        } catch (const EIniFileError& error) {
            EXPECT_EQ(error.Message(), FStore.FullPath() + QString::fromUtf8(" に書き込めません (「") + named + QString::fromUtf8("」") + QString::fromUtf8(c.Reason));
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
        QString Text;
        QByteArray Plain; // the plain key's bytes under fnNone
    } cases[] = {
        {"Latin", QString::fromUtf8("Caf\u00e9 \u20ac \u2713"), "Caf? ? ?"},
        {"Emoji", QString::fromUtf8("\xF0\x9F\x98\x80"), "?"},
        {"MixedJapanese", QString::fromUtf8("\u30ed\u30b4 Logo \u00e9"), "\x83\x8D\x83\x53 Logo ?"},
        {"EscapeCharacters", QString::fromUtf8("100% %41 \"q\" \u00e9 "), "100% %41 \"q\" ? "},
        {"LineBreaksAndNul", QString("a\r\nb") + QChar(0), "a??b?"},
        {"OuterBlanksAndQuotes", QString::fromUtf8(" \"\u00e9\" "), " \"?\" "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(FStore.FullPath());
        for (const TIniGTFence fence : {fnNone, fnDoubleQuote, fnParenthesis, fnVer11Mode}) {
            FStore.SetFence(fence);
            FStore.WriteString("S", "TEXT", c.Text);
            EXPECT_EQ(FStore.ReadString("S", "TEXT", "default"), c.Text) << "fence " << int(fence);
        }
        FStore.SetFence(fnNone);
        FStore.WriteString("S", "TEXT", c.Text);
        EXPECT_TRUE(FileBytes().startsWith("[S]\r\nTEXT=" + c.Plain + "\r\nTEXT.Unicode=")) << FileBytes().toStdString();
        EXPECT_FALSE(FileBytes().mid(FileBytes().indexOf("TEXT.Unicode=")).contains(' ')) << "the companion is ASCII without blanks";
    }

    // Text the code page holds is written as it is and removes an earlier companion, so
    // a "?" of its own never reads as a stale companion.
    QFile::remove(FStore.FullPath());
    FStore.WriteString("S", "TEXT", QString::fromUtf8("\u00e9"));
    FStore.WriteString("S", "TEXT", "?");
    EXPECT_EQ(FileBytes(), "[S]\r\nTEXT=?\r\n");
    EXPECT_EQ(FStore.ReadString("S", "TEXT", ""), "?");
    TFont font;
    font.SetName(QString::fromUtf8("ＭＳ ゴシック"));
    FStore.WriteFont("S", "FONT", font);
    FStore.WriteStrings("STYLES", "STYLE", TStringList({"a", QString::fromUtf8("青"), "?"}));
    EXPECT_FALSE(FileBytes().contains("Unicode")) << FileBytes().toStdString();
}

// A plain value that is no longer the replaced form of its companion was changed by
// someone who knows no companions: it wins.
TEST_F(IniGTTest, AHandEditedPlainValueWinsOverTheCompanion)
{
    FStore.WriteString("S", "K", QString::fromUtf8("Caf\u00e9"));
    const QByteArray written = FileBytes();
    const QByteArray companion = written.mid(written.indexOf("K.Unicode="));
    const struct {
        const char* Name;
        QByteArray File;
        QString Read;
    } cases[] = {
        {"Written", written, QString::fromUtf8("Caf\u00e9")},
        {"PlainEdited", "[S]\r\nK=Cafe\r\n" + companion, "Cafe"},
        {"PlainEditedKeepingTheMark", "[S]\r\nK=Caf?!\r\n" + companion, "Caf?!"},
        {"PlainRemoved", "[S]\r\n" + companion, "default"},
        {"CompanionMalformed", "[S]\r\nK=Caf?\r\nK.Unicode=Caf%C3\r\n", "Caf?"},
        {"CompanionNotEscaped", "[S]\r\nK=Caf?\r\nK.Unicode=Caf\xE9\r\n", "Caf?"},
        {"CompanionInAnotherSection", "[S]\r\nK=Caf?\r\n[T]\r\n" + companion, "Caf?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile file(FStore.FullPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.File);
        file.close();
        EXPECT_EQ(FStore.ReadString("S", "K", "default"), c.Read);
    }
}

TEST_F(IniGTTest, CompanionTextIsCutLikeThePlainValue)
{
    const QString text = QString(1020, u'a') + QString::fromUtf8("\u00e9\u00e9\u00e9\u00e9\u00e9");
    FStore.WriteRawString("S", "K", text);
    EXPECT_EQ(FStore.ReadRawString("S", "K", ""), text.left(1023));
}

// One update: the file is replaced once, reads see the pending writes, and a failure or
// a cancel leaves the file as it was.
TEST_F(IniGTTest, AnUpdateWritesOnceAndReadsItsOwnWrites)
{
    FStore.WriteString("S", "A", "old");
    const QByteArray before = FileBytes();
    {
        TIniGT::TUpdate update(FStore);
        FStore.WriteString("S", "A", "new");
        FStore.WriteInteger("S", "B", 7);
        FStore.EraseSection("Gone");
        EXPECT_EQ(FStore.ReadString("S", "A", ""), "new");
        EXPECT_EQ(FStore.ReadInteger("S", "B", 0), 7);
        EXPECT_EQ(FileBytes(), before) << "nothing reaches the file before the commit";
        FStore.WriteStrings("L", "X", TStringList({"p", "q"}));
        EXPECT_EQ(FileBytes(), before) << "an inner update joins the outer one";
    }
    EXPECT_EQ(FileBytes(), before) << "an update that was not committed writes nothing";
    EXPECT_EQ(FStore.ReadString("S", "A", ""), "old");

    TIniGT::TUpdate update(FStore);
    FStore.WriteString("S", "A", "new");
    EXPECT_THROW(FStore.WriteString("S", "\tBad", "x"), EIniFileError);
    update.Commit();
    EXPECT_EQ(FileBytes(), "[S]\r\nA=new\r\n") << "a refused write changes nothing of the update";
}

TEST_F(IniGTTest, ShorterListsLeaveOldEntriesThatTheCountHides)
{
    FStore.WriteStrings("STYLES", "STYLE", TStringList({"a", "b", "c", "d", "e"}));
    FStore.WriteStrings("STYLES", "STYLE", TStringList({"x", "y", "z"}));
    EXPECT_EQ(FStore.ReadRawString("STYLES", "STYLE.4", ""), "e");
    TStringList list;
    FStore.ReadStrings("STYLES", "STYLE", list);
    EXPECT_EQ(list.ToStringList(), QStringList({"x", "y", "z"}));
}

TEST_F(IniGTTest, ReadStringsFillsGapsFromTheCurrentList)
{
    struct TRow { std::optional<QString> Count; QStringList Before; QStringList After; };
    const std::vector<TRow> rows = {
        {"2", {"p", "q", "r"}, {"x", "q"}},
        {"2", {"p"}, {"x", ""}},
        {"0", {"p", "q"}, {}},
        {"-3", {"p", "q"}, {}},
        {"junk", {"p", "q"}, {"x", "q"}},
        {std::nullopt, {"p", "q", "r"}, {"x", "q", "r"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Count.value_or("missing").toStdString());
        FStore.EraseSection("L");
        if (row.Count)
            FStore.WriteRawString("L", "STYLE.Count", *row.Count);
        FStore.WriteString("L", "STYLE.0", "x");
        TStringList list(row.Before);
        FStore.ReadStrings("L", "STYLE", list);
        EXPECT_EQ(list.ToStringList(), row.After);
    }
}

TEST_F(IniGTTest, FontsRoundTripAndTakeTheDefaultCharsetAndPitch)
{
    TFont written;
    written.SetName("ＭＳ ゴシック");
    written.SetSize(22);
    written.SetStyle(fsBold | fsUnderline);
    written.SetColor(clBtnFace);
    FStore.SetFence(fnDoubleQuote);
    FStore.WriteFont("OPTION", "FONT", written);
    EXPECT_TRUE(FileBytes().contains("FONT.Size=22\r\nFONT.Style=5\r\nFONT.Color=0x8000000F\r\n"));

    TFont read;
    read.SetCharset(SHIFTJIS_CHARSET);
    read.SetPitch(fpFixed);
    FStore.ReadFont("OPTION", "FONT", read);
    EXPECT_TRUE(read.SameAttributes(written));
    EXPECT_EQ(FStore.Fence(), fnDoubleQuote);
}

TEST_F(IniGTTest, ReadFontTakesNameFenceAndStyleBitsAsStored)
{
    struct TRow { QString Name; QString Style; QString ReadName; TFontStyles ReadStyle; };
    const std::vector<TRow> rows = {
        {Bracketed("Courier New"), "3", "Courier New", fsBold | fsItalic},
        {"\"\"Courier New\"\"", "16", "Courier New", 0},
        {"Courier New", "0x10F", "Courier New", fsBold | fsItalic | fsUnderline | fsStrikeOut},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name.toStdString());
        FStore.WriteRawString("F", "FONT.Name", row.Name);
        FStore.WriteRawString("F", "FONT.Style", row.Style);
        TFont font;
        FStore.ReadFont("F", "FONT", font);
        EXPECT_EQ(font.Name(), row.ReadName);
        EXPECT_EQ(font.Style(), row.ReadStyle);
        EXPECT_EQ(FStore.Fence(), fnNone);
    }
}

TEST_F(IniGTTest, MissingFontKeysKeepTheAttributesButResetCharsetAndPitch)
{
    TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    font.SetStyle(fsItalic | fsStrikeOut);
    font.SetColor(0x00123456);
    font.SetCharset(SHIFTJIS_CHARSET);
    font.SetPitch(fpFixed);
    FStore.ReadFont("OPTION", "FONT", font);
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Style(), fsItalic | fsStrikeOut);
    EXPECT_EQ(font.Color(), 0x00123456u);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.Pitch(), fpDefault);
}

TEST_F(IniGTTest, MalformedFontColourLeavesTheFontAndFenceAsTheyWere)
{
    FStore.WriteRawString("F", "FONT.Name", "Courier New");
    FStore.WriteRawString("F", "FONT.Size", "30");
    FStore.WriteRawString("F", "FONT.Color", "0xGG");
    FStore.SetFence(fnParenthesis);
    TFont font;
    font.SetCharset(SHIFTJIS_CHARSET);
    const TFont before(font);
    EXPECT_THROW(FStore.ReadFont("F", "FONT", font), EConvertError);
    EXPECT_TRUE(font.SameAttributes(before));
    EXPECT_EQ(FStore.Fence(), fnParenthesis);
}

TEST_F(IniGTTest, PositionsAreStoredAndAppliedUnlimited)
{
    QWidget parent;
    QWidget control(&parent);
    control.move(17, 23);
    FStore.WritePosition("Bounds", "WindowSize", control);
    EXPECT_TRUE(FileBytes().contains("WindowSize.X=17\r\nWindowSize.Y=23\r\n"));

    FStore.WriteRawString("Bounds", "WindowSize.X", "-20");
    FStore.WriteRawString("Bounds", "WindowSize.Y", "-30000");
    QWidget other(&parent);
    FStore.ReadPosition("Bounds", "WindowSize", other);
    EXPECT_EQ(other.pos(), QPoint(-20, -30000));
    FStore.ReadPosition("Missing", "WindowSize", other);
    EXPECT_EQ(other.pos(), QPoint(-20, -30000));
}

} // namespace
