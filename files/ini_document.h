// An INI file held whole in memory: sections in brackets, key=value lines.
// Section and key names match without regard to letter case; lines the
// program does not know (other sections, comments) survive a rewrite.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx40 {

class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    // CRLF line ends, a blank line between sections.
    std::string Serialize() const;

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    bool HasKey(std::string_view section, std::string_view key) const { return Get(section, key).has_value(); }
    bool HasSection(std::string_view section) const;
    // Overwrites the key where it stands, or appends it to the section,
    // which is appended to the file when it does not exist.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);

private:
    struct Line {
        std::string key;  // empty for a line that is not key=value
        std::string text; // the value, or the whole line
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    const Section* Find(std::string_view section) const;

    std::vector<std::string> preamble_;  // lines before the first section
    std::vector<Section> sections_;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

struct IniValue {
    std::string key;
    std::string value;
};

// Sets keys of one section in the text of an INI file and leaves every other
// byte as it was: a key's line is rewritten where it stands (with the key as
// the file spells it and its own line end), a key the section lacks goes
// after the section's last line, a section the file lacks to its end. Names
// match as IniDocument matches them, the first occurrence winning. New lines
// end like the file's first line, CR LF in an empty file.
std::string UpdateIniText(std::string_view text, std::string_view section, std::span<const IniValue> values);

}  // namespace qx40
