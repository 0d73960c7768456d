#include "platform/widgets/BitmapImage.h"
#include "Form1TestSupport.h"
#include "TestFiles.h"

#include "components/widgets/GradBox.h"
#include "components/settings/IniGT.h"
#include "components/widgets/ManyBtn.h"
#include "platform/base/AtomicFile.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/base/ShiftJis.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The immutable attribute (chattr +i) for as long as the guard lives: not even root may
// change the file or, on a folder, add, remove or rename its entries. Root ignores
// permission bits, so this is how a folder or file that cannot be written is made here.
class TImmutableGuard {
public:
    explicit TImmutableGuard(const QString& path) : FPath(path) { FApplied = Update([](int flags) { return flags | FS_IMMUTABLE_FL; }); }
    ~TImmutableGuard()
    {
        if (FApplied)
            Update([](int flags) { return flags & ~FS_IMMUTABLE_FL; });
    }
    TImmutableGuard(const TImmutableGuard&) = delete;
    TImmutableGuard& operator=(const TImmutableGuard&) = delete;

    bool Applied() const { return FApplied; }

private:
    bool Update(const std::function<int(int)>& change) const
    {
        const int descriptor = ::open(QFile::encodeName(FPath).constData(), O_RDONLY | O_NONBLOCK);
        if (descriptor < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = change(flags);
            done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(descriptor);
        return done;
    }

    QString FPath;
    bool FApplied = false;
};

// A full device for as long as the guard lives: no file of this process may grow past
// limit bytes. SIGXFSZ is ignored, so the write fails with EFBIG instead of ending the
// program. Nothing may be printed to a redirected output meanwhile.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        FHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FPrevious);
        rlimit limited = FPrevious;
        limited.rlim_cur = limit;
        FApplied = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FPrevious);
        std::signal(SIGXFSZ, FHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    bool Applied() const { return FApplied; }

private:
    rlimit FPrevious{};
    void (*FHandler)(int) = SIG_DFL;
    bool FApplied = false;
};

class FaultInjectionTest : public Form1Fixture {
protected:

    // Answers an input box with name and every question with OK.
    void AnswerEveryBox(const QString& name)
    {
        MessageAnswerer = [name](TMessageRequest& request) {
            if (request.Kind == mkInput)
                request.EditText = name;
            return true;
        };
    }

    // A settings file as a real window writes it: the last parameters with the text
    // "Kept", the style "Red" and the window's position.
    void WritePreviousFile()
    {
        TForm1& form = Open();
        form.Edit1->setText(QStringLiteral("Kept"));
        ClickCell(*form.MbMix, 2);
        AnswerEveryBox(QStringLiteral("Red"));
        form.MmAdd->trigger();
        form.close();
        FForm.reset();
        MessageAnswerer = nullptr;
        ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        ASSERT_TRUE(Settings().contains("[Red]"));
    }

    // A further build after a fault: the window still makes the logo it should.
    void ExpectUsable(TForm1& form)
    {
        const qsizetype errors = FErrors.size();
        ClickCell(*form.MbMix, 3);
        form.EdHs->SetText(QStringLiteral("6"));
        ExpectConsistent(form);
        EXPECT_EQ(FErrors.size(), errors) << FErrors.join('\n').toStdString();
    }

    // The write error with the system's reason.
    QString WriteError(int reason) const
    {
        return QString::fromUtf8("%1 に書き込めません (%2)").arg(SettingsPath(), SystemErrorText(reason));
    }
};

// --- Writing the settings file fails ---

enum TSettingsFault : unsigned char { sfFolderImmutable, sfFileImmutable, sfDeviceFull, sfReplacedByFolder };
enum TSettingsWrite : unsigned char { swClose, swAddStyle, swDeleteStyle };

struct TSettingsFaultCase {
    TSettingsFault Fault;
    TSettingsWrite Write;
};

// The reason the system gives for each fault: an immutable folder or file refuses
// even root, the size limit stops the write, and a folder cannot be read as a file.
int FaultReason(TSettingsFault fault)
{
    static const int reasons[] = {EPERM, EPERM, EFBIG, EISDIR};
    return reasons[fault];
}

