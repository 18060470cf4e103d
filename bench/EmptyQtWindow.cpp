// The floor of a Qt 6 Widgets program's start-up: an empty window of the Demo
// window's size and nothing else. scripts/startup-compare times it beside the
// program, so the table tells Qt's own cost from the program's.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(302, 80);
    window.show();
    return QApplication::exec();
}
