#pragma once

#include "settings/FileAccess.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

/// An initialisation file ("[Section]" lines, then key=value lines) kept as its lines, so
/// that sections, keys and comments this program does not know survive a rewrite in their
/// order. Section and key names match ignoring ASCII case. Values are trimmed of blanks; a
/// value with blanks at either end is written in double quotes, which reading removes.
class IniFile {
public:
    IniFile() = default;

    /// Reads the file; a missing or unreadable file gives an empty one (and returns false).
    /// `error` (may be null) receives why a file that exists could not be read.
    bool load(const std::string& path, std::string* error = nullptr);
    /// Replaces the contents by the parsed text (LF or CR LF line ends).
    void parse(std::string_view text);
    /// The contents with CR LF line ends.
    std::string text() const;
    /// Writes text() atomically; returns the error text, empty on success.
    std::string save(const std::string& path) const;

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    /// The value of a key, nullopt when the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    /// Section names in file order.
    std::vector<std::string> sections() const;
    /// Keys of a section in file order.
    std::vector<std::string> keys(std::string_view section) const;

    std::string readString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    /// Decimal or "0x" hexadecimal; missing or unreadable gives the default.
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    /// An integer, non-zero is true; missing or unreadable gives the default.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    /// The first character of the text; missing or empty gives the default.
    char readChar(std::string_view section, std::string_view key, char defaultValue) const;

    /// Sets a key; a new key goes after the last key of its section, a new section at the end.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeChar(std::string_view section, std::string_view key, char value);

    void eraseKey(std::string_view section, std::string_view key);
    void eraseSection(std::string_view section);

private:
    struct Line {
        std::string raw;   ///< the line as read, used when the entry is unchanged
        std::string key;   ///< empty for blank, comment and other lines
        std::string value; ///< for key lines
        bool isKey = false;
    };
    struct Section {
        std::string name; ///< empty for lines before the first section
        std::string rawHeader;
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    Section& sectionForWrite(std::string_view name);

    std::vector<Section> m_sections;
};

} // namespace probex