std::string FaultCaseName(const TSettingsFaultCase& c)
{
    static const char* const faults[] = {"FolderCannotBeWritten", "FileCannotBeWritten", "DeviceFull", "FileReplacedByFolder"};
    static const char* const writes[] = {"OnClose", "OnAddingAStyle", "OnDeletingAStyle"};
    return std::string(faults[c.Fault]) + writes[c.Write];
}

// Test listings show the case's name, not its bytes.
void PrintTo(const TSettingsFaultCase& c, std::ostream* out)
{
    *out << FaultCaseName(c);
}

class SettingsWriteFaultTest : public FaultInjectionTest, public ::testing::WithParamInterface<TSettingsFaultCase> {
protected:
    // Puts the fault in place; false when it cannot be produced here.
    bool Inject(TSettingsFault fault)
    {
        switch (fault) {
        case sfFolderImmutable:
            FImmutable.emplace(FFolder.path());
            return FImmutable->Applied();
        case sfFileImmutable:
            FImmutable.emplace(SettingsPath());
            return FImmutable->Applied();
        case sfDeviceFull:
            // Smaller than any settings file the window writes.
            FSizeLimit.emplace(16);
            return FSizeLimit->Applied();
        case sfReplacedByFolder:
            if (!QFile::remove(SettingsPath()) || !QDir().mkdir(SettingsPath()))
                return false;
            WriteAll(SettingsPath() + QStringLiteral("/inside.txt"), FInside);
            return true;
        }
        return false;
    }

    void Lift(TSettingsFault fault, const QByteArray& previous)
    {
        FImmutable.reset();
        FSizeLimit.reset();
        if (fault == sfReplacedByFolder) {
            ASSERT_TRUE(QDir(SettingsPath()).removeRecursively());
            WriteAll(SettingsPath(), previous);
        }
    }

    // What the fault must leave untouched, read while it is still in place.
    void ExpectIntact(TSettingsFault fault, const QByteArray& previous)
    {
        if (fault == sfReplacedByFolder) {
            EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
            EXPECT_EQ(Entries(SettingsPath()), QStringList{QStringLiteral("inside.txt")});
            EXPECT_EQ(ReadAll(SettingsPath() + QStringLiteral("/inside.txt")), FInside);
        } else {
            EXPECT_EQ(Settings(), previous) << "the previous settings file, byte for byte";
        }
    }

    const QByteArray FInside = "another program's file\r\n";
    std::optional<TImmutableGuard> FImmutable;
    std::optional<TFileSizeLimit> FSizeLimit;
};

