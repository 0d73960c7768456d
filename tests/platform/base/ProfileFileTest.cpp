#include "platform/base/ProfileFile.h"
#include "platform/base/ProfileText.h"

#include "TestFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// ---- Reading ----

struct TReadCase {
    const char* Name;
    std::string File;
    TText Section;
    TText Key;
    TText Default;
    TText Expected;
    int BufferSize = 1024;
};

std::ostream& operator<<(std::ostream& out, const TReadCase& c) { return out << c.Name; }

class ProfileRead : public testing::TestWithParam<TReadCase> {};

TEST_P(ProfileRead, FindsValueOrDefault)
{
    const TReadCase& c = GetParam();
    EXPECT_EQ(TProfileText(c.File).Read(c.Section, c.Key, c.Default, c.BufferSize), c.Expected);
}

const std::string Sample = "[OPTION]\r\nTEXT=Vezodev\r\n";

INSTANTIATE_TEST_SUITE_P(Lookup, ProfileRead, testing::Values(
    TReadCase{"Found", Sample, "OPTION", "TEXT", "d", "Vezodev"},
    TReadCase{"CaseOfAsciiLettersIgnored", Sample, "option", "text", "d", "Vezodev"},
    TReadCase{"FullWidthLettersKeepCase", "[\x82\x60]\r\nk=1\r\n", u"ａ", "k", "d", "d"},
    TReadCase{"SpacesAroundArgumentsIgnored", Sample, "  OPTION ", " TEXT  ", "d", "Vezodev"},
    TReadCase{"TabInArgumentKept", Sample, "\tOPTION", "TEXT", "d", "d"},
    TReadCase{"MissingSection", Sample, "OTHER", "TEXT", "d", "d"},
    TReadCase{"MissingKey", Sample, "OPTION", "SIZE", "d", "d"},
    TReadCase{"LfLineBreaks", "[A]\nk=1\n", "A", "k", "d", "1"},
    TReadCase{"CrLineBreaks", "[A]\rj=0\rk=1\r", "A", "k", "d", "1"},
    TReadCase{"MixedLineBreaks", "[A]\r\rj=0\n\rk=1\r\n", "A", "k", "d", "1"},
    TReadCase{"CrEndsAValue", "[A]\rk=a\rb=c\r", "A", "k", "d", "a"},
    TReadCase{"LastLineWithoutBreak", "[A]\r\nk=1", "A", "k", "d", "1"},
    TReadCase{"KeysBeforeFirstHeaderUnreachable", "k=1\r\n[A]\r\n", "A", "k", "d", "d"},
    TReadCase{"CommentIsNoKey", "[A]\r\n;k=1\r\n", "A", ";k", "d", "d"},
    TReadCase{"FirstDuplicateSectionWins", "[A]\r\n[B]\r\n[a]\r\nk=2\r\n", "A", "k", "d", "d"},
    TReadCase{"FirstDuplicateKeyWins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "d", "1"},
    TReadCase{"HeaderWithoutBracket", "[A\r\nk=1\r\n", "A", "k", "d", "1"},
    TReadCase{"TextAfterHeaderIgnored", "[A] ; note\r\nk=1\r\n", "A", "k", "d", "1"},
    TReadCase{"SectionNameRunsToLastBracket", "[a]b]\r\nk=1\r\n", "a]b", "k", "d", "1"},
    TReadCase{"TrailByteBracketInSectionName", "[\x83\x5d]\r\nk=1\r\n", u"ゾ", "k", "d", "1"},
    TReadCase{"TrailByteBackslashInKey", "[A]\r\n\x83\x5c=\x95\x5c\r\n", "A", u"ソ", "d", u"表"},
    TReadCase{"InvalidBytesReadAsReplacement", "[A]\r\nk=a\x80\r\n", "A", "k", "d", u"a\ufffd"}));

INSTANTIATE_TEST_SUITE_P(ValueForm, ProfileRead, testing::Values(
    TReadCase{"BlanksAroundKeyAndValue", "[A]\r\n \tk \t= \tv  v\v \r\n", "A", "k", "d", "v  v"},
    TReadCase{"ValueMayHoldEquals", "[A]\r\nk=a=b\r\n", "A", "k", "d", "a=b"},
    TReadCase{"DoubleQuotesRemoved", "[A]\r\nk=\" x \"\r\n", "A", "k", "d", " x "},
    TReadCase{"SingleQuotesRemoved", "[A]\r\nk='x'\r\n", "A", "k", "d", "x"},
    TReadCase{"OnlyOnePairRemoved", "[A]\r\nk=\"\"x\"\"\r\n", "A", "k", "d", "\"x\""},
    TReadCase{"EmptyQuotes", "[A]\r\nk=\"\"\r\n", "A", "k", "d", ""},
    TReadCase{"MixedQuotesStay", "[A]\r\nk=\"x'\r\n", "A", "k", "d", "\"x'"},
    TReadCase{"DefaultLosesTrailingSpacesOnly", "", "A", "k", "  d  ", "  d"},
    TReadCase{"DefaultLosesQuotes", "", "A", "k", "'d'  ", "d"}));

const std::string Long1030 = "[A]\r\nk=" + std::string(1030, 'a') + "\r\n";
const std::string KanjiAtCut = "[A]\r\nk=" + std::string(1022, 'a') + "\x82\xa0\r\n";
const std::string KanjiFits = "[A]\r\nk=" + std::string(1021, 'a') + "\x82\xa0\r\n";
const std::string KanaAtCut = "[A]\r\nk=" + std::string(1022, 'a') + "\xb1\r\n";

INSTANTIATE_TEST_SUITE_P(BufferSize, ProfileRead, testing::Values(
    TReadCase{"CutTo1023Bytes", Long1030, "A", "k", "d", std::u16string(1023, u'a')},
    TReadCase{"DoubleByteCharacterAtCutDropped", KanjiAtCut, "A", "k", "d", std::u16string(1022, u'a')},
    TReadCase{"DoubleByteCharacterEndingAtCutKept", KanjiFits, "A", "k", "d", std::u16string(1021, u'a') + u"あ"},
    TReadCase{"HalfWidthKanaIsOneByte", KanaAtCut, "A", "k", "d", std::u16string(1022, u'a') + u"ｱ"},
    TReadCase{"DefaultCutToo", "", "A", "k", std::u16string(2000, u'x'), std::u16string(1023, u'x')},
    TReadCase{"SmallBuffer", Sample, "OPTION", "TEXT", "d", "Vez", 4},
    TReadCase{"BufferOfZero", Sample, "OPTION", "TEXT", "d", "", 0}));

// ---- Writing ----

enum TOperation { opWrite, opDeleteKey, opEraseSection };

struct TStep {
    TOperation Operation;
    TText Section;
    TText Key = TText();
    TText Value = TText();
    bool Succeeds = true;
};

struct TWriteCase {
    const char* Name;
    std::string Before;
    std::vector<TStep> Steps;
    std::string After;
};

std::ostream& operator<<(std::ostream& out, const TWriteCase& c) { return out << c.Name; }

class ProfileWrite : public testing::TestWithParam<TWriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust)
{
    const TWriteCase& c = GetParam();
    TProfileText text(c.Before);
    for (const TStep& step : c.Steps) {
        if (step.Operation == opWrite)
            EXPECT_EQ(text.Write(step.Section, step.Key, step.Value), step.Succeeds);
        else if (step.Operation == opDeleteKey)
            text.DeleteKey(step.Section, step.Key);
        else
            text.EraseSection(step.Section);
    }
    EXPECT_EQ(text.Bytes(), c.After);
}

