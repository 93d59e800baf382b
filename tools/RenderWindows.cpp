// Draws the configurator's windows and boxes to PNG files for the README: the main window (after
// its first poll), the port list editor with a few mappings, the port editor dialog, the
// confirmation box and the error box. The list editor shows a marked row selected.
//   q7n_render_windows FOLDER
#include "app/qt/FontFallbacks.h"
#include "app/qt/ServiceConfiguratorDialog.h"
#include "dialogs/qt/Q7NPortDialog.h"
#include "dialogs/qt/Q7NPortsDialog.h"
#include "tools/PicturedPorts.h"
#include "windowing/qt/ConfirmationBox.h"
#include "windowing/qt/ErrorBox.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

namespace {

QString Folder;
bool Failed = false;

void Save(QWidget& Window, const char* Name) {
    QString Path = QDir(Folder).filePath(Name);
    // The window with its frame when the platform draws one, else its client area.
    QPixmap Picture = Window.grab();
    if (!Picture.save(Path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(Path));
        Failed = true;
    } else {
        std::printf("%s\n", qPrintable(Path));
    }
}

// Pictures the next modal window once it is up and Prepare has set it up, then closes it.
void PictureNextModal(const char* Name, const std::function<void(QWidget&)>& Prepare = {}) {
    QTimer::singleShot(400, [Name, Prepare] {
        QWidget* Modal = QApplication::activeModalWidget();
        if (!Modal) {
            std::fprintf(stderr, "no window to picture as %s\n", Name);
            Failed = true;
            return;
        }
        if (Prepare) {
            Prepare(*Modal);
            QApplication::processEvents();
        }
        Save(*Modal, Name);
        Modal->close();
    });
}

} // namespace

int main(int Argc, char** Argv) {
    QApplication Application(Argc, Argv);
    if (Argc != 2) {
        std::fprintf(stderr, "usage: q7n_render_windows FOLDER\n");
        return 2;
    }
    Folder = QString::fromLocal8Bit(Argv[1]);
    QDir().mkpath(Folder);
    q7n::qt::InstallFontFallbacks();

    q7n::qt::TdlgServiceConfigurator Main;
    Main.show();
    QTimer::singleShot(900, [&] {
        Save(Main, "main-window.png");

        auto Ports = q7n::PicturedPorts();
        PictureNextModal("port-list-editor.png", [](QWidget& Editor) {
            Editor.findChild<QTableView*>(QStringLiteral("lvPorts"))
                ->selectRow(q7n::PicturedSelectedRow);
        });
        q7n::qt::TdlgQ7NPorts(nullptr).Execute(Ports.get());

        PictureNextModal("port-editor.png");
        q7n::qt::TdlgQ7NPort(nullptr).Execute(Ports->Items(1));

        PictureNextModal("confirmation-box.png");
        q7n::qt::ShowConfirmationBox("Перезапустить сервис?");

        PictureNextModal("error-box.png");
        q7n::qt::ShowErrorBox("'80a' is not a valid integer value");

        QApplication::exit(Failed ? 1 : 0);
    });
    return QApplication::exec();
}
