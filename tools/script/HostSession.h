#pragma once
// A scripted session that starts as the program does, with the host window
// "Demo": `click cmdCalc` opens a fresh calculator modally, and the script
// goes on inside that modal show (and inside the title window's on every
// fifth day).

#include "demo/Forms.h"
#include "tools/script/WindowBackend.h"

namespace tallyroll {

class HostSessionWindows : public SessionWindows {
  public:
    HostSessionWindows(SessionLog& log, const DriverOptions& options);

    void open() override;
    FrmCalculator* calculator() const override { return forms_.loadedCalculator(); }
    QWidget* activeWindow() const override;
    std::optional<Snapshot::Host> host() const override;

  private:
    Forms forms_;
};

}  // namespace tallyroll
