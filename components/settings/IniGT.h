#pragma once

#include "platform/raster/Color.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
// Folder parts are recognised by "\", ":" and, on Linux, "/": FileName is text with the
// component's own rules, not a path of this system.
class TIniGT {
public:
    // programFile is the program file whose folder and name ddApplication and Loaded
    // use; empty means the running program.
    explicit TIniGT(const std::filesystem::path& programFile = {});
    virtual ~TIniGT();
    TIniGT(const TIniGT&) = delete;
    TIniGT& operator=(const TIniGT&) = delete;

    TIniGTDefaultDir DefaultDir() const { return FDefaultDir; }
    void SetDefaultDir(TIniGTDefaultDir value);
    const std::u16string& FileName() const { return FFileName; }
    void SetFileName(std::u16string_view value);
    TIniGTFence Fence() const { return FFence; }
    void SetFence(TIniGTFence value);

    // True until Fence is first assigned, whatever the value.
    bool FenceUnset() const { return FFenceUnset; }
    // The path the profile functions are called with.
    std::filesystem::path FullPath() const { return FFullPath; }
    // There is no form designer: the designing state is always off.
    bool Designing() const { return false; }

    // Would be called by a form designer when a store leaves fnVer11Mode, with a caption
    // and a text; never called at run time.
    std::function<void(const std::u16string& caption, const std::u16string& text)> OnDesignWarning;

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

    std::u16string ReadRawString(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view defaultValue) const;
    void WriteRawString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    std::u16string ReadString(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue) const;
    void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const;
    void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
    std::int32_t ReadHex(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const;
    void WriteHex(std::u16string_view section, std::u16string_view key, std::int32_t value);
    TColor ReadColor(std::u16string_view section, std::u16string_view key, TColor defaultValue) const;
    void WriteColor(std::u16string_view section, std::u16string_view key, TColor value);
    void EraseSection(std::u16string_view section);
    // Removes the key (and its companion) from the section; a missing key changes nothing.
    void DeleteKey(std::u16string_view section, std::u16string_view key);

    // A list as prefix.Count and prefix.0 .. prefix.(Count-1).
    void WriteStrings(std::u16string_view section, std::u16string_view prefix, const TStrings& list);
    void ReadStrings(std::u16string_view section, std::u16string_view prefix, TStrings& list) const;
    // A font as prefix.Name, prefix.Size (points), prefix.Style (bits) and prefix.Color.
    void WriteFont(std::u16string_view section, std::u16string_view prefix, const TFont& font);
    // A stored size whose height passes maxHeight pixels (when given) is limited to it,
    // before it is turned into a height.
    void ReadFont(std::u16string_view section, std::u16string_view prefix, TFont& font, int maxHeight = 0);
    // A widget's left and top, in its parent's coordinates, as prefix.X and prefix.Y.
    // Any control with pos() (giving x() and y()) and move(x, y), such as a QWidget; a
    // template, so the store itself needs no widgets library.
    template <typename TControl>
    void WritePosition(std::u16string_view section, std::u16string_view prefix, const TControl& control)
    {
        TUpdate update(*this);
        WriteInteger(section, SubKey(prefix, u"X"), control.pos().x());
        WriteInteger(section, SubKey(prefix, u"Y"), control.pos().y());
        update.Commit();
    }
    // Two moves, left first; neither coordinate is limited to the screen or the parent.
    template <typename TControl>
    void ReadPosition(std::u16string_view section, std::u16string_view prefix, TControl& control) const
    {
        control.move(ReadInteger(section, SubKey(prefix, u"X"), control.pos().x()), control.pos().y());
        control.move(control.pos().x(), ReadInteger(section, SubKey(prefix, u"Y"), control.pos().y()));
    }
    // The key of one part of a value stored under prefix: prefix, ".", part.
    static std::u16string SubKey(std::u16string_view prefix, std::u16string_view part);

    // The file name Loaded derives from a program file: its name with the extension
    // ".INI", letters A-Z lower-cased and a first letter a-z made upper case.
    static std::u16string DefaultFileName(const std::filesystem::path& programFile);
    // The value as WriteString stores it under fence.
    static std::u16string Enclose(std::u16string_view value, TIniGTFence fence);
    // What ReadString makes of the raw text under fence: at most one pair removed.
    static std::u16string Unenclose(std::u16string_view text, TIniGTFence fence);
    // The first character of text that the file cannot hold as it is (one CP932 has
    // no code for, a line break or NUL), or an empty string when it holds them all.
    // A section or key name must hold them all; a value may not, see above.
    static std::u16string FirstUnstorableCharacter(std::u16string_view text);
    // The per-user configuration folder, which ddWindows uses: $XDG_CONFIG_HOME when
    // it is an absolute path, else ~/.config; no trailing "/".
    static std::filesystem::path ConfigurationFolder();

private:
    struct TPending;

    std::u16string ProgramFile() const;
    void Resolve();
    // The write error with the system's reason for error, or with a reason of our own.
    [[noreturn]] void RaiseWriteError(int error) const;
    [[noreturn]] void RaiseWriteError(std::u16string_view reason) const;
    // Runs change on the pending update's text, or on the file's in an update of its
    // own; a change that returns false raises the write error with reason.
    template <typename TChange>
    void Change(TChange change, std::u16string_view reason);
    // The value of key as the reads deliver it, companion taken into account, or
    // nothing when the key is missing.
    std::optional<std::u16string> ReadStored(std::u16string_view section, std::u16string_view key) const;
    std::unique_ptr<TProfileText> LoadText() const;

    bool FFenceUnset = true;
    std::u16string FFullPath;
    TIniGTDefaultDir FDefaultDir = ddApplication;
    std::u16string FFileName;
    TIniGTFence FFence = fnNone;
    std::u16string FProgramFile;
    std::unique_ptr<TPending> FPending;
    std::shared_ptr<const TProfileText> FHeld;
    int FUpdateDepth = 0;
};
