#include "files/ini_document.h"

#include <algorithm>

namespace qx40 {
namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A trimmed line: a section header gives its name, a key=value line its key.
enum class LineKind { Header, Key, Other };
LineKind Classify(std::string_view line, std::string_view& name) {
    if (line.empty()) return LineKind::Other;
    if (line.front() == '[' && line.find(']') != std::string_view::npos) {
        name = Trim(line.substr(1, line.find(']') - 1));
        return LineKind::Header;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty()) return LineKind::Other;
    name = Trim(line.substr(0, eq));
    return LineKind::Key;
}

// One line of a text with its line end.
struct RawLine {
    std::string_view body;  // without the line end
    std::string_view end;   // "\r\n", "\n" or empty at the end of the text
};

std::vector<RawLine> SplitLines(std::string_view text) {
    std::vector<RawLine> lines;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view body = text.substr(0, nl);
        std::string_view end;
        if (nl != std::string_view::npos) {
            const bool cr = body.ends_with('\r');
            if (cr) body.remove_suffix(1);
            end = text.substr(body.size(), cr ? 2 : 1);
        }
        lines.push_back({body, end});
        text.remove_prefix(body.size() + end.size());
    }
    return lines;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

IniDocument IniDocument::Parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    IniDocument doc;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string_view line = Trim(raw);
        if (line.empty()) continue;
        std::string_view name;
        const LineKind kind = Classify(line, name);
        if (kind == LineKind::Header) {
            doc.sections_.push_back({std::string(name), {}});
            continue;
        }
        Line entry;
        if (kind == LineKind::Key) {
            entry.key = name;
            entry.text = Trim(line.substr(line.find('=') + 1));
        } else {
            entry.text = raw;
        }
        if (doc.sections_.empty())
            doc.preamble_.push_back(std::string(raw));
        else
            doc.sections_.back().lines.push_back(std::move(entry));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const std::string& line : preamble_) out += line + "\r\n";
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0 || !preamble_.empty()) out += "\r\n";
        out += "[" + sections_[i].name + "]\r\n";
        for (const Line& line : sections_[i].lines)
            out += line.key.empty() ? line.text + "\r\n" : line.key + "=" + line.text + "\r\n";
    }
    return out;
}

const IniDocument::Section* IniDocument::Find(std::string_view section) const {
    for (const Section& s : sections_)
        if (EqualsIgnoreCase(s.name, section)) return &s;
    return nullptr;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const Section* s = Find(section);
    if (!s) return std::nullopt;
    for (const Line& line : s->lines)
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) return line.text;
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const { return Find(section) != nullptr; }

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    auto s = std::find_if(sections_.begin(), sections_.end(),
                          [&](const Section& x) { return EqualsIgnoreCase(x.name, section); });
    if (s == sections_.end()) {
        sections_.push_back({std::string(section), {}});
        s = sections_.end() - 1;
    }
    for (Line& line : s->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) {
            line.text = value;
            return;
        }
    }
    s->lines.push_back({std::string(key), std::string(value)});
}

void IniDocument::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return EqualsIgnoreCase(s.name, section); });
}

std::string UpdateIniText(std::string_view text, std::string_view section, std::span<const IniValue> values) {
    std::string out;
    if (text.starts_with("\xEF\xBB\xBF")) {
        out = text.substr(0, 3);
        text.remove_prefix(3);
    }
    const std::vector<RawLine> lines = SplitLines(text);
    std::string_view newline = "\r\n";
    for (const RawLine& l : lines)
        if (!l.end.empty()) {
            newline = l.end;
            break;
        }

    // The first section of that name: its header and the line after its last
    // non-blank line (blank lines before the next header stay where they are).
    std::size_t header = lines.size(), last = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        const LineKind kind = Classify(Trim(lines[i].body), name);
        if (header == lines.size()) {
            if (kind == LineKind::Header && EqualsIgnoreCase(name, section)) header = last = i;
            continue;
        }
        if (kind == LineKind::Header) break;
        if (!Trim(lines[i].body).empty()) last = i;
    }

    std::vector<std::optional<std::string>> replaced(lines.size());  // else the line stays as it was
    std::string added;
    for (const IniValue& v : values) {
        bool found = false;
        for (std::size_t i = header + 1; header < lines.size() && i <= last && !found; ++i) {
            std::string_view name;
            if (Classify(Trim(lines[i].body), name) != LineKind::Key || !EqualsIgnoreCase(name, v.key)) continue;
            replaced[i] = std::string(name) + "=" + v.value;
            found = true;
        }
        if (!found) added += v.key + "=" + v.value + std::string(newline);
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += replaced[i] ? std::string_view(*replaced[i]) : lines[i].body;
        if (i == last && !added.empty()) {
            out += lines[i].end.empty() ? newline : lines[i].end;
            out += added;
            added.clear();
        } else {
            out += lines[i].end;
        }
    }
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().end.empty()) out += newline;
        if (!lines.empty()) out += newline;
        out += "[" + std::string(section) + "]" + std::string(newline) + added;
    }
    return out;
}

}  // namespace qx40
