#pragma once

#include "platform/raster/Color.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class TFont;
class TProfileText;
class TStrings;

// Where a FileName without a folder part is placed.
enum TIniGTDefaultDir : std::uint8_t {
    ddApplication = 0, // the folder of the program file
    ddWindows = 1,     // the per-user configuration folder
    ddNone = 2,        // nowhere: the name goes to the profile functions as it is
};

// How string values are enclosed in the file.
enum TIniGTFence : std::uint8_t {
    fnDoubleQuote = 0, // "value"; reading strips one pair of double quotes
    fnParenthesis = 1, // ｢value｣; reading strips one pair of corner brackets
    fnVer11Mode = 2,   // ｢value｣; reading strips one pair of either kind
    fnNone = 3,        // written and read as it is
};

// A non-visual component that reads and writes typed values in one INI file. Every
// operation goes straight to the file; nothing is cached, except the pending writes
// of an update (BeginUpdate). Reads give the caller's default for a missing file,
// section or key and never fail, except ReadHex/ReadColor on a malformed value
// (EConvertError). A write that cannot be made raises EIniFileError naming the file's
// full path and the reason; the file then stays as it was.
//
// The file holds code page 932. A string value it cannot hold (a character CP932 has
// no code for, a line break or NUL) is written with each such character replaced by
// "?", and beside it a companion key, the key's name followed by ".Unicode", holds
// the exact text as UTF-8 in which every byte other than a letter, a digit or one of
// -._~!#$&()*+,/:;<=>?@[\]^`{|} is written "%" and two hexadecimal digits. A read takes
// the companion only while the key's own value is still the replaced form of it, so a
// value edited by hand or by a program that knows no companions wins. A value the file
// holds as it is removes the companion, so text CP932 can hold never adds a key.
//
// Folder parts are recognised by "\", ":" and, on Linux, "/".
class TIniGT : public QObject {
    Q_OBJECT
    Q_PROPERTY(int DefaultDir READ DefaultDirProperty WRITE SetDefaultDirProperty)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(int Fence READ FenceProperty WRITE SetFenceProperty)

public:
    // programFile is the program file whose folder and name ddApplication and Loaded
    // use; empty means the running program.
    explicit TIniGT(QObject* owner = nullptr, const QString& programFile = QString());
    ~TIniGT() override;

