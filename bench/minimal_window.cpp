// The floor for start-up: the smallest Qt Widgets program that maps a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle("Minimal Window");
    w.resize(731, 572);
    w.show();
    return app.exec();
}
