// The Demo and title windows as assistive technology sees them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include "demo/Form1.h"
#include "demo/Forms.h"
#include "demo/frmDemo.h"

namespace tallyroll {
namespace {

void ExpectNamed(QWidget& window, QAccessible::Role role, const char* name) {
    QAccessibleInterface* w = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->role(), role) << name;
    EXPECT_EQ(w->text(QAccessible::Name).toStdString(), name);
    for (QWidget* c : window.findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(QLatin1String("qt_"))) continue;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty())
            << name << ": " << c->objectName().toStdString();
    }
}

TEST(AccessibleWindows, DemoIsANamedFrame) {
    Forms forms;
    ExpectNamed(forms.demo(), QAccessible::Window, "Demo");
}

TEST(AccessibleWindows, TitleIsANamedDialog) {
    Form1 title({});
    ExpectNamed(title, QAccessible::Dialog, "Title");
    EXPECT_EQ(title.windowTitle(), QStringLiteral("Form1"));  // the caption stays
}

}  // namespace
}  // namespace tallyroll
