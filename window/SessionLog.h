#pragma once
// What a scripted session saw: message boxes, input boxes, printer operations
// and beeps, and the answers queued for the next input boxes.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/CalculatorView.h"

namespace tallyroll {

struct LoggedMessage {
    std::string title, text;
    MessageIcon icon = MessageIcon::Information;
};

struct LoggedInput {
    std::string title, prompt;
    std::optional<std::string> answer;  // nothing when cancelled
};

struct SessionLog {
    std::vector<LoggedMessage> messages;
    std::vector<LoggedInput> inputs;
    std::vector<std::string> printed;  // one JSON object per printer operation
    int beeps = 0;
    std::deque<std::optional<std::string>> answers;  // for the next input boxes, in order

    // Answers an input box from the queue (cancelled when empty) and logs it.
    std::optional<std::string> answerInput(const std::string& title, const std::string& prompt) {
        std::optional<std::string> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        inputs.push_back({title, prompt, answer});
        return answer;
    }
};

}  // namespace tallyroll
