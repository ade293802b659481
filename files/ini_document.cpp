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
        if (line.front() == '[' && line.find(']') != std::string_view::npos) {
            doc.sections_.push_back({std::string(Trim(line.substr(1, line.find(']') - 1))), {}});
            continue;
        }
        const auto eq = line.find('=');
        Line entry;
        if (eq != std::string_view::npos && !Trim(line.substr(0, eq)).empty()) {
            entry.key = Trim(line.substr(0, eq));
            entry.text = Trim(line.substr(eq + 1));
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

}  // namespace qx40
