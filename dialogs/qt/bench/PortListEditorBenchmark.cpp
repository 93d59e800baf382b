// Times the port list editor with many mappings, as a user would meet it: opening it (the copy of
// the list and the filled table, up to its first paint), deleting every other row (from the Yes
// in the question to the repainted table) and closing it with OK (up to the return of Execute,
// which copies the list back). Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise, and prints the median of a few runs.

#include "Q7NPortsDialog.h"

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
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using q7n::qt::TdlgQ7NPorts;
using q7n::TQ7NPorts;
using q7n::TXMLClass;

namespace {

constexpr int Runs = 5;

struct TTimes {
    double OpenMs = 0;
    double DeleteMs = 0;
    double CloseMs = 0;
};

std::unique_ptr<TQ7NPorts> MakePorts(int Count) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int I = 0; I < Count; ++I) {
        auto* Port = Ports->Add();
        Port->SetIP("10.0." + std::to_string(I / 256 % 256) + "." + std::to_string(I % 256));
        Port->SetRemoutePort(1000 + I % 60000);
        Port->SetLocalPort(2000 + I % 60000);
        Port->SetCOMPort(1 + I % 256);
        Port->SetCpRate(I % 2 ? 9600 : 115200);
    }
    return Ports;
}

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

TTimes RunOnce(int Count) {
    auto Ports = MakePorts(Count);
    TTimes Times;
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

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);

    std::printf("Port list editor, median of %d runs, platform %s\n", Runs,
                qPrintable(QApplication::platformName()));
    std::printf("%10s %12s %18s %18s\n", "mappings", "open (ms)", "delete half (ms)",
                "close, OK (ms)");
    for (int Count : {10000, 100000}) {
        std::vector<double> Open, Delete, Close;
        for (int Run = 0; Run < Runs; ++Run) {
            TTimes Times = RunOnce(Count);
            Open.push_back(Times.OpenMs);
            Delete.push_back(Times.DeleteMs);
            Close.push_back(Times.CloseMs);
        }
        std::printf("%10d %12.1f %18.1f %18.1f\n", Count, Median(Open), Median(Delete),
                    Median(Close));
    }
    return 0;
}
