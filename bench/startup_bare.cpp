// The yardstick of bench_startup: a bare Qt Widgets program that shows one empty main window the size of the log-in
// window, so that the ratio compares start-up work and not pixel counts.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setFixedSize(400, 440);
    window.show();
    return app.exec();
}
