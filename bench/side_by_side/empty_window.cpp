// An empty Qt window with one label: what any Qt program pays to start and to stay resident,
// the yardstick for the program's start-up time and memory in the side-by-side run.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Kestrova"));
    label.show();
    return QApplication::exec();
}
