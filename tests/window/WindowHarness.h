#pragma once
// A calculator window opened as a host opens it, with scripted boxes, a fixed
// clock and work area, and helpers that type and click through real events.

#include <gtest/gtest.h>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "window/FrmCalculator.h"
#include "window/SessionLog.h"
#include "window/commands/TapeJournal.h"

namespace tallyroll {

struct WindowSetup {
    LocalDateTime now{2024, 3, 4, 9, 30};
    WorkAreaPixels workArea{0, 0, 800, 800};
    double tpp = 15;
    std::shared_ptr<JournalFolder> journal;  // none: no journal
};

class WindowHarness : public ::testing::Test {
  protected:
    void SetUp() override { open({}); }

    // A fresh window, loaded, given the start value 0 and shown.
    void open(const WindowSetup& setup);

    // Typed characters and keys, sent to whatever has the keyboard focus.
    void type(const QString& text);
    void key(Qt::Key key);
    // A key with modifiers, typing `text` as X11 reports it (Ctrl+9 types "9").
    void chord(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = {});
    // A left click on a control (and Index for array members).
    void click(const char* name, int index = -1);
    // A click or a double click on a tape line.
    void clickLine(int row);
    void doubleClickLine(int row);

    QWidget* control(const char* name, int index = -1) const;
    // Name of the control with the keyboard focus, "cmdNumber(3)" for arrays.
    std::string focus() const;
    std::vector<std::string> tape() const;
    std::string display() const { return window->result().toStdString(); }

    SessionLog log;
    int titlesShown = 0, programEnds = 0;
    std::unique_ptr<FrmCalculator> window;
};

}  // namespace tallyroll
