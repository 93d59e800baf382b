#include "windowing/qt/testsupport/ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace q7n::testing {

namespace {

constexpr int PollIntervalMs = 5;

QString Describe(const QWidget& Window) {
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(Window.metaObject()->className()), Window.windowTitle());
}

} // namespace

TModalScript::TModalScript(int TimeLimitMs) {
    FTimeLimit.setSingleShot(true);
    connect(&FTimeLimit, &QTimer::timeout, this, [this] {
        if (!FSteps.empty())
            Fail(QStringLiteral("the window of step class %1 did not appear in time")
                     .arg(QString::fromLatin1(FSteps.front().Class->className())));
        else if (QWidget* Window = QApplication::activeModalWidget())
            Fail(QStringLiteral("modal window %1 is still open").arg(Describe(*Window)));
    });
    FTimeLimit.start(TimeLimitMs);
    QTimer::singleShot(PollIntervalMs, this, &TModalScript::Poll);
}

TModalScript::~TModalScript() = default;

void TModalScript::Poll() {
    // The next poll is a timer of its own, armed before the step runs: a step that opens a modal
    // window does not return until that window closes, and the window's event loop must go on
    // polling meanwhile.
    QTimer::singleShot(PollIntervalMs, this, &TModalScript::Poll);

    QWidget* Window = QApplication::activeModalWidget();
    if (!Window || !Window->isVisible() || Window == FLastWindow)
        return;
    if (FSteps.empty() || !Window->metaObject()->inherits(FSteps.front().Class)) {
        Fail(QStringLiteral("unexpected modal window %1").arg(Describe(*Window)));
        return;
    }
    // Keys reach a window, and its shortcuts work, only once it is active; the window system
    // activates a new window a little after showing it, and may leave none active when one
    // closes, where a user would click into the window.
    if (!Window->isActiveWindow()) {
        Window->activateWindow();
        return;
    }
    TStep Step = std::move(FSteps.front());
    FSteps.pop_front();
    FLastWindow = Window;
    Step.Run(*Window);
    // A check that failed in the step left its window open: end the test rather than wait.
    if (QTest::currentTestFailed())
        CloseModalWindows();
}

void TModalScript::Fail(const QString& Why) {
    QTest::qFail(qPrintable(Why), __FILE__, __LINE__);
    CloseModalWindows();
}

void TModalScript::CloseModalWindows() {
    FSteps.clear();
    // From the top down; each event loop ends when control returns to it.
    while (QWidget* Window = QApplication::activeModalWidget()) {
        if (auto* Dialog = qobject_cast<QDialog*>(Window))
            Dialog->done(QDialog::Rejected);
        else
            Window->close();
        if (Window->isVisible())
            break;
    }
    FLastWindow = nullptr;
}

} // namespace q7n::testing
