#pragma once
// frmCalculator: the calculator window on Qt Widgets, built from its control
// table. A host creates it, passes a start value, shows it modally with itself
// as owner and, once ShowModal returns, reads accepted() and result(); then it
// unloads the window and releases it when unloaded() is emitted.

#include <QString>
#include <QWidget>

class QAction;
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "engine/Calculator.h"
#include "window/CalculatorHooks.h"
#include "window/Commands.h"
#include "window/QtView.h"

namespace tallyroll {

class TapeJournal;
class WindowFrame;

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
    // Adds a command whose keys reach it wherever the focus is in this window.
    // Its handler runs as a click handler does: an error it leaves unhandled
    // goes to the error report.
    QAction* AddCommand(const CommandDef& def, std::function<void()> handler);
    // The command of that name, or null.
    QAction* command(const QString& id) const;

    const CalculatorHooks& hooks() const { return hooks_; }
    // The window's side of the calculation: its boxes, beep and focus.
    QtView& view() { return *view_; }
    double twipsPerPixelX() const { return tppX_; }
    double twipsPerPixelY() const { return tppY_; }

    // The zoom: controls and window scale by it, as if the screen had that
    // many times fewer twips per pixel. The level (a step of ZoomSteps) is
    // shared by the windows of one run.
    double zoom() const { return zoom_; }
    void SetZoom(double zoom);
    bool FitsWorkArea(double zoom) const;
    const std::shared_ptr<int>& zoomLevel() const { return hooks_.zoomLevel; }
    // A rectangle of the definition, in twips, as pixels at the current zoom.
    QRect PixelRect(int left, int top, int width, int height) const;

  signals:
    // The window was unloaded (close box or Unload()); the owner releases it.
    void unloaded();
    // The window was hidden or unloaded: a modal show ends.
    void modalShowEnded();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
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
    void ApplyInnerSize();
    WorkAreaPixels WorkArea() const;
    // Runs a handler; an error it does not handle itself goes to the error report.
    void Run(std::string_view handler, const std::function<void()>& body);
    int Px(double twips, bool horizontal) const;
    int PxAt(double twips, double zoom, bool horizontal) const;

    CalculatorHooks hooks_;
    double tppX_ = 15, tppY_ = 15;
    double zoom_ = 1;
    bool loaded_ = false, unloaded_ = false;
    WindowFrame* frame_ = nullptr;  // the window manager's frame around the window
    TapeModel* model_ = nullptr;
    ViewControls controls_;
    std::unique_ptr<QtView> view_;
    std::unique_ptr<Calculator> calc_;
    std::unique_ptr<TapeJournal> journal_;  // goes before the calculation it follows
};

}  // namespace tallyroll
