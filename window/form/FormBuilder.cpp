#include "window/form/FormBuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "window/QtText.h"
#include "window/form/ControlTable.h"
#include "window/form/FittingLabel.h"
#include "window/form/Widgets.h"
#include "window/tapeview/TapeListView.h"
#include "window/tapeview/TapeModel.h"

namespace tallyroll {

namespace {

QFont MakeFont(const FontDef& def, const QFont& inherited) {
    if (!def.family) return inherited;
    QFont f(Q(def.family));
    f.setPointSizeF(def.points);
    f.setBold(def.bold);
    return f;
}

Qt::Alignment ToQt(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case Align::Left:
        case Align::Default:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The colour the dump names for a control that keeps the platform's default.
Colour DefaultBack(ControlKind kind) {
    switch (kind) {
        case ControlKind::List:
        case ControlKind::Combo:
        case ControlKind::DropList:
        case ControlKind::TextBox:
            return {SystemColour::Window};
        default:
            return {SystemColour::ButtonFace};
    }
}

Colour DefaultFore(ControlKind kind) {
    return DefaultBack(kind).system == SystemColour::Window ? Colour{SystemColour::WindowText}
                                                            : Colour{SystemColour::ButtonText};
}

void InstallFontSubstitutes() {
    for (const FontSubstitute& s : FontSubstitutes()) {
        QStringList families;
        for (const char* f : s.substitutes) families << Q(f);
        QFont::removeSubstitutions(Q(s.family));
        QFont::insertSubstitutions(Q(s.family), families);
    }
}

QRect RectOf(const ControlDef& def, const PixelScale& px) {
    return px.rect(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
}

// A new control of the kind the definition names, before its place and look.
QWidget* MakeControl(const ControlDef& def, QWidget* parent, QWidget& form, TapeModel& model,
                     const PixelScale& px) {
    const QString caption = Q(def.caption);
    switch (def.kind) {
        case ControlKind::Button: {
            auto* b = new QPushButton(caption, parent);
            // Enter and Escape always reach the key table, never a button.
            b->setAutoDefault(false);
            b->setDefault(false);
            return b;
        }
        case ControlKind::Label: {
            auto* l = new FittingLabel(caption, parent);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(ToQt(def.align));
            if (def.border) {
                l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                l->setIndent(3);  // keep the text off the border
            }
            return l;
        }
        case ControlKind::Image: {
            auto* l = new QLabel(parent);
            l->setPixmap(
                form.windowIcon().pixmap(RectOf(def, px).size(), form.devicePixelRatioF()));
            return l;
        }
        case ControlKind::List: {
            auto* v = new TapeListView(parent);
            v->setModel(&model);
            return v;
        }
        case ControlKind::Combo:
        case ControlKind::DropList: {
            auto* cb = new DropDownBox(parent);
            cb->setEditable(def.kind == ControlKind::Combo);
            cb->setInsertPolicy(QComboBox::NoInsert);
            for (const char* item : def.items) cb->addItem(Q(item));
            cb->setCurrentIndex(-1);
            if (cb->isEditable()) cb->setEditText(caption);
            return cb;
        }
        case ControlKind::TextBox:
            return new QLineEdit(caption, parent);
        case ControlKind::Frame: {
            auto* g = new QGroupBox(caption, parent);
            g->setAutoFillBackground(true);
            return g;
        }
        case ControlKind::Picture: {
            auto* p = new PictureBox(parent);
            p->setFocusPolicy(Qt::StrongFocus);
            return p;
        }
        case ControlKind::Shape: {
            const QPalette pal = form.palette();
            return new ShapeWidget(ResolveColour(def.back, pal), ResolveColour(def.fore, pal),
                                   parent);
        }
    }
    return nullptr;
}

// The definition's colours, or the platform's defaults named as the dump names them.
void ApplyColours(QWidget& w, const ControlDef& def) {
    const Colour back = def.back.system == SystemColour::None ? DefaultBack(def.kind) : def.back;
    const Colour fore = def.fore.system == SystemColour::None ? DefaultFore(def.kind) : def.fore;
    QPalette pal = w.palette();
    const QColor backColour = ResolveColour(back, pal), foreColour = ResolveColour(fore, pal);
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(role, backColour);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, foreColour);
    if (def.back.system != SystemColour::None || def.fore.system != SystemColour::None ||
        def.kind == ControlKind::Frame) {
        w.setPalette(pal);
        if (def.kind == ControlKind::Label)
            w.setAutoFillBackground(def.back.system != SystemColour::None);
    }
    w.setProperty("BackColor", back.system == SystemColour::Fixed
                                   ? backColour.name().toUpper()
                                   : QString(SystemColourName(back.system)));
    w.setProperty("ForeColor", fore.system == SystemColour::Fixed
                                   ? foreColour.name().toUpper()
                                   : QString(SystemColourName(fore.system)));
}

}  // namespace

void SetUpForm(QWidget& form) {
    InstallFontSubstitutes();
    const FormDef& def = CalculatorForm();
    form.setObjectName(Q(def.name));
    form.setWindowTitle(Q(def.caption));
    form.setFont(MakeFont(def.font, form.font()));
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, ResolveColour(def.back, pal));
    form.setPalette(pal);
    form.setAutoFillBackground(true);
    form.setProperty("BackColor", SystemColourName(def.back.system));
}

ViewControls BuildForm(QWidget& form, TapeModel& model, const PixelScale& px) {
    std::vector<QWidget*> graphical;  // drawn beneath the other controls, as a form does
    int order = 0;
    for (const ControlDef& def : CalculatorControls()) {
        QWidget* parent = def.parent ? FindControl(form, Q(def.parent)) : &form;
        QWidget* w = MakeControl(def, parent, form, model, px);
        w->setObjectName(Q(def.name));
        w->setProperty("Order", order++);  // the stacking order below differs
        if (def.index >= 0) w->setProperty("Index", def.index);
        if (def.tab >= 0) w->setProperty("TabIndex", def.tab);
        w->setGeometry(RectOf(def, px));
        w->setFont(MakeFont(def.font, parent->font()));
        if (def.toolTip) w->setToolTip(Q(def.toolTip));
        ApplyColours(*w, def);
        if (!def.shown) w->hide();
        if (def.kind == ControlKind::Label || def.kind == ControlKind::Image ||
            def.kind == ControlKind::Shape)
            graphical.push_back(w);
    }
    // Later entries of the definition lie above earlier ones among the
    // graphical controls; all of them lie beneath buttons, lists and boxes.
    for (auto it = graphical.rbegin(); it != graphical.rend(); ++it) (*it)->lower();

    const auto find = [&form](const char* name) { return FindControl(form, Q(name)); };
    ViewControls c;
    c.lblResult = qobject_cast<QLabel*>(find("lblResult"));
    c.lblOperator = qobject_cast<QLabel*>(find("lblOperator"));
    c.lblGrandTotal = qobject_cast<QLabel*>(find("lblGrandTotal"));
    c.lblMemory = qobject_cast<QLabel*>(find("lblMemory"));
    c.lblValue = qobject_cast<QLabel*>(find("lblValue"));
    c.cboDecPlace = qobject_cast<QComboBox*>(find("cboDecPlace"));
    c.fraChangeTape = find("fraChangeTape");
    c.lblChangeFrom = qobject_cast<QLabel*>(find("lblChangeFrom"));
    c.txtChangeTo = qobject_cast<QLineEdit*>(find("txtChangeTo"));
    c.cboType = qobject_cast<QComboBox*>(find("cboType"));
    c.picSetFocus = find("picSetFocus");
    c.lstTape = qobject_cast<TapeListView*>(find("lstTape"));
    return c;
}

void ScaleForm(QWidget& form, const PixelScale& px) {
    const FormDef& formDef = CalculatorForm();
    QFont formFont = form.font();
    formFont.setPointSizeF(formDef.font.points * px.zoom);
    form.setFont(formFont);
    const std::span<const ControlDef> defs = CalculatorControls();
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const QVariant order = w->property("Order");
        if (!order.isValid() || order.toInt() < 0 || order.toUInt() >= defs.size() || w->isWindow())
            continue;
        const ControlDef& def = defs[order.toUInt()];
        const QRect r = RectOf(def, px);
        w->setGeometry(r);
        QFont f = w->font();
        f.setPointSizeF((def.font.family ? def.font.points : formDef.font.points) * px.zoom);
        w->setFont(f);
        if (def.kind == ControlKind::Image)
            if (auto* image = qobject_cast<QLabel*>(w))
                image->setPixmap(form.windowIcon().pixmap(r.size(), form.devicePixelRatioF()));
    }
}

QWidget* FindControl(const QWidget& form, const QString& name, int index) {
    for (QWidget* w : form.findChildren<QWidget*>(name)) {
        const QVariant i = w->property("Index");
        if (index < 0 ? !i.isValid() : (i.isValid() && i.toInt() == index)) return w;
    }
    return nullptr;
}

}  // namespace tallyroll
