#include "demo/Form1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "demo/Layout.h"
#include "window/access/Accessibility.h"

namespace tallyroll {

Form1::Form1(std::function<void(Form1&)> unloaded)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      unloaded_(std::move(unloaded)),
      command2_(new QPushButton(this)),
      image1_(new QLabel(this)),
      command1_(new QPushButton(QStringLiteral("X"), this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setModal(true);
    const Twips t = Twips::Of(*this);
    resize(t.x(8160), t.y(5535));

    // Created in the definition's order, so "X" lies above the picture.
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(t.rect(6000, 5220, 135, 195));
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(t.rect(-120, -120, 10335, 5475));
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(t.rect(240, 80, 460, 300));
    command1_->setFocusPolicy(Qt::StrongFocus);
    setProperty("BackColor", QStringLiteral("button face"));
    DescribeControl(*command2_, 0, "button face", "button text");
    DescribeControl(*image1_, -1, "button face", nullptr);
    DescribeControl(*command1_, 1, "button face", "button text");
    setTabOrder(command2_, command1_);
    connect(command1_, &QPushButton::clicked, this, &Form1::Command1_Click);

    MakeAccessible(*this);
    Form_Load();
}

void Form1::Form_Load() {
    // The image takes its picture's size; the window takes the image's.
    const QPixmap picture(QStringLiteral(":/tallyroll/title.bmp"));
    image1_->setPixmap(picture);
    image1_->setGeometry(0, 0, picture.width(), picture.height());
    setFixedSize(image1_->size());
    // Command2 holds the focus below the lower edge, out of sight.
    const Twips t = Twips::Of(*this);
    command2_->move(command2_->x(), height() + t.y(1000));
}

void Form1::showModal() {
    // Centred once it has the picture's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    command2_->setFocus();
    exec();
}

void Form1::Command1_Click() {
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted() && unloaded_) unloaded_(*this);
}

void Form1::keyPressEvent(QKeyEvent* event) {
    // Only "X" closes the window: Escape does nothing here.
    if (event->key() == Qt::Key_Escape) return event->accept();
    QDialog::keyPressEvent(event);
}

}  // namespace tallyroll
