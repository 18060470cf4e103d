#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "demo/Form1.h"

namespace tallyroll {
namespace {

// The picture is stored as a 24-bit bitmap of 685 x 361 pixels.
TEST(Form1Test, PictureIsA24BitBitmapOfTheTitleSize) {
    QFile file(QStringLiteral(":/tallyroll/title.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.size(), 30);
    auto le = [&](int at, int bytes) {
        int v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v * 256 + static_cast<unsigned char>(header[at + i]);
        return v;
    };
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(le(18, 4), 685);
    EXPECT_EQ(le(22, 4), 361);
    EXPECT_EQ(le(28, 2), 24);
}

TEST(Form1Test, WindowIsExactlyThePictureWithXAtItsTopLeftCorner) {
    Form1 form({});
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(685, 361));
    EXPECT_EQ(form.Image1().geometry(), QRect(0, 0, 685, 361));
    // 240, 80, 460 x 300 twips at 15 twips per pixel.
    EXPECT_EQ(form.Command1().geometry(), QRect(16, 5, 31, 20));
    EXPECT_EQ(form.Command1().text(), QStringLiteral("X"));
    // Command2 sits 1000 twips below the lower edge.
    EXPECT_EQ(form.Command2().y(), 361 + 67);
}

// The modal show runs a nested loop; the checks run inside it.
TEST(Form1Test, ModalShowHoldsFocusOnCommand2UntilXUnloadsIt) {
    int unloads = 0;
    Form1 form([&](Form1& window) {
        EXPECT_EQ(&window, &form);
        ++unloads;
    });
    bool checked = false;
    QTimer::singleShot(0, &form, [&] {
        checked = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_TRUE(form.isModal());
        EXPECT_EQ(form.parentWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget(), &form.Command2());
        // Keys on the title window do nothing visible; only "X" closes it.
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space})
            QTest::keyClick(&form, key);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(unloads, 0);
        QTest::mouseClick(&form.Command1(), Qt::LeftButton);
    });
    form.showModal();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(unloads, 1);
}

TEST(Form1Test, CentredOnTheScreen) {
    Form1 form({});
    QTimer::singleShot(0, &form, [&] {
        const QRect screen = form.screen()->geometry();
        EXPECT_EQ(form.frameGeometry().center(), screen.center());
        form.Command1_Click();
    });
    form.showModal();
}

}  // namespace
}  // namespace tallyroll