const std::string TwoSections = "[A]\r\nx=1\r\n\r\n;c\r\n[B]\r\ny=2\r\n";

INSTANTIATE_TEST_SUITE_P(Golden, ProfileWrite, testing::Values(
    TWriteCase{"NewFile", "", {{opWrite, "OPTION", "TEXT", "Vezodev"}},
               "[OPTION]\r\nTEXT=Vezodev\r\n"},
    TWriteCase{"NewKeyAfterLastKeyOfSection", TwoSections, {{opWrite, "A", "z", "3"}},
               "[A]\r\nx=1\r\nz=3\r\n\r\n;c\r\n[B]\r\ny=2\r\n"},
    TWriteCase{"NewKeyRightAfterHeaderOfEmptySection", "[A]\r\n;c\r\n[B]\r\n", {{opWrite, "A", "k", "v"}},
               "[A]\r\nk=v\r\n;c\r\n[B]\r\n"},
    TWriteCase{"NewSectionAtEndWithoutBlankLine", TwoSections, {{opWrite, "C", "k", "v"}},
               TwoSections + "[C]\r\nk=v\r\n"},
    TWriteCase{"LineBreakAddedToLastLine", "[A]\r\nx=1", {{opWrite, "A", "y", "2"}},
               "[A]\r\nx=1\r\ny=2\r\n"},
    TWriteCase{"ReplacedInPlace", TwoSections, {{opWrite, "A", "x", "9"}},
               "[A]\r\nx=9\r\n\r\n;c\r\n[B]\r\ny=2\r\n"},
    TWriteCase{"HitKeepsFileSpelling", "[OPTION]\r\nTEXT=a\r\n", {{opWrite, "option", "text", "b"}},
               "[OPTION]\r\nTEXT=b\r\n"},
    TWriteCase{"ReplaceKeepsTextBeforeEquals", "[A]\r\n  Key = old  \r\n", {{opWrite, "A", "KEY", "new"}},
               "[A]\r\n  Key =new\r\n"},
    TWriteCase{"ValueWrittenVerbatim", "", {{opWrite, " A ", " k ", "  'Logo'  "}},
               "[A]\r\nk=  'Logo'  \r\n"},
    TWriteCase{"LfFileKeepsItsBreaks", "[A]\nx=1\n[B]\n", {{opWrite, "A", "x", "2"}, {opWrite, "A", "y", "3"}},
               "[A]\nx=2\ny=3\r\n[B]\n"},
    TWriteCase{"CrFileKeepsItsBreaks", "[A]\rx=1\r\r[B]\ry=2", {{opWrite, "A", "x", "2"}, {opWrite, "A", "z", "3"}, {opWrite, "B", "w", "4"}},
               "[A]\rx=2\rz=3\r\n\r[B]\ry=2\r\nw=4\r\n"},
    TWriteCase{"FirstDuplicateSectionAndKeyChanged", "[A]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\n",
               {{opWrite, "A", "k", "9"}, {opWrite, "A", "n", "8"}},
               "[A]\r\nk=9\r\nk=2\r\nn=8\r\n[A]\r\nk=3\r\n"},
    TWriteCase{"ShiftJisNamesWithBracketTrailBytes", "[\x83\x5d]\r\n\x83\x5c=1\r\n",
               {{opWrite, u"ゾ", u"ソ", u"表"}, {opWrite, u"ゾ", "k", "2"}},
               "[\x83\x5d]\r\n\x83\x5c=\x95\x5c\r\nk=2\r\n"},
    TWriteCase{"SectionNameWithBracket", "", {{opWrite, "a]b", "k", "v"}, {opWrite, "a]b", "k", "w"}},
               "[a]b]\r\nk=w\r\n"},
    TWriteCase{"InvalidLinesKeptByteForByte", "\x80\xff\r\n[A]\r\n;\xfd\x83\r\nx=\xa0\r\n\x85\x40\r\n",
               {{opWrite, "A", "x", "2"}}, "\x80\xff\r\n[A]\r\n;\xfd\x83\r\nx=2\r\n\x85\x40\r\n"}));

