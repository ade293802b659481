// Every message box and file dialog of the program goes through this
// interface, so the window shows them with the toolkit and tests answer them
// and read what was asked. Texts arrive in the language already chosen;
// line breaks are written "\r\n".
#pragma once

#include <string>

namespace qx40 {

enum class MessageIcon { Error, Warning, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct UserMessage {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual MessageAnswer Show(const UserMessage& message) = 0;
};

// Picks the English or Russian text of a pair.
inline std::string Tr(bool russian, const char* english, const char* russianText) {
    return russian ? russianText : english;
}

}  // namespace qx40
