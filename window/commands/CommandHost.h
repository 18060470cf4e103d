#pragma once
// What a feature of the calculator window (tape menu and files, undo, zoom,
// help, kept tapes, access keys) may use of the window: its widget, its
// commands, its controls, the calculation and its view, the hooks it was
// made with, and its zoom. The window implements it; a feature never sees
// more of the window than this.

#include <QString>
#include <functional>
#include <memory>

#include "window/CalculatorHooks.h"
#include "window/Commands.h"
#include "window/form/FormControls.h"

class QAction;
class QObject;
class QWidget;

namespace tallyroll {

class Calculator;
class QtView;

class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The window: the parent of a feature's boxes and windows.
    virtual QWidget& widget() = 0;
    // Adds a command whose keys reach it wherever the focus is in the window.
    // Its handler runs as a click handler does: an error it leaves unhandled
    // goes to the error report.
    virtual QAction* AddCommand(const CommandDef& def, std::function<void()> handler) = 0;
    // The command of that name, or null.
    virtual QAction* command(const QString& id) const = 0;
    // A control by its name, and Index for members of a control array.
    virtual QWidget* control(const QString& name, int index = -1) const = 0;
    // The controls the calculation reaches, typed.
    virtual const ViewControls& controls() const = 0;

    virtual Calculator& calculator() = 0;
    // The window's side of the calculation: its boxes, beep and focus.
    virtual QtView& view() = 0;
    virtual const CalculatorHooks& hooks() const = 0;

    // The zoom level shared by the windows of one run (a step of ZoomSteps),
    // whether the window fits the work area at a zoom, and setting it.
    virtual int& zoomLevel() = 0;
    virtual bool FitsWorkArea(double zoom) const = 0;
    virtual void SetZoom(double zoom) = 0;

    // Runs `then` when the window is unloaded, for as long as `context` lives.
    virtual void WhenUnloaded(QObject& context, std::function<void()> then) = 0;
};

}  // namespace tallyroll
