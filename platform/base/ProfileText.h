#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A settings (INI) file in code page 932, held as its lines. Each line keeps its
// raw bytes and is decoded only to be interpreted, so a change rewrites the lines
// it touches and leaves every other byte of the file as it was, even bytes that
// are not valid CP932.
//
// Section and key names match without regard to the case of A-Z; spaces around
// the names a caller passes are ignored. Of duplicate sections or keys the first
// one counts.
class TProfileText {
public:
    explicit TProfileText(std::string_view bytes = {});

    // The value of key in section, or defaultValue (less its trailing spaces)
    // when either is missing. One pair of matching outer quotes is removed. The
    // result holds at most bufferSize - 1 bytes of CP932; a double-byte
    // character that would be cut in half is left out.
    std::u16string Read(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue,
                        int bufferSize) const;

    // The value of key in section as its line holds it (outer blanks trimmed, quotes
    // still on, not cut), or nothing when either is missing.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;

    // Sets key in section to value, replacing the key's line or adding one after
    // the section's last key, or a new section at the end. Returns false and
    // changes nothing when a name or the value holds a line break or NUL, or a
    // character CP932 cannot hold, and when a name would not read back as written
    // (outer tabs; a key starting with "[" or ";" or holding "=").
    bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // Removes the line of key in section; a missing key is no error.
    void DeleteKey(std::u16string_view section, std::u16string_view key);

    // Removes the header and the key lines of section; comments and other lines
    // inside it stay. A missing section is no error.
    void EraseSection(std::u16string_view section);

    std::string Bytes() const;

private:
    enum TLineKind { lkOther, lkComment, lkSection, lkKey };

    struct TLine {
        std::string Raw;      // the line's bytes without its line break
        std::string Ending;   // "\r\n", "\n", or empty on a last line that has none
        TLineKind Kind = lkOther;
        std::u16string Name;  // section or key name, trimmed
        std::u16string Value; // key value, trimmed, quotes still on
    };

    std::vector<TLine> FLines;
    // The first header line of each section, by its name in upper case, so a lookup
    // does not walk the file; made again whenever lines come or go.
    std::unordered_map<std::u16string, std::size_t> FSections;

    void Reindex();
    static TLine ParseLine(std::string raw, std::string ending);
    std::optional<std::size_t> FindSection(std::u16string_view name) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::u16string_view name) const;
    std::size_t LastEntryLine(std::size_t header) const;
    void InsertLine(std::size_t position, std::string raw);
};

// Whether the file holds text as it is: no line break or NUL, which would break the
// line structure, and nothing CP932 cannot encode.
bool ProfileHolds(std::u16string_view text);

// What a key's line holds of a value once it is written: the value less its outer
// blanks (spaces, tabs, vertical tabs).
std::u16string StoredProfileValue(std::u16string_view value);

// The start of text that a read into a buffer of bufferSize characters delivers: at
// most bufferSize - 1 bytes of CP932, without a double-byte character cut in half.
std::u16string CutToProfileBuffer(std::u16string_view text, int bufferSize);
