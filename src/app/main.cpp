// The desktop program's entry. The shell windows are wired here as they are built.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
