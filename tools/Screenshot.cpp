// Saves a picture of the whole X display as PNG: how the run script shows a machine without a
// screen what the configurator looks like on its virtual display.
//   q7n_screenshot FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int Argc, char** Argv) {
    QGuiApplication Application(Argc, Argv);
    if (Argc != 2) {
        std::fprintf(stderr, "usage: q7n_screenshot FILE.png\n");
        return 2;
    }
    QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen || !Screen->grabWindow(0).save(QString::fromLocal8Bit(Argv[1]), "PNG")) {
        std::fprintf(stderr, "q7n_screenshot: cannot grab the display or write %s\n", Argv[1]);
        return 1;
    }
    return 0;
}
