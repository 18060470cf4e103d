#pragma once
// Everything the calculator window offers beside its keypad and tape: the
// access keys, the clipboard and the tape's menu, tape files, undo, zoom,
// help, key echo for screen readers, and the kept tape with its restore.
// Each reaches the window only through its CommandHost.

#include <memory>

namespace tallyroll {

class CommandHost;
class TapeJournal;

class WindowFeatures {
  public:
    // Installs every feature, in the order the help lists their keys.
    explicit WindowFeatures(CommandHost& window);
    ~WindowFeatures();
    WindowFeatures(const WindowFeatures&) = delete;
    WindowFeatures& operator=(const WindowFeatures&) = delete;

  private:
    std::unique_ptr<TapeJournal> journal_;  // null without a folder of kept tapes
};

}  // namespace tallyroll