INSTANTIATE_TEST_SUITE_P(Removal, ProfileWrite, testing::Values(
    TWriteCase{"DeleteKey", TwoSections, {{opDeleteKey, "a", "X"}}, "[A]\r\n\r\n;c\r\n[B]\r\ny=2\r\n"},
    TWriteCase{"DeleteMissingKey", TwoSections, {{opDeleteKey, "A", "q"}, {opDeleteKey, "Q", "x"}}, TwoSections},
    TWriteCase{"EraseKeepsComments", "[A]\r\nx=1\r\n;keep\r\ny=2\r\n[B]\r\nz=3\r\n", {{opEraseSection, "a"}},
               ";keep\r\n[B]\r\nz=3\r\n"},
    TWriteCase{"EraseMissingSection", TwoSections, {{opEraseSection, "C"}}, TwoSections},
    // Lines come and go before and inside sections: each write still finds its own.
    TWriteCase{"SectionsFoundAfterLinesMoved", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n",
               {{opWrite, "A", "w", "0"}, {opEraseSection, "A"}, {opWrite, "a", "q", "4"}, {opDeleteKey, "B", "y"}, {opWrite, "B", "y", "5"}},
               "[B]\r\ny=5\r\n[a]\r\nz=3\r\nq=4\r\n"}));

INSTANTIATE_TEST_SUITE_P(Refusal, ProfileWrite, testing::Values(
    TWriteCase{"LineBreakInValue", Sample, {{opWrite, "OPTION", "TEXT", "a\r\nb", false}}, Sample},
    TWriteCase{"LineFeedInKey", Sample, {{opWrite, "OPTION", "T\nX", "a", false}}, Sample},
    TWriteCase{"WaveDashNotInCp932", Sample, {{opWrite, "OPTION", "TEXT", u"a\u301c", false}}, Sample},
    TWriteCase{"YenSignNotInCp932", Sample, {{opWrite, u"\u00a5", "TEXT", "a", false}}, Sample},
    TWriteCase{"Emoji", Sample, {{opWrite, "OPTION", u"😀", "a", false}}, Sample},
    TWriteCase{"TabBeforeSectionName", Sample, {{opWrite, "\tBlue", "TEXT", "a", false}}, Sample},
    TWriteCase{"TabAfterKeyName", Sample, {{opWrite, "OPTION", "TEXT\t", "a", false}}, Sample},
    TWriteCase{"KeyReadAsComment", Sample, {{opWrite, "OPTION", ";k", "a", false}}, Sample},
    TWriteCase{"KeyReadAsHeader", Sample, {{opWrite, "OPTION", "[k", "a", false}}, Sample},
    TWriteCase{"EqualsInKey", Sample, {{opWrite, "OPTION", "k=j", "a", false}}, Sample}));

