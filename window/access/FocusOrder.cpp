#include "window/access/FocusOrder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <array>
#include <vector>

#include "window/form/FormControls.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

std::array<QWidget*, 4> PanelOrder(const ViewControls& c) {
    QWidget* panel = c.fraChangeTape;
    return {c.txtChangeTo, c.cboType,
            panel->findChild<QPushButton*>(QStringLiteral("cmdSaveChange")),
            panel->findChild<QPushButton*>(QStringLiteral("cmdCancelChange"))};
}

}  // namespace

void SetFocusOrder(QWidget& window, const ViewControls& c) {
    std::vector<QWidget*> buttons;
    for (QPushButton* b : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b->focusPolicy() != Qt::NoFocus) buttons.push_back(b);
    // The rows of the keypad share their tops exactly.
    std::stable_sort(buttons.begin(), buttons.end(), [](const QWidget* a, const QWidget* b) {
        const QPoint p = a->pos(), q = b->pos();
        return p.y() != q.y() ? p.y() < q.y() : p.x() < q.x();
    });
    std::vector<QWidget*> chain{c.picSetFocus};
    chain.insert(chain.end(), buttons.begin(), buttons.end());
    chain.push_back(c.cboDecPlace);
    chain.push_back(c.lstTape);
    for (QWidget* w : PanelOrder(c)) chain.push_back(w);
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

bool MoveFocusInPanel(const ViewControls& c, bool next) {
    if (!c.fraChangeTape->isVisible()) return false;
    const std::array<QWidget*, 4> order = PanelOrder(c);
    QWidget* focus = QApplication::focusWidget();
    // The operator list's text field has the focus inside it.
    const auto at = std::find_if(order.begin(), order.end(), [focus](const QWidget* w) {
        return focus && (focus == w || w->isAncestorOf(focus));
    });
    if (at == order.end()) return false;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t from = at - order.begin();
    order[static_cast<std::size_t>((from + (next ? 1 : n - 1)) % n)]->setFocus(
        next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace tallyroll
