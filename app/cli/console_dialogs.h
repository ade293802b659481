// Message boxes for the command-line tool: each becomes one line on the
// error stream; questions are answered No and choosers cancelled, so nothing
// happens that a user at a terminal did not ask for.
#pragma once

#include <ostream>
#include <string>

#include "base/user_dialogs.h"

namespace qx40 {

class ConsoleDialogs : public UserDialogs {
public:
    explicit ConsoleDialogs(std::ostream& err) : err_(err) {}
    MessageAnswer Show(const UserMessage& message) override {
        err_ << "qx40cli: " << message.caption << ": " << OneLine(message.text) << '\n';
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }

    std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override { return std::nullopt; }

    // Line breaks become spaces.
    static std::string OneLine(const std::string& text) {
        std::string line;
        for (const char c : text)
            if (c == '\n') line += ' ';
            else if (c != '\r') line += c;
        return line;
    }

private:
    std::ostream& err_;
};

}  // namespace qx40