    TIniGTDefaultDir DefaultDir() const { return FDefaultDir; }
    void SetDefaultDir(TIniGTDefaultDir value);
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& value);
    TIniGTFence Fence() const { return FFence; }
    void SetFence(TIniGTFence value);

    // True until Fence is first assigned, whatever the value.
    bool FenceUnset() const { return FFenceUnset; }
    // The path the profile functions are called with.
    const QString& FullPath() const { return FFullPath; }
    // There is no form designer: the designing state is always off.
    bool Designing() const { return false; }

    // Called once the properties of a stored form have been assigned: an empty
    // FileName becomes the default name in the chosen folder.
    virtual void Loaded();

    // Gathers the writes until the matching EndUpdate, which replaces the file once with
    // all of them, so that a set of values reaches the file whole or not at all; reads
    // in between see the pending writes. The file is read once, by the outermost
    // BeginUpdate. An inner update joins the outer one: only the outermost EndUpdate
    // writes and only the outermost CancelUpdate drops the writes. When EndUpdate
    // cannot replace the file it raises the write error, and the writes are dropped.
    void BeginUpdate();
    void EndUpdate();
    void CancelUpdate();
    // Reads from text instead of the file, for as long as it is held; nothing can be
    // written meanwhile (a write raises the write error). Null lets go of it.
    void HoldText(std::shared_ptr<const TProfileText> text);

    // While an update runs: the system's error number when its reading of the file failed
    // (the reads then give their defaults), 0 when the file was read or is missing.
    int UpdateReadError() const;

    // An update for the lifetime of the guard, cancelled unless Commit ended it.
    class TUpdate {
    public:
        explicit TUpdate(TIniGT& store) : FStore(store) { FStore.BeginUpdate(); }
        ~TUpdate()
        {
            if (!FEnded)
                FStore.CancelUpdate();
        }
        TUpdate(const TUpdate&) = delete;
        TUpdate& operator=(const TUpdate&) = delete;
        void Commit()
        {
            FEnded = true;
            FStore.EndUpdate();
        }

    private:
        TIniGT& FStore;
        bool FEnded = false;
    };

    QString ReadRawString(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteRawString(const QString& section, const QString& key, const QString& value);
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);
    std::int32_t ReadHex(const QString& section, const QString& key, std::int32_t defaultValue) const;
    void WriteHex(const QString& section, const QString& key, std::int32_t value);
    TColor ReadColor(const QString& section, const QString& key, TColor defaultValue) const;
    void WriteColor(const QString& section, const QString& key, TColor value);
    void EraseSection(const QString& section);
    // Removes the key (and its companion) from the section; a missing key changes nothing.
    void DeleteKey(const QString& section, const QString& key);

    // A list as prefix.Count and prefix.0 .. prefix.(Count-1).
    void WriteStrings(const QString& section, const QString& prefix, const TStrings& list);
    void ReadStrings(const QString& section, const QString& prefix, TStrings& list) const;
    // A font as prefix.Name, prefix.Size (points), prefix.Style (bits) and prefix.Color.
    void WriteFont(const QString& section, const QString& prefix, const TFont& font);
    // A stored size whose height passes maxHeight pixels (when given) is limited to it,
    // before it is turned into a height.
    void ReadFont(const QString& section, const QString& prefix, TFont& font, int maxHeight = 0);
    // A widget's left and top, in its parent's coordinates, as prefix.X and prefix.Y.
    // Any control with pos() and move(), such as a QWidget; a template, so the store
    // itself needs no widgets library.
    template <typename TControl>
    void WritePosition(const QString& section, const QString& prefix, const TControl& control)
    {
        TUpdate update(*this);
        WriteInteger(section, prefix + QStringLiteral(".X"), control.pos().x());
        WriteInteger(section, prefix + QStringLiteral(".Y"), control.pos().y());
        update.Commit();
    }
    // Two moves, left first; neither coordinate is limited to the screen or the parent.
    template <typename TControl>
    void ReadPosition(const QString& section, const QString& prefix, TControl& control) const
    {
        control.move(ReadInteger(section, prefix + QStringLiteral(".X"), control.pos().x()), control.pos().y());
        control.move(control.pos().x(), ReadInteger(section, prefix + QStringLiteral(".Y"), control.pos().y()));
    }

    // The file name Loaded derives from a program file: its name with the extension
    // ".INI", letters A-Z lower-cased and a first letter a-z made upper case.
    static QString DefaultFileName(const QString& programFile);
    // The value as WriteString stores it under fence.
    static QString Enclose(const QString& value, TIniGTFence fence);
    // What ReadString makes of the raw text under fence: at most one pair removed.
    static QString Unenclose(const QString& text, TIniGTFence fence);
    // The first character of text that the file cannot hold as it is (one CP932 has
    // no code for, a line break or NUL), or an empty string when it holds them all.
    // A section or key name must hold them all; a value may not, see above.
    static QString FirstUnstorableCharacter(const QString& text);
    // The per-user configuration folder, which ddWindows uses: $XDG_CONFIG_HOME when
    // it is an absolute path, else ~/.config; no trailing "/".
    static QString ConfigurationFolder();

signals:
    // Would be shown by a form designer when a store leaves fnVer11Mode; never
    // emitted at run time.
    void DesignWarning(const QString& caption, const QString& text);

private:
    struct TPending;

    QString ProgramFile() const;
    void Resolve();
    // The write error with the system's reason for error, or with a reason of our own.
    [[noreturn]] void RaiseWriteError(int error) const;
    [[noreturn]] void RaiseWriteError(const QString& reason) const;
    // Runs change on the pending update's text, or on the file's in an update of its
    // own; a change that returns false raises the write error with reason.
    template <typename TChange>
    void Change(TChange change, const QString& reason);
    // The value of key as the reads deliver it, companion taken into account, or
    // nothing when the key is missing.
    std::optional<QString> ReadStored(const QString& section, const QString& key) const;
    std::unique_ptr<TProfileText> LoadText() const;

    int DefaultDirProperty() const { return FDefaultDir; }
    void SetDefaultDirProperty(int value);
    int FenceProperty() const { return FFence; }
    void SetFenceProperty(int value);

    bool FFenceUnset = true;
    QString FFullPath;
    TIniGTDefaultDir FDefaultDir = ddApplication;
    QString FFileName;
    TIniGTFence FFence = fnNone;
    QString FProgramFile;
    std::unique_ptr<TPending> FPending;
    std::shared_ptr<const TProfileText> FHeld;
    int FUpdateDepth = 0;
};
