// The yardsticks of bench/startup-ratios.sh: the least a Qt Widgets program can do. Without
// arguments it shows one empty window; with "timer" it also runs an empty 100 ms timer, the
// idle cost of a program that wakes up as often as the activity picture does.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(244, 248);
    window.show();
    QTimer timer;
    if (argc > 1 && std::strcmp(argv[1], "timer") == 0) {
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start(100);
    }
    return QApplication::exec();
}
