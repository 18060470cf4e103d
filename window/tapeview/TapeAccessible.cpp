#include "window/tapeview/TapeAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QItemSelectionModel>
#include <optional>
#include <unordered_map>
#include <vector>

#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

class TapeAccessible;

// One tape line. It keeps its place on the tape through lines trimmed from
// the top: it is known by its serial number (its row plus the lines trimmed
// since the tape was last cleared).
class TapeLineAccessible : public QAccessibleInterface {
  public:
    TapeLineAccessible(TapeAccessible& list, qint64 serial) : list_(list), serial_(serial) {}

    int row() const;
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

    // The text assistive technology last read, if it read any, and whether
    // the line's text differs from it now.
    bool ChangedSinceRead() const;

  private:
    TapeAccessible& list_;
    qint64 serial_;
    mutable std::optional<QString> read_;
};

class TapeAccessible : public QAccessibleWidget {
  public:
    explicit TapeAccessible(TapeListView& view) : QAccessibleWidget(&view, QAccessible::List) {}
    ~TapeAccessible() override { Forget(false); }

    TapeListView& view() const { return *static_cast<TapeListView*>(widget()); }
    int rows() const { return view().model() ? view().model()->rowCount(view().rootIndex()) : 0; }
    QModelIndex index(int row) const { return view().model()->index(row, 0, view().rootIndex()); }
    int rowOf(qint64 serial) const { return static_cast<int>(serial - trimmed_); }

    int childCount() const override { return rows(); }
    QAccessibleInterface* child(int row) const override {
        if (row < 0 || row >= rows()) return nullptr;
        const qint64 serial = trimmed_ + row;
        if (const auto it = children_.find(serial); it != children_.end())
            return QAccessible::accessibleInterface(it->second);
        auto* item = new TapeLineAccessible(*const_cast<TapeAccessible*>(this), serial);
        children_.emplace(serial, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        const auto* line = dynamic_cast<const TapeLineAccessible*>(c);
        return line && line->parent() == this ? line->row() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex i = view().indexAt(view().viewport()->mapFromGlobal(QPoint(x, y)));
        return i.isValid() ? child(i.row()) : nullptr;
    }

    // The line at row, if assistive technology has asked for it.
    QAccessibleInterface* known(int row) const {
        const auto it = children_.find(trimmed_ + row);
        return it == children_.end() ? nullptr : QAccessible::accessibleInterface(it->second);
    }

    void Inserted(int first, int last) {
        QAccessibleTableModelChangeEvent change(&view(),
                                                QAccessibleTableModelChangeEvent::RowsInserted);
        change.setFirstRow(first);
        change.setLastRow(last);
        QAccessible::updateAccessibility(&change);
        if (last != rows() - 1) {
            // Lines only ever come at the end; anything else renumbers them all.
            Forget(true);
            return;
        }
        for (int row = first; row <= last; ++row) Raise(child(row), QAccessible::ObjectCreated);
    }

    void AboutToRemove(int first, int last) {
        if (first != 0) {
            Forget(true);
            return;
        }
        for (int row = first; row <= last; ++row) {
            const auto it = children_.find(trimmed_ + row);
            if (it == children_.end()) continue;
            Raise(QAccessible::accessibleInterface(it->second), QAccessible::ObjectDestroyed);
            QAccessible::deleteAccessibleInterface(it->second);
            children_.erase(it);
        }
        trimmed_ += last - first + 1;
    }

    void Reset() {
        Forget(true);
        trimmed_ = 0;
        QAccessibleTableModelChangeEvent change(&view(),
                                                QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&change);
    }

    void Changed(int first, int last) {
        // Told for the lines a client has read and that now read otherwise:
        // a recalculation of a full tape rewrites every line, but changes the
        // text of only a few.
        std::vector<QAccessibleInterface*> lines;
        auto consider = [&](QAccessible::Id id) {
            auto* line = static_cast<TapeLineAccessible*>(QAccessible::accessibleInterface(id));
            if (line && line->ChangedSinceRead()) lines.push_back(line);
        };
        if (first == last) {
            if (const auto it = children_.find(trimmed_ + first); it != children_.end())
                consider(it->second);
        } else {
            for (const auto& [serial, id] : children_)
                if (rowOf(serial) >= first && rowOf(serial) <= last) consider(id);
        }
        for (QAccessibleInterface* line : lines) Raise(line, QAccessible::NameChanged);
    }

    void AboutToReset() { Forget(true); }

    void Selected(int row) {
        // Announced as a state change of the lines that lost and gained it.
        const qint64 serial = row >= 0 ? trimmed_ + row : -1;
        if (selected_ >= 0 && selected_ != serial)
            if (QAccessibleInterface* old = known(rowOf(selected_)))
                Raise(old, QAccessible::Selection);
        selected_ = serial;
        if (row >= 0 && row < rows()) Raise(child(row), QAccessible::Selection);
    }

    void Current(int row) {
        if (row >= 0 && row < rows() && view().hasFocus()) Raise(child(row), QAccessible::Focus);
    }

  private:
    static void Raise(QAccessibleInterface* iface, QAccessible::Event type) {
        if (!iface) return;
        QAccessibleEvent event(iface, type);
        QAccessible::updateAccessibility(&event);
    }

    void Forget(bool tell) {
        for (const auto& [serial, id] : children_) {
            QAccessibleInterface* line = QAccessible::accessibleInterface(id);
            if (tell && line && line->isValid()) Raise(line, QAccessible::ObjectDestroyed);
            QAccessible::deleteAccessibleInterface(id);
        }
        children_.clear();
        selected_ = -1;
    }

    mutable std::unordered_map<qint64, QAccessible::Id> children_;
    qint64 trimmed_ = 0;
    qint64 selected_ = -1;  // serial of the selected line
};

int TapeLineAccessible::row() const {
    return list_.rowOf(serial_);
}

bool TapeLineAccessible::isValid() const {
    const int r = row();
    return r >= 0 && r < list_.rows();
}

QWindow* TapeLineAccessible::window() const {
    return list_.window();
}

QAccessibleInterface* TapeLineAccessible::parent() const {
    return &list_;
}

QString TapeLineAccessible::text(QAccessible::Text t) const {
    if ((t != QAccessible::Name && t != QAccessible::Value) || !isValid()) return {};
    read_ = list_.index(row()).data().toString();
    return *read_;
}

bool TapeLineAccessible::ChangedSinceRead() const {
    return read_ && isValid() && list_.index(row()).data().toString() != *read_;
}

QRect TapeLineAccessible::rect() const {
    if (!isValid()) return {};
    const TapeListView& v = list_.view();
    const QRect r = v.visualRect(list_.index(row()));
    return {v.viewport()->mapToGlobal(r.topLeft()), r.size()};
}

QAccessible::State TapeLineAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const TapeListView& v = list_.view();
    const QModelIndex i = list_.index(row());
    s.selectable = true;
    s.focusable = true;
    s.selected = v.selectionModel() && v.selectionModel()->isSelected(i);
    s.focused = v.hasFocus() && v.currentIndex() == i;
    const int first = v.firstVisibleRow();
    s.offscreen = row() < first || row() >= first + v.fullyVisibleRows() + 1;
    s.invisible = s.offscreen || !v.isVisible();
    return s;
}

