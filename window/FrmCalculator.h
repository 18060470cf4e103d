#pragma once
// frmCalculator: the calculator window on Qt Widgets, built from its control
// table. A host creates it, passes a start value, shows it modally with itself
// as owner and, once ShowModal returns, reads accepted() and result(); then it
// unloads the window and releases it when unloaded() is emitted.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/Calculator.h"
#include "window/Dialogs.h"
#include "window/Placement.h"

namespace tallyroll {

class QtView;

// What the creator supplies. Every member may be left empty; the comment says
// what the window then uses.
struct CalculatorHooks {
    std::function<LocalDateTime()> now;  // the system clock
    // Shows the title window modally; called by the load on every fifth day.
    std::function<void()> showTitle;  // no title window
    std::function<std::unique_ptr<Printer>()> defaultPrinter;  // no printer
    std::shared_ptr<Dialogs> dialogs;                          // Qt's own boxes
    std::function<void()> beep;                                // QApplication::beep
    std::optional<WorkAreaPixels> workArea;  // the screen's available geometry
    // Twips per pixel; 1440 / the screen's logical DPI when not given.
    std::optional<double> twipsPerPixelX, twipsPerPixelY;
    // Ends the program at once: no unload handlers, the host never resumes.
    std::function<void()> endProgram;  // std::quick_exit(0)
};

class FrmCalculator : public QWidget {
    Q_OBJECT

public:
    explicit FrmCalculator(CalculatorHooks hooks = {}, QWidget* parent = nullptr);
    ~FrmCalculator() override;

    // Host interface. The first call of any of these loads the window
    // (Form_Load: title window, size, placement).
    void SetStartValue(Currency value);
    void DepositNumber(std::int32_t value);
    // Shows the window modally over owner (may be null) and returns once it
    // is hidden ("S") or unloaded (close box).
    void ShowModal(QWidget* owner);
    // The acceptance mark: the tag of cmdSave is "OK". An unloaded window
    // carries none.
    bool accepted() const;
    // The caption of lblResult.
    QString result() const;
    // Unloads the window as a host does after a visit: runs Form_Unload.
    void Unload();
    bool isLoaded() const { return loaded_; }
    bool isUnloaded() const { return unloaded_; }

    void Form_Load();

    Calculator& calculator() { return *calc_; }
    const Calculator& calculator() const { return *calc_; }

    // A control by its name, and Index for members of a control array.
    QWidget* control(const QString& name, int index = -1) const;
    double twipsPerPixelX() const { return tppX_; }
    double twipsPerPixelY() const { return tppY_; }

signals:
    // The window was unloaded (close box or Unload()); the owner releases it.
    void unloaded();
    // The window was hidden or unloaded: a modal show ends.
    void modalShowEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void PositionWindow();
    void ApplyOuterSize();
    void RouteKey(QKeyEvent* event);
    int Px(double twips, bool horizontal) const;

    CalculatorHooks hooks_;
    double tppX_ = 15, tppY_ = 15;
    bool loaded_ = false, unloaded_ = false;
    std::unique_ptr<QtView> view_;
    std::unique_ptr<Calculator> calc_;
};

}  // namespace tallyroll
