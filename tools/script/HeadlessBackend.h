#pragma once
// The script driver's backend without a window: the calculation behind the
// headless stand-in, opened as the demo host opens the window.

#include "headless/HeadlessView.h"
#include "tools/script/Backend.h"
#include "window/SessionLog.h"

namespace tallyroll {

class HeadlessBackend : public ScriptBackend {
  public:
    HeadlessBackend(SessionLog& log, LocalDateTime now);

    std::string typeCharacter(char32_t c) override;
    std::string typeKey(SpecialKey key) override;
    std::string typeChord(const KeyChord&) override { return "key chords need the window"; }
    std::string click(const std::string& name, std::optional<int> index) override;
    std::string choose(const std::string& name, int entry) override;
    std::string select(int line) override;
    std::string dblclick(int line) override;
    std::string start(Currency value) override;
    std::string deposit(std::int32_t value) override;
    std::string close() override { return "close needs the window"; }
    std::string rclick(int) override { return "rclick needs the window"; }
    std::string menu(const std::string&) override { return "menu needs the window"; }
    std::string setClipboard(const std::string&) override { return "clipboard needs the window"; }
    Snapshot snapshot() override;
    std::string controls(std::string&) override { return "controls needs the window"; }
    bool ended() const override { return view_.ended; }

    HeadlessView& view() { return view_; }
    Calculator& calculator() { return calc_; }

  private:
    HeadlessView view_;
    Calculator calc_;
    std::string lastClick_;  // the button a click last gave the focus
    std::optional<int> lastClickIndex_;
};

}  // namespace tallyroll
