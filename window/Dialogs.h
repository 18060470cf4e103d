#pragma once
// The modal boxes of the calculator window behind one small interface: in the
// program they are Qt's own message and input boxes; in a scripted session
// they answer from the session's queue and record what they showed, so no
// modal loop ever waits for a person.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/CalculatorView.h"
#include "window/SessionLog.h"

class QWidget;

namespace tallyroll {

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A box with one OK button; returns when it is closed.
    virtual void message(QWidget* parent, const std::string& title, const std::string& text,
                         MessageIcon icon) = 0;
    // The answer typed, or nothing when the box was cancelled.
    virtual std::optional<std::string> input(QWidget* parent, const std::string& prompt,
                                             const std::string& title,
                                             const std::string& defaultText) = 0;
    // A file dialog: the path chosen, or nothing when cancelled. `filter` is
    // in Qt's form ("Tape files (*.tape)"); `suffix` is added to a saved
    // name typed without one.
    virtual std::optional<std::string> file(QWidget* parent, const std::string& title,
                                            FileMode mode, const std::string& filter,
                                            const std::string& suffix) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool question(QWidget* parent, const std::string& title, const std::string& text) = 0;
    // A list to pick one entry of, the first one selected: the index picked,
    // or nothing when cancelled.
    virtual std::optional<int> choose(QWidget* parent, const std::string& title,
                                      const std::string& label,
                                      const std::vector<std::string>& items) = 0;
};

// QMessageBox and QInputDialog.
std::shared_ptr<Dialogs> MakeQtDialogs();

// Records into the log; input boxes, file dialogs and questions take its queued answers.
std::shared_ptr<Dialogs> MakeScriptedDialogs(SessionLog& log);

}  // namespace tallyroll
