// Every window of the program at the scale it runs under (CTest starts this program once as it
// is and once each with QT_SCALE_FACTOR 1.5 and 2 and with QT_FONT_DPI 144): each control lies
// inside its window's client area, each caption, label and column header has the room of its
// text in its own font, and the buttons that close the window are reachable and work. One line
// per window gives its client size.
#include "app/qt/ServiceConfiguratorDialog.h"
#include "dialogs/qt/PortsEditWindows.h"
#include "dialogs/qt/Q7NPortDialog.h"
#include "dialogs/qt/Q7NPortsDialog.h"
#include "ports/Q7NPort.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "windowing/qt/ErrorBox.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <cstdio>

using namespace q7n;
using testing::TModalScript;

namespace {

QString WithoutAccessMark(QString Text) {
    return Text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

int WidestLine(const QFontMetrics& Metrics, const QString& Text) {
    int Widest = 0;
    for (const QString& Line : Text.split(u'\n'))
        Widest = std::max(Widest, Metrics.horizontalAdvance(Line));
    return Widest;
}

QString NameOf(const QWidget& Widget) {
    return Widget.objectName().isEmpty() ? QString::fromLatin1(Widget.metaObject()->className())
                                         : Widget.objectName();
}

// Where a text of Widget has less room than it needs, as "name: room < need", one a line.
QStringList CutTexts(const QWidget& Widget) {
    QStringList Cuts;
    const auto Check = [&](const QString& What, int Room, int Need) {
        if (Room < Need)
            Cuts << QStringLiteral("%1 \"%2\": %3 < %4")
                        .arg(NameOf(Widget), What)
                        .arg(Room)
                        .arg(Need);
    };
    const QFontMetrics Metrics = Widget.fontMetrics();
    if (auto* Label = qobject_cast<const QLabel*>(&Widget); Label && !Label->text().isEmpty()) {
        const QRect Room = Label->contentsRect();
        if (Label->wordWrap()) {
            const QRect Need = Metrics.boundingRect(Room, Qt::TextWordWrap, Label->text());
            Check(Label->text(), Room.height(), Need.height());
            Check(Label->text(), Room.width(), Need.width());
        } else {
            Check(Label->text(), Room.width(), WidestLine(Metrics, Label->text()));
            const int Lines = int(Label->text().count(u'\n'));
            Check(Label->text(), Room.height(), Lines * Metrics.lineSpacing() + Metrics.height());
        }
    } else if (auto* Button = qobject_cast<const QPushButton*>(&Widget)) {
        QStyleOptionButton Option;
        Option.initFrom(Button);
        Option.text = Button->text();
        const QRect Room =
            Button->style()->subElementRect(QStyle::SE_PushButtonContents, &Option, Button);
        Check(Button->text(), Room.width(),
              Metrics.horizontalAdvance(WithoutAccessMark(Option.text)));
        Check(Button->text(), Room.height(), Metrics.height());
    } else if (auto* Tool = qobject_cast<const QToolButton*>(&Widget)) {
        Check(Tool->text(), Tool->width(),
              Metrics.horizontalAdvance(WithoutAccessMark(Tool->text())));
    } else if (auto* Header = qobject_cast<const QHeaderView*>(&Widget)) {
        const int Margins =
            2 * Header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, Header);
        for (int Section = 0; Section < Header->count(); ++Section) {
            const QString Text =
                Header->model()->headerData(Section, Header->orientation()).toString();
            Check(Text, Header->sectionSize(Section) - Margins, Metrics.horizontalAdvance(Text));
        }
    }
    return Cuts;
}

// Checks Window as it is shown and prints its line. Uncut names a label whose text is fitted
// into its room on purpose.
void CheckWindow(const QWidget& Window, const char* Name, const QString& Uncut = {}) {
    const QRect Client = Window.rect();
    QStringList Faults;
    for (const QWidget* Control : Window.findChildren<QWidget*>()) {
        if (!Control->isVisibleTo(&Window) || Control->isWindow())
            continue;
        const QRect Place(Control->mapTo(&Window, QPoint()), Control->size());
        if (!Client.contains(Place))
            Faults << QStringLiteral("%1 outside the client area").arg(NameOf(*Control));
        if (Uncut.isEmpty() || Control->objectName() != Uncut)
            Faults << CutTexts(*Control);
    }
    const qreal Ratio = Window.devicePixelRatioF();
    std::printf("%-20s client %4d x %3d  (%4d x %3d device pixels, logical dpi %d)\n", Name,
                Client.width(), Client.height(), qRound(Client.width() * Ratio),
                qRound(Client.height() * Ratio), Window.logicalDpiY());
    std::fflush(stdout);
    QVERIFY2(Faults.isEmpty(), qPrintable(Faults.join(QStringLiteral("; "))));
}

// The button of Window with that caption, checked to be reachable: shown, enabled, inside the
// client area.
QAbstractButton* Reachable(QWidget& Window, const QString& Caption) {
    for (QAbstractButton* Button : Window.findChildren<QAbstractButton*>()) {
        if (Button->text() != Caption)
            continue;
        const QRect Place(Button->mapTo(&Window, QPoint()), Button->size());
        if (Button->isVisibleTo(&Window) && Button->isEnabled() && Window.rect().contains(Place))
            return Button;
    }
    return nullptr;
}

// Clicks the reachable button with that caption, failing the test when there is none.
void Click(QWidget& Window, const QString& Caption) {
    QAbstractButton* Button = Reachable(Window, Caption);
    QVERIFY2(Button, qPrintable(Caption + QStringLiteral(" is not reachable")));
    QTest::mouseClick(Button, Qt::LeftButton);
}

// Shows a box through Show and checks it; Caption is the button clicked, whose answer Show
// returns.
template <class TShow> auto CheckBox(const char* Name, const QString& Caption, TShow Show) {
    TModalScript Script;
    Script.Then<QMessageBox>([&](QMessageBox& Box) {
        CheckWindow(Box, Name);
        for (QAbstractButton* Button : Box.buttons())
            QVERIFY2(Reachable(Box, Button->text()), qPrintable(Button->text()));
        Click(Box, Caption);
    });
    auto Answer = Show();
    [&] {
        QVERIFY(Script.Finished());
    }();
    return Answer;
}

} // namespace

class WindowScaleTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindow() {
        testing::TFakeServiceControlManager Platform;
        qt::TdlgServiceConfigurator Window{app::TMainWindowParts(&Platform)};
        Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window));
        CheckWindow(Window, "main window", QStringLiteral("ServiceStatusLb"));
    }

    void portListEditor() {
        auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
        Ports->Add();
        Ports->Add()->SetIP("10.0.0.2"); // the same local and COM port: flagged
        for (const char* Closing : {"Cancel", "OK"}) {
            TModalScript Script;
            Script.Then<qt::TdlgQ7NPorts>([&](qt::TdlgQ7NPorts& Dialog) {
                auto* Table = Dialog.findChild<QTableView*>(QStringLiteral("lvPorts"));
                Table->selectRow(1); // the line under the table shows its findings
                CheckWindow(Dialog, "port list editor");
                Click(Dialog, QString::fromLatin1(Closing));
            });
            const bool Accepted = qt::TdlgQ7NPorts().Execute(Ports.get());
            QCOMPARE(Script.Outcome(Accepted),
                     QString::fromLatin1(Closing[0] == 'O' ? "accepted" : "rejected"));
        }
    }

    void portEditor() {
        auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
        for (const char* Closing : {"Cancel", "OK"}) {
            TModalScript Script;
            Script.Then<qt::TdlgQ7NPort>([&](qt::TdlgQ7NPort& Dialog) {
                testing::ReplaceText(Dialog, "edtLPort", "4001");
                CheckWindow(Dialog, "port editor");
                Click(Dialog, QString::fromLatin1(Closing));
            });
            const bool Accepted = qt::TdlgQ7NPort().Execute(Port.get());
            QCOMPARE(Script.Outcome(Accepted),
                     QString::fromLatin1(Closing[0] == 'O' ? "accepted" : "rejected"));
        }
        QCOMPARE(Port->LocalPort(), 4001);
    }

    void boxes() {
        qt::TPortsEditWindows Windows;
        QVERIFY(CheckBox("confirmation box", "&Yes",
                         [&] { return Windows.Confirm("Перезапустить сервис?"); }));
        CheckBox("error box", "OK", [] {
            qt::ShowErrorBox("'8080 ' is not a valid integer value");
            return true;
        });
        QVERIFY(!CheckBox("overwrite box", "&Оставить файл", [&] {
            return Windows.ConfirmOverwrite(
                "Файл \"/srv/q7n/Q7NPorts.xml\" изменила другая программа. Перезаписать?");
        }));
        CheckBox("warning box", "OK", [&] {
            Windows.Warn("Файл \"/srv/q7n/Q7NPorts.xml\" не прочитан: строка 3, столбец 7. "
                         "Он будет сохранён как Q7NPorts.rejected.xml.");
            return true;
        });
    }
};

QTEST_MAIN(WindowScaleTest)
#include "WindowScaleTest.moc"