TEST_P(SettingsWriteFaultTest, IsReportedAndTheFileAndWindowSurvive)
{
    const TSettingsFaultCase c = GetParam();
    ASSERT_NO_FATAL_FAILURE(WritePreviousFile());
    TForm1& form = Open();
    ASSERT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
    Choose(form, 0);
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QByteArray previous = Settings();
    const QStringList folderBefore = Entries(FFolder.path());
    if (!Inject(c.Fault)) {
        Lift(c.Fault, previous);
        GTEST_SKIP() << "this fault cannot be produced on this machine";
    }

    switch (c.Write) {
    case swClose:
        form.Edit1->setText(QStringLiteral("Changed"));
        EXPECT_TRUE(form.close());
        EXPECT_FALSE(form.isVisible()) << "the window closes all the same";
        break;
    case swAddStyle:
        AnswerEveryBox(QStringLiteral("Blue"));
        form.MmAdd->trigger();
        break;
    case swDeleteStyle:
        AnswerEveryBox(QString());
        form.MmDel->trigger();
        break;
    }
    // Test output may go to a file: the size limit ends before anything is reported.
    FSizeLimit.reset();
    EXPECT_EQ(FErrors, QStringList{WriteError(FaultReason(c.Fault))}) << "once, with its reason";
    ExpectIntact(c.Fault, previous);
    Lift(c.Fault, previous);
    EXPECT_EQ(Settings(), previous);
    EXPECT_EQ(Entries(FFolder.path()), folderBefore) << "no temporary file is left behind";
    FErrors.clear();

    switch (c.Write) {
    case swClose: {
        // The next start finds the previous settings.
        TForm1& next = Open();
        EXPECT_EQ(next.Edit1->text(), QStringLiteral("Kept"));
        EXPECT_EQ(ToQStringList(next.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
        ExpectConsistent(next);
        break;
    }
    case swAddStyle:
        // The list never holds a style that was not stored.
        EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
        EXPECT_EQ(form.CbStyle->currentText(), QStringLiteral("Red"));
        ExpectUsable(form);
        break;
    case swDeleteStyle:
        EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")}) << "nothing was deleted";
        ExpectUsable(form);
        // Once the fault is gone the same deletion succeeds.
        AnswerEveryBox(QString());
        Choose(form, 0);
        form.MmDel->trigger();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        EXPECT_FALSE(Settings().contains("[Red]"));
        break;
    }
}

std::vector<TSettingsFaultCase> AllSettingsFaultCases()
{
    std::vector<TSettingsFaultCase> cases;
    for (TSettingsFault fault : {sfFolderImmutable, sfFileImmutable, sfDeviceFull, sfReplacedByFolder}) {
        for (TSettingsWrite write : {swClose, swAddStyle, swDeleteStyle})
            cases.push_back({fault, write});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsWriteFaultTest, ::testing::ValuesIn(AllSettingsFaultCases()),
                         [](const ::testing::TestParamInfo<TSettingsFaultCase>& info) { return FaultCaseName(info.param); });

// --- Reading an odd settings file ---

TEST_F(FaultInjectionTest, AFolderInPlaceOfTheSettingsFileStartsWithTheDefaults)
{
    ASSERT_TRUE(QDir().mkdir(SettingsPath()));
    TForm1& form = Open();
    EXPECT_TRUE(FErrors.isEmpty()) << "reads never fail: " << FErrors.join('\n').toStdString();
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev"));
    EXPECT_EQ(form.CurrentParams().BgColor, 0x808080u);
    EXPECT_EQ(form.StyleItems().Count(), 0);
    ExpectConsistent(form);
    form.close();
    EXPECT_EQ(FErrors, QStringList{WriteError(EISDIR)});
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
    EXPECT_TRUE(Entries(SettingsPath()).isEmpty());
}

TEST_F(FaultInjectionTest, ASettingsFileDeletedBetweenTwoReadsGivesTheDefaultsOfAMissingSection)
{
    ASSERT_NO_FATAL_FAILURE(WritePreviousFile());
    QByteArray bytes = Settings();
    bytes.replace("[Red]\r\nBGCOLOR=0x00808080", "[Red]\r\nBGCOLOR=0x000000FF");
    WriteAll(SettingsPath(), bytes);
    TForm1& form = Open();
    Choose(form, 0);
    ASSERT_EQ(form.CurrentParams().BgColor, 0x0000FFu) << "the first read sees the file";
    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x00123456);
        return true;
    };
    ClickCell(*form.MbColor, 1);
    form.Edit1->setText(QStringLiteral("typed"));

    ASSERT_TRUE(QFile::remove(SettingsPath()));
    Choose(form, 0);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_EQ(form.CurrentParams().BgColor, 0x808080u) << "a missing BGCOLOR is grey";
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev")) << "a missing TEXT is the default text";
    EXPECT_EQ(form.Gbox->TopColor(), 0x123456u) << "other missing keys keep the current value";
    EXPECT_EQ(form.MbMix->SelectedCell(), 2);
    EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")}) << "a missing list keeps the list";
    ExpectConsistent(form);
    EXPECT_FALSE(QFile::exists(SettingsPath())) << "reading creates nothing";

    form.close();
    EXPECT_TRUE(FErrors.isEmpty());
    const QByteArray written = Settings();
    EXPECT_TRUE(written.contains("TEXT=Vezodev\r\n"));
    EXPECT_TRUE(written.contains("STYLE.Count=1\r\nSTYLE.0=Red\r\n"));
}

TEST_F(FaultInjectionTest, AnEditByAnotherProgramBetweenTwoCallsIsSeenAndKept)
{
    ASSERT_NO_FATAL_FAILURE(WritePreviousFile());
    TForm1& form = Open();
    QByteArray bytes = Settings();
    const qsizetype red = bytes.indexOf("[Red]");
    ASSERT_GE(red, 0);
    const qsizetype text = bytes.indexOf("TEXT=Kept\r\n", red);
    ASSERT_GE(text, 0);
    bytes.replace(text, 11, "TEXT=Edited elsewhere\r\n");
    const QByteArray foreign = "; written by another program\r\n[Other]\r\nKey = value kept as it is \r\n";
    bytes += foreign;
    {
        QFile other(SettingsPath());
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        ASSERT_EQ(other.write(bytes), bytes.size());
    }

    Choose(form, 0);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Edited elsewhere")) << "nothing is cached between calls";
    ExpectConsistent(form);

    AnswerEveryBox(QStringLiteral("Blue"));
    form.MmAdd->trigger();
    form.close();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QByteArray after = Settings();
    EXPECT_TRUE(after.contains(foreign)) << "the other program's lines stay byte for byte";
    EXPECT_TRUE(after.contains("[Red]")) << after.toStdString();
    EXPECT_TRUE(after.contains("TEXT=Edited elsewhere\r\n"));
    EXPECT_TRUE(after.contains("STYLE.0=Red\r\nSTYLE.1=Blue\r\n"));
}

// Every way the window's own file can end early: each prefix of it starts a window that
// either shows one conversion error or reads what is there, never writes at start, and
// builds a consistent logo.
TEST_F(FaultInjectionTest, ASettingsFileCutAtAnyByteStartsAUsableWindow)
{
    {
        TForm1& form = Open();
        form.Edit1->setText(QString::fromUtf8("ロゴ"));
        ClickCell(*form.MbGra, 2);
        form.EdVs->SetText(QStringLiteral("4"));
        form.close();
        FForm.reset();
    }
    const QByteArray whole = Settings();
    ASSERT_FALSE(whole.isEmpty());
    const QRegularExpression conversionError(QString::fromUtf8("^'\\$[^']*' は整数ではありません$"));
    const qsizetype textLineEnd = whole.indexOf("\r\n", whole.indexOf("TEXT=")) + 2;
    int refused = 0;
    int complete = 0;
    for (qsizetype length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut after " << length << " bytes: " << whole.left(length).right(20).toStdString());
        FErrors.clear();
        const QByteArray cut = whole.left(length);
        WriteAll(SettingsPath(), cut);
        TForm1& form = Open();
        ASSERT_LE(FErrors.size(), 1);
        if (!FErrors.isEmpty()) {
            EXPECT_TRUE(conversionError.match(FErrors[0]).hasMatch()) << FErrors[0].toStdString();
            ++refused;
        } else if (length >= textLineEnd) {
            EXPECT_EQ(form.Edit1->text(), QString::fromUtf8("ロゴ"));
            ++complete;
        }
        EXPECT_EQ(Settings(), cut) << "starting writes nothing";
        ExpectConsistent(form);
        if (HasFailure())
            break;
    }
    EXPECT_GT(refused, 0) << "some cuts leave a colour that does not convert";
    EXPECT_GT(complete, 0);
}

// The half character reads as a replacement character; what the window showed is
// what the next start shows, and the file becomes valid code page 932 again.
TEST_F(FaultInjectionTest, ALineCutInsideADoubleByteCharacterComesBackAsTheWindowShowedIt)
{
    const QByteArray text = QByteArray::fromStdString(*TryEncodeShiftJis(u"ロゴ"));
    WriteAll(SettingsPath(), "[OPTION]\r\nTEXT=" + text.left(3));
    TForm1& form = Open();
    EXPECT_TRUE(FErrors.isEmpty());
    EXPECT_EQ(form.Edit1->text(), QString::fromUtf8("ロ\uFFFD"));
    ExpectConsistent(form);
    form.close();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_TRUE(Settings().contains("TEXT=" + text.left(2) + "?\r\n")) << Settings().toStdString();
    EXPECT_EQ(Open().Edit1->text(), QString::fromUtf8("ロ\uFFFD"));
}

// A long file of other sections before the window's own, so that every lookup reads
// past all of it.
QByteArray LongSettingsFile(qsizetype minimumSize, const QByteArray& own)
{
    QByteArray bytes;
    bytes.reserve(minimumSize + own.size() + 200);
    const QByteArray filler(80, 'x');
    for (int section = 0; bytes.size() < minimumSize; ++section) {
        bytes += "[Other" + QByteArray::number(section) + "]\r\n";
        for (int key = 0; key < 100 && bytes.size() < minimumSize; ++key)
            bytes += "Key" + QByteArray::number(key) + '=' + filler + "\r\n";
    }
    return bytes + own;
}

TEST_F(FaultInjectionTest, ATenMegabyteSettingsFileStartsInReasonableTime)
{
    const QByteArray own = "[OPTION]\r\nTEXT=Far down\r\nMIXTYPE=3\r\nHSPACE=9\r\n[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=Red\r\n"
                           "[Red]\r\nTEXT=Red text\r\n";
    const QByteArray bytes = LongSettingsFile(10 * 1024 * 1024, own);
    WriteAll(SettingsPath(), bytes);

    QElapsedTimer timer;
    timer.start();
    TForm1& form = Open();
    const qint64 startMs = timer.elapsed();
    timer.restart();
    Choose(form, 0);
    const qint64 chooseMs = timer.elapsed();
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Red text"));
    EXPECT_EQ(form.MbMix->SelectedCell(), 3);
    EXPECT_EQ(form.EdHs->Text(), QStringLiteral("9"));
    ExpectConsistent(form);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_EQ(Settings(), bytes) << "reading changes nothing";

    timer.restart();
    form.close();
    const qint64 closeMs = timer.elapsed();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QByteArray after = Settings();
    EXPECT_TRUE(after.startsWith(bytes.left(bytes.size() - own.size()))) << "the other sections stay byte for byte";
    EXPECT_TRUE(after.contains("TEXT=Red text\r\n"));

    std::cout << "[ MEASURED ] " << bytes.size() << " byte settings file: start " << startMs << " ms, choosing a style "
              << chooseMs << " ms, close " << closeMs << " ms" << std::endl;
    EXPECT_LT(startMs, 10000);
    EXPECT_LT(chooseMs, 10000);
}

TEST_F(FaultInjectionTest, ATenMegabyteLineIsReadCutToTheBuffer)
{
    const QByteArray value(10 * 1024 * 1024, 'W');
    WriteAll(SettingsPath(), "[OPTION]\r\nTEXT=" + value + "\r\nMIXTYPE=4\r\n");
    TForm1& form = Open();
    EXPECT_EQ(form.MbMix->SelectedCell(), 4) << "the key after the long line is read";
    EXPECT_EQ(form.Edit1->text(), QString(1023, QLatin1Char('W')));
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    ExpectConsistent(form);
}

// Values of 100,000 characters arrive cut to what the 1024-character read buffer holds:
// 1023 bytes of code page 932, a double-byte character that would be split left out.
TEST_F(FaultInjectionTest, AHundredThousandCharacterValueIsReadCutToTheBuffer)
{
    const struct {
        const char* Name;
        QString Stored;
        QString Read;
    } cases[] = {
        {"SingleByte", QString(100000, QLatin1Char('i')), QString(1023, QLatin1Char('i'))},
        {"DoubleByte", QString(100000, QChar(u'ロ')), QString(511, QChar(u'ロ'))},
        {"Mixed", QLatin1Char('i') + QString(99999, QChar(u'ロ')), QLatin1Char('i') + QString(511, QChar(u'ロ'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FErrors.clear();
        const QByteArray stored = QByteArray::fromStdString(*TryEncodeShiftJis(ToText(c.Stored)));
        const QByteArray bytes = "[OPTION]\r\nTEXT=" + stored + "\r\nHSPACE=2\r\n[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=" + stored
            + "\r\nFONT.Name=" + stored + "\r\n";
        WriteAll(SettingsPath(), bytes);
        TForm1& form = Open();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        EXPECT_EQ(form.Edit1->text(), c.Read);
        EXPECT_EQ(form.EdHs->Text(), QStringLiteral("2"));
        EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{c.Read});
        EXPECT_EQ(Settings(), bytes) << "reading changes nothing";
        ExpectConsistent(form);
    }
}

// --- Saving the logo fails ---

enum TSaveFault : unsigned char { fsDeviceFull, fsMissingFolder, fsFolderIsAFile, fsFileImmutable, fsFolderImmutable, fsTargetIsAFolder };

struct TSaveFaultCase {
    TSaveFault Fault;
    const char* Name;
};

void PrintTo(const TSaveFaultCase& c, std::ostream* out)
{
    *out << c.Name;
}

class SaveFaultTest : public FaultInjectionTest, public ::testing::WithParamInterface<TSaveFaultCase> {
protected:
    static QString CreateError(const QString& target, int reason)
    {
        return QString::fromUtf8("ﾌｧｲﾙ %1 を作成できません (%2)").arg(target, SystemErrorText(reason));
    }
    void SetUp() override
    {
        FaultInjectionTest::SetUp();
        ASSERT_TRUE(FOutput.isValid());
    }
    QTemporaryDir FOutput;
};

TEST_P(SaveFaultTest, IsReportedAndTheOldFileAndWindowSurvive)
{
    const TSaveFault fault = GetParam().Fault;
    TForm1& form = Open();
    // The settings file remembers an earlier save.
    const QString earlier = FOutput.filePath(QStringLiteral("earlier.bmp"));
    SaveAs(form, earlier);
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QByteArray settings = Settings();

    const QByteArray old(200, 'x');
    QString target = FOutput.filePath(QStringLiteral("logo.bmp"));
    std::optional<TImmutableGuard> immutable;
    std::optional<TFileSizeLimit> sizeLimit;
    QString expected;
    switch (fault) {
    case fsDeviceFull:
        WriteAll(target, old);
        expected = QString::fromUtf8("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (%1: %2)").arg(target, SystemErrorText(EFBIG));
        break;
    case fsMissingFolder:
        target = FOutput.filePath(QStringLiteral("missing/logo.bmp"));
        expected = CreateError(target, ENOENT);
        break;
    case fsFolderIsAFile:
        WriteAll(FOutput.filePath(QStringLiteral("plain")), old);
        target = FOutput.filePath(QStringLiteral("plain/logo.bmp"));
        expected = CreateError(target, ENOTDIR);
        break;
    case fsFileImmutable:
        WriteAll(target, old);
        immutable.emplace(target);
        expected = CreateError(target, EPERM);
        break;
    case fsFolderImmutable:
        WriteAll(target, old);
        immutable.emplace(FOutput.path());
        expected = CreateError(target, EPERM);
        break;
    case fsTargetIsAFolder:
        ASSERT_TRUE(QDir().mkdir(target));
        expected = CreateError(target, EISDIR);
        break;
    }
    if (immutable && !immutable->Applied())
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    const QStringList entries = Entries(FOutput.path());
    TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
        EXPECT_EQ(dialog.FileName(), earlier) << "the dialog offers the last saved file";
        dialog.SetFileName(target);
        return true;
    };
    if (fault == fsDeviceFull) {
        sizeLimit.emplace(1000);
        if (!sizeLimit->Applied())
            GTEST_SKIP() << "the file-size limit cannot be set here";
    }
    form.BtSave->click();
    sizeLimit.reset();

    EXPECT_EQ(FErrors, QStringList{expected});
    EXPECT_EQ(Entries(FOutput.path()), entries) << "no file is made, none is left behind";
    if (fault == fsDeviceFull || fault == fsFileImmutable || fault == fsFolderImmutable) {
        EXPECT_EQ(ReadAll(target), old) << "the old file, byte for byte";
    }
    if (fault == fsFolderIsAFile) {
        EXPECT_EQ(ReadAll(FOutput.filePath(QStringLiteral("plain"))), old);
    }
    EXPECT_EQ(Settings(), settings) << "a failed save is not remembered";
    immutable.reset();
    FErrors.clear();
    ExpectUsable(form);

    // Saving somewhere else works again.
    const QString elsewhere = FOutput.filePath(QStringLiteral("elsewhere.bmp"));
    SaveAs(form, elsewhere);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_TRUE(QImage(elsewhere).convertToFormat(QImage::Format_RGB32) == BitmapImageCopy(form.Img->Picture()));
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultTest,
                         ::testing::Values(TSaveFaultCase{fsDeviceFull, "OntoAFullDevice"},
                                           TSaveFaultCase{fsMissingFolder, "IntoAMissingFolder"},
                                           TSaveFaultCase{fsFolderIsAFile, "IntoAFolderThatIsAFile"},
                                           TSaveFaultCase{fsFileImmutable, "OntoAFileThatCannotBeWritten"},
                                           TSaveFaultCase{fsFolderImmutable, "IntoAFolderThatCannotBeWritten"},
                                           TSaveFaultCase{fsTargetIsAFolder, "OntoAFolder"}),
                         [](const ::testing::TestParamInfo<TSaveFaultCase>& info) { return std::string(info.param.Name); });

} // namespace
