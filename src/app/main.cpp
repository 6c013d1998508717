// The program block: the application, its screens and the message loop.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorvi5.1");
    QWidget window;
    window.setWindowTitle("Zorvi5.1");
    window.resize(632, 423);
    window.show();
    return QApplication::exec();
}
