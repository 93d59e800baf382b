// Saves a picture of the whole X display, or of a part of it, as PNG: how the run script shows a
// machine without a screen what the configurator looks like on its virtual display.
//   q7n_screenshot FILE.png [LEFT TOP WIDTH HEIGHT]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int Argc, char** Argv) {
    QGuiApplication Application(Argc, Argv);
    if (Argc != 2 && Argc != 6) {
        std::fprintf(stderr, "usage: q7n_screenshot FILE.png [LEFT TOP WIDTH HEIGHT]\n");
        return 2;
    }
    int Part[4] = {0, 0, -1, -1}; // the whole display
    for (int Index = 0; Argc == 6 && Index < 4; ++Index) {
        bool Ok = false;
        Part[Index] = QString::fromLocal8Bit(Argv[Index + 2]).toInt(&Ok);
        if (!Ok || (Index >= 2 && Part[Index] <= 0)) {
            std::fprintf(stderr, "q7n_screenshot: not a place or size: %s\n", Argv[Index + 2]);
            return 2;
        }
    }
    QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen || !Screen->grabWindow(0, Part[0], Part[1], Part[2], Part[3])
                        .save(QString::fromLocal8Bit(Argv[1]), "PNG")) {
        std::fprintf(stderr, "q7n_screenshot: cannot grab the display or write %s\n", Argv[1]);
        return 1;
    }
    return 0;
}
