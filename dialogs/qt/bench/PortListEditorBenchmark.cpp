// Times the port list editor with many mappings, as a user would meet it: opening it (the copy of
// the list and the filled table, up to its first paint), deleting every other row (from the Yes
// in the question to the repainted table) and closing it with OK (up to the return of Execute,
// which copies the list back). Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise, and prints the median of a few runs.

#include "dialogs/bench/PortListEditorRuns.h"
#include "dialogs/qt/Q7NPortsDialog.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace bench = q7n::bench;
using q7n::qt::TdlgQ7NPorts;

namespace {

constexpr int Runs = 5;

// Calls Then once, when the first paint of Watched begins.
class TFirstPaint : public QObject {
public:
    TFirstPaint(QWidget* Watched, std::function<void()> Then) : FThen(std::move(Then)) {
        Watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint && FThen) {
            auto Then = std::move(FThen);
            FThen = nullptr;
            Then();
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> FThen;
};

// Runs Action once a modal window of class T is the active one.
template <class T> void WhenModal(std::function<void(T&)> Action) {
    QTimer::singleShot(1, [Action] {
        if (auto* Window = qobject_cast<T*>(QApplication::activeModalWidget()))
            Action(*Window);
        else
            WhenModal<T>(Action);
    });
}

QItemSelection EveryOtherRow(const QAbstractItemModel& Model) {
    QItemSelection Selection;
    int LastColumn = Model.columnCount() - 1;
    for (int Row = 0; Row < Model.rowCount(); Row += 2)
        Selection.select(Model.index(Row, 0), Model.index(Row, LastColumn));
    return Selection;
}

bench::TEditorTimes RunOnce(int Count) {
    auto Ports = bench::MakePorts(Count);
    bench::TEditorTimes Times;
    QElapsedTimer Clock;
    TdlgQ7NPorts Dialog;
    auto& Table = *Dialog.findChild<QTableView*>(QStringLiteral("lvPorts"));

    TFirstPaint Opened(Table.viewport(), [&] {
        Times.OpenMs = Clock.nsecsElapsed() / 1e6;
        if (Table.model()->rowCount() != Count)
            std::fprintf(stderr, "the first paint showed %d rows\n", Table.model()->rowCount());
        // Painting is under way; the rest runs from the event loop.
        QTimer::singleShot(0, [&] {
            Table.selectionModel()->select(EveryOtherRow(*Table.model()),
                                           QItemSelectionModel::Select);
            WhenModal<QMessageBox>([&](QMessageBox& Box) {
                Clock.start();
                QTest::keyClick(Box.focusWidget(), Qt::Key_Return);
            });
            Dialog.findChild<QAction*>(QStringLiteral("actDelete"))->trigger();
            Table.viewport()->repaint();
            Times.DeleteMs = Clock.nsecsElapsed() / 1e6;
            if (Table.model()->rowCount() != Count / 2)
                std::fprintf(stderr, "deletion left %d rows\n", Table.model()->rowCount());

            Clock.start();
            QTest::mouseClick(Dialog.findChild<QPushButton*>(QStringLiteral("btnOK")),
                              Qt::LeftButton);
        });
    });

    Clock.start();
    bool Confirmed = Dialog.Execute(Ports.get());
    Times.CloseMs = Clock.nsecsElapsed() / 1e6;
    if (!Confirmed || Ports->Count() != Count / 2)
        std::fprintf(stderr, "the editor did not hand back %d mappings\n", Count / 2);
    return Times;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);

    bench::PrintEditorTimes(
        "Port list editor, platform " + QApplication::platformName().toStdString(), Runs, RunOnce);
    return 0;
}