// The view's interface, made by the factory; null while none was asked for
// or assistive technology is not listening.
TapeAccessible* Of(TapeListView& view) {
    if (!QAccessible::isActive()) return nullptr;
    return dynamic_cast<TapeAccessible*>(QAccessible::queryAccessibleInterface(&view));
}

}  // namespace

QAccessibleInterface* MakeTapeAccessible(TapeListView& view) {
    return new TapeAccessible(view);
}

namespace tape_accessibility {

void RowsInserted(TapeListView& view, int first, int last) {
    if (TapeAccessible* a = Of(view)) a->Inserted(first, last);
}

void RowsAboutToBeRemoved(TapeListView& view, int first, int last) {
    if (TapeAccessible* a = Of(view)) a->AboutToRemove(first, last);
}

void AboutToReset(TapeListView& view) {
    if (TapeAccessible* a = Of(view)) a->AboutToReset();
}

void Reset(TapeListView& view) {
    if (TapeAccessible* a = Of(view)) a->Reset();
}

void RowsChanged(TapeListView& view, int first, int last) {
    if (TapeAccessible* a = Of(view)) a->Changed(first, last);
}

void SelectionChanged(TapeListView& view, int row) {
    if (TapeAccessible* a = Of(view)) a->Selected(row);
}

void CurrentChanged(TapeListView& view, int row) {
    if (TapeAccessible* a = Of(view)) a->Current(row);
}

void FocusCame(TapeListView& view) {
    if (!Of(view)) return;
    QMetaObject::invokeMethod(
        &view,
        [&view] {
            if (TapeAccessible* a = Of(view)) a->Current(view.currentIndex().row());
        },
        Qt::QueuedConnection);
}

}  // namespace tape_accessibility

}  // namespace tallyroll
