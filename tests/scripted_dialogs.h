// Answers message boxes, file dialogs and the colour chooser from a script
// and records every one shown.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "base/user_dialogs.h"

namespace qx40::testing_support {

class ScriptedDialogs : public UserDialogs {
public:
    MessageAnswer Show(const UserMessage& message) override {
        shown.push_back(message);
        if (onShow) onShow(message);
        if (message.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::No;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseFile(const FileRequest& request) override {
        files.push_back(request);
        if (chosen.empty()) return std::nullopt;
        std::optional<std::string> path = chosen.front();
        chosen.pop_front();
        return path;
    }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t initial, const std::string& title) override {
        colourRequests.push_back({initial, title});
        if (onChooseColour) onChooseColour();
        if (colours.empty()) return std::nullopt;
        const std::optional<std::uint32_t> colour = colours.front();
        colours.pop_front();
        return colour;
    }
    std::deque<MessageAnswer> answers;  // for Yes/No questions, in order; No when empty
    std::vector<UserMessage> shown;
    std::deque<std::optional<std::string>> chosen;  // file dialog results, in order; cancel when empty
    std::vector<FileRequest> files;
    std::function<void(const UserMessage&)> onShow;  // runs while the box is "open"
    struct ColourRequest {
        std::uint32_t initial = 0;
        std::string title;
    };
    std::deque<std::optional<std::uint32_t>> colours;  // chooser results (0x00BBGGRR), in order; cancel when empty
    std::vector<ColourRequest> colourRequests;
    std::function<void()> onChooseColour;  // runs while the chooser is "open"
};

}  // namespace qx40::testing_support
