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

enum class FileMode { Open, Save };

struct LoggedFile {
    std::string title;
    FileMode mode = FileMode::Open;
    std::optional<std::string> answer;  // nothing when cancelled
};

struct LoggedQuestion {
    std::string title, text;
    bool yes = false;
};

struct LoggedChoice {
    std::string title, label;
    std::vector<std::string> items;
    std::optional<int> answer;  // nothing when cancelled
};

struct SessionLog {
    std::vector<LoggedMessage> messages;
    std::vector<LoggedInput> inputs;
    std::vector<std::string> printed;  // one JSON object per printer operation
    int beeps = 0;
    std::deque<std::optional<std::string>> answers;  // for the next input boxes, in order
    std::vector<LoggedFile> files;
    std::vector<LoggedQuestion> questions;
    std::deque<std::optional<std::string>> fileAnswers;  // for the next file dialogs
    std::deque<bool> questionAnswers;                    // for the next yes/no questions
    std::vector<LoggedChoice> choices;                   // lists shown (not in the dumps)
    std::deque<std::optional<int>> choiceAnswers;        // for the next lists

    // Answers an input box from the queue (cancelled when empty) and logs it.
    std::optional<std::string> answerInput(const std::string& title, const std::string& prompt) {
        const std::optional<std::string> answer = Next(answers, std::nullopt);
        inputs.push_back({title, prompt, answer});
        return answer;
    }

    // A file dialog: the queued path, cancelled when none is queued.
    std::optional<std::string> answerFile(const std::string& title, FileMode mode) {
        const std::optional<std::string> answer = Next(fileAnswers, std::nullopt);
        files.push_back({title, mode, answer});
        return answer;
    }

    // A yes/no question: the queued answer, "no" when none is queued.
    bool answerQuestion(const std::string& title, const std::string& text) {
        const bool yes = Next(questionAnswers, false);
        questions.push_back({title, text, yes});
        return yes;
    }

    // A list: the queued entry (cancelled when it is not one of the list's),
    // the first, preselected one when none is queued.
    std::optional<int> answerChoice(const std::string& title, const std::string& label,
                                    const std::vector<std::string>& items) {
        std::optional<int> answer = Next(choiceAnswers, 0);
        if (answer && (*answer < 0 || *answer >= static_cast<int>(items.size())))
            answer = std::nullopt;
        choices.push_back({title, label, items, answer});
        return answer;
    }

  private:
    // The first queued answer, taken off the queue; `otherwise` when none is queued.
    template <typename T, typename U>
    static T Next(std::deque<T>& queue, U otherwise) {
        if (queue.empty()) return T(otherwise);
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

}  // namespace tallyroll
