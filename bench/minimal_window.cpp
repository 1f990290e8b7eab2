// The floor for start-up: the smallest Qt Widgets program that shows one
// window. bench_startup measures ヨモリス against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
