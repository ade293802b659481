// Every message box, file dialog and colour chooser of the program goes
// through this interface, so the window shows them with the toolkit and
// tests answer them and read what was asked. Texts arrive in the language
// already chosen; line breaks are written "\r\n".
#pragma once

#include <cstdint>
#include <optional>
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

// An open or save dialog. filter pairs descriptions and patterns with
// "|": "QX40 Settings File (*.qxs)|*.qxs|All Files (*.*)|*.*".
struct FileRequest {
    bool save = false;  // a save dialog asks before overwriting
    std::string title;
    std::string folder;
    std::string filter;
    std::string defaultExtension;  // without the dot
    std::string fileName;          // proposed name
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual MessageAnswer Show(const UserMessage& message) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
    // The colour chooser, opened on `initial` (0x00BBGGRR): the colour the
    // user confirmed, or nothing when the user cancels.
    virtual std::optional<std::uint32_t> ChooseColour(std::uint32_t initial, const std::string& title) = 0;
};

// Picks the English or Russian text of a pair.
inline std::string Tr(bool russian, const char* english, const char* russianText) {
    return russian ? russianText : english;
}

}  // namespace qx40
