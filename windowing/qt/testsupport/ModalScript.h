#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace q7n::testing {

// Drives modal windows as a user would, from timers: each step runs as soon as a modal window of
// its class is the top one and active, and a step may open another modal window (whose step then
// runs in that window's own event loop). A step sees a window only when it is not the one that the
// step before it saw, so put everything done in one window before it closes or opens another into
// one step.
//
// The script fails the running test, and closes every modal window so that the test ends instead
// of hanging, when a modal window appears that no step expects (also after the last step), when
// the next step's window has not appeared within the time limit, or when a modal window is still
// open then. After a step whose checks failed it closes every modal window too.
class TModalScript : public QObject {
    Q_OBJECT
public:
    explicit TModalScript(int TimeLimitMs = 10000);
    ~TModalScript() override;

    // Adds a step for the next modal window of class T (or a class derived from it).
    template <class T> TModalScript& Then(std::function<void(T&)> Step) {
        FSteps.push_back({&T::staticMetaObject, [Step](QWidget& Window) {
                              Step(static_cast<T&>(Window));
                          }});
        return *this;
    }

    // All steps have run.
    bool Finished() const { return FSteps.empty(); }

    // How a modal run under the script went, for one comparison: "accepted" or "rejected" as the
    // run answered, or "steps left" while a step has not run.
    QString Outcome(bool Accepted) const {
        return !Finished() ? QStringLiteral("steps left")
                           : QString::fromLatin1(Accepted ? "accepted" : "rejected");
    }

private:
    struct TStep {
        const QMetaObject* Class;
        std::function<void(QWidget&)> Run;
    };

    void Poll();
    void Fail(const QString& Why);
    void CloseModalWindows();

    std::deque<TStep> FSteps;
    QPointer<QWidget> FLastWindow;
    QTimer FTimeLimit;
};

} // namespace q7n::testing
