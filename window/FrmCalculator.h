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
#include "window/QtView.h"
#include "window/commands/CommandHost.h"
#include "window/form/Pixels.h"

namespace tallyroll {

class WindowFeatures;
class WindowFrame;

class FrmCalculator : public QWidget, public CommandHost {
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
    bool isUnloaded() const { return unloaded_; }

    void Form_Load();

    const Calculator& calculator() const { return *calc_; }

    // What the window's features use of it.
    QWidget& widget() override { return *this; }
    QAction* AddCommand(const CommandDef& def, std::function<void()> handler) override;
    QAction* command(const QString& id) const override;
    QWidget* control(const QString& name, int index = -1) const override;
    const ViewControls& controls() const override { return controls_; }
    Calculator& calculator() override { return *calc_; }
    QtView& view() override { return *view_; }
    const CalculatorHooks& hooks() const override { return hooks_; }
    int& zoomLevel() override { return *hooks_.zoomLevel; }
    bool FitsWorkArea(double zoom) const override;
    // The zoom: controls and window scale by it, as if the screen had that
    // many times fewer twips per pixel.
    void SetZoom(double zoom) override;
    void WhenUnloaded(QObject& context, std::function<void()> then) override;

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
    void ConnectHandlers();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void PositionWindow();
    void ApplyInnerSize();
    WorkAreaPixels WorkArea() const;
    // Runs a handler; an error it does not handle itself goes to the error report.
    void Run(std::string_view handler, const std::function<void()>& body);

    CalculatorHooks hooks_;
    PixelScale px_;  // the screen's, at the window's zoom
    bool loaded_ = false, unloaded_ = false;
    WindowFrame* frame_ = nullptr;  // the window manager's frame around the window
    TapeModel* model_ = nullptr;
    ViewControls controls_;
    std::unique_ptr<QtView> view_;
    std::unique_ptr<Calculator> calc_;
    std::unique_ptr<WindowFeatures> features_;  // go before the calculation they follow
};

}  // namespace tallyroll