// A typical run of calls, checking the whole file after each one against the
// image Windows leaves.
TEST(ProfileFile, WorkedExampleGivesWindowsFileImages)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("Vezodev.ini");
    const auto write = [&](std::u16string_view section, const std::u16string* key, const std::u16string* value) {
        EXPECT_TRUE(WritePrivateProfileString(section, key, value, path));
        return ReadBytes(path);
    };
    const std::u16string text = u"TEXT", lowerText = u"text", hspace = u"HSPACE", count = u"STYLE.Count";
    const std::u16string vezodev = u"Vezodev", zero = u"0", one = u"1", logo = u"  Logo  ";

    EXPECT_EQ(write(u"OPTION", &text, &vezodev), "[OPTION]\r\nTEXT=Vezodev\r\n");
    EXPECT_EQ(write(u"option", &hspace, &zero), "[OPTION]\r\nTEXT=Vezodev\r\nHSPACE=0\r\n");
    EXPECT_EQ(write(u"STYLES", &count, &one),
              "[OPTION]\r\nTEXT=Vezodev\r\nHSPACE=0\r\n[STYLES]\r\nSTYLE.Count=1\r\n");
    EXPECT_EQ(write(u"OPTION", &lowerText, &logo),
              "[OPTION]\r\nTEXT=  Logo  \r\nHSPACE=0\r\n[STYLES]\r\nSTYLE.Count=1\r\n");
    EXPECT_EQ(GetPrivateProfileString(u"OPTION", u"TEXT", u"x", 1024, path), u"Logo");
    EXPECT_EQ(write(u"Option", nullptr, nullptr), "[STYLES]\r\nSTYLE.Count=1\r\n");
    EXPECT_EQ(GetPrivateProfileString(u"styles", u"style.count", u"x", 1024, path), u"1");
}

TEST(ProfileFile, EachCallReadsTheFileAnew)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("Vezodev.ini");
    EXPECT_EQ(GetPrivateProfileString(u"A", u"k", u"none", 1024, path), u"none");
    WriteBytes(path, "[A]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileString(u"A", u"k", u"none", 1024, path), u"1");
}

TEST(ProfileFile, MissingFolderOrFolderAsFileFails)
{
    TTestFolder dir;
    const std::u16string key = u"k", value = u"v";
    EXPECT_FALSE(WritePrivateProfileString(u"A", &key, &value, dir.FilePath("missing/Vezodev.ini")));
    EXPECT_FALSE(WritePrivateProfileString(u"A", &key, &value, dir.Path()));
    EXPECT_EQ(GetPrivateProfileString(u"A", u"k", u"d", 1024, dir.Path()), u"d");
    EXPECT_FALSE(std::filesystem::exists(dir.FilePath("missing")));
    // An empty file name is no file: nothing is written, here or in the current folder.
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_FALSE(WritePrivateProfileString(u"A", &key, &value, std::filesystem::path()));
    EXPECT_EQ(GetPrivateProfileString(u"A", u"k", u"d", 1024, std::filesystem::path()), u"d");
    std::filesystem::current_path(current);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>());
}

// A file that exists but cannot be read gives nothing and the system's reason, so that
// a write never replaces what it could not see.
TEST(ProfileFile, UnreadableFileGivesItsReason)
{
    TTestFolder dir;
    int error = 0;
    EXPECT_EQ(ReadProfileFile(dir.FilePath("none.ini"), &error), std::string());
    EXPECT_EQ(ReadProfileFile(dir.Path(), &error), std::nullopt);
    EXPECT_EQ(error, EISDIR);
    const std::filesystem::path pipe = dir.FilePath("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadProfileFile(pipe, &error), std::nullopt);
    EXPECT_EQ(error, EEXIST);
    const std::filesystem::path closed = dir.FilePath("closed.ini");
    WriteBytes(closed, "[A]\nk=1\n");
    ASSERT_EQ(chmod(closed.c_str(), 0), 0);
    if (geteuid() != 0) {
        EXPECT_EQ(ReadProfileFile(closed, &error), std::nullopt);
        EXPECT_EQ(error, EACCES);
    }
    EXPECT_EQ(ReadProfileFile(dir.FilePath("closed.ini/x"), &error), std::nullopt);
    EXPECT_EQ(error, ENOTDIR);
}

TEST(ProfileFile, FailedWriteLeavesOldFileByteForByte)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("Vezodev.ini");
    const std::string old = "[A]\nk=1\n";
    WriteBytes(path, old);

    // The child may not write files larger than 4 KiB, as on a full disk.
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        const std::u16string key = u"k", value(100000, u'v');
        _exit(WritePrivateProfileString(u"A", &key, &value, path) ? 1 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write did not fail";

    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Vezodev.ini"});
}

} // namespace
