// Prints the time from creating the main window to its first paint, as the median of a few
// runs. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the service
// manager is the stand-in over a scratch database.
#include "app/qt/FontFallbacks.h"
#include "app/qt/ServiceConfiguratorDialog.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/posix/ServiceControlManagerPosix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Ends a wait at the first paint of the watched window.
class TFirstPaint final : public QObject {
public:
    explicit TFirstPaint(QEventLoop& Loop) : FLoop(Loop) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(&FLoop, "quit", Qt::QueuedConnection);
        return QObject::eventFilter(Watched, Event);
    }

private:
    QEventLoop& FLoop;
};

} // namespace

int main(int Argc, char** Argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(Argc, Argv);
    q7n::qt::InstallFontFallbacks();
    q7n::testing::TTemporaryFolder Folder;
    q7n::platform::TPosixServiceControlManager Platform(Folder.File("machine.sqlite"));

    std::vector<double> Times;
    for (int Run = 0; Run < 7; ++Run) {
        QEventLoop Loop;
        TFirstPaint Watch(Loop);
        QElapsedTimer Clock;
        Clock.start();
        q7n::qt::TdlgServiceConfigurator Window{q7n::app::TMainWindowParts(&Platform)};
        Window.installEventFilter(&Watch);
        Window.show();
        Loop.exec();
        Times.push_back(Clock.nsecsElapsed() / 1e6);
    }
    double First = Times.front();
    std::sort(Times.begin(), Times.end());
    std::printf("main window, creation to first paint: median %.1f ms (first run %.1f ms, %zu "
                "runs)\n",
                Times[Times.size() / 2], First, Times.size());
    return 0;
}
