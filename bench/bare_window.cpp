// An empty Qt window of Kolmira's size: what any Qt Widgets program of that
// size costs to start, the yardstick of the start-up benchmark.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(716, 497);
    window.show();
    return QApplication::exec();
}
