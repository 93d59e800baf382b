#include "dialogs/qt/PortIcons.h"
#include "dialogs/qt/Q7NPortDialog.h"
#include "dialogs/qt/Q7NPortsDialog.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <QToolTip>

using q7n::TQ7NPorts;
using q7n::TXMLClass;
using q7n::qt::TdlgQ7NPort;
using q7n::qt::TdlgQ7NPorts;
using q7n::testing::ClickButton;
using q7n::testing::PressKey;
using q7n::testing::ReplaceText;
using q7n::testing::TModalScript;

namespace {

// A list whose records differ in their local ports, 1 to Count.
std::unique_ptr<TQ7NPorts> NumberedPorts(int Count) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int I = 1; I <= Count; ++I)
        Ports->Add()->SetLocalPort(I);
    return Ports;
}

QString Describe(const TQ7NPorts& Ports) {
    QStringList Records;
    for (int I = 0; I < Ports.Count(); ++I)
        Records << QStringLiteral("%1:%2:%3")
                       .arg(QString::fromStdString(Ports.Items(I)->IP()))
                       .arg(Ports.Items(I)->LocalPort())
                       .arg(Ports.Items(I)->COMPort());
    return Records.join(QLatin1Char(' '));
}

QTableView& Table(QWidget& Dialog) {
    return *Dialog.findChild<QTableView*>(QStringLiteral("lvPorts"));
}

// The texts of a column, top to bottom.
QStringList Column(QWidget& Dialog, int Column) {
    QAbstractItemModel* Model = Table(Dialog).model();
    QStringList Texts;
    for (int Row = 0; Row < Model->rowCount(); ++Row)
        Texts << Model->index(Row, Column).data().toString();
    return Texts;
}

int SelectedRowCount(QWidget& Dialog) {
    return static_cast<int>(Table(Dialog).selectionModel()->selectedRows().size());
}

QPoint RowPoint(QWidget& Dialog, int Row) {
    QTableView& View = Table(Dialog);
    return View.visualRect(View.model()->index(Row, 1)).center();
}

// A point in the table below its last row.
QPoint EmptyPoint(QWidget& Dialog) {
    QWidget* Viewport = Table(Dialog).viewport();
    return {10, Viewport->height() - 5};
}

void ClickRow(QWidget& Dialog, int Row, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QTest::mouseClick(Table(Dialog).viewport(), Qt::LeftButton, Modifiers, RowPoint(Dialog, Row));
}

// A double-click as the mouse makes it: a click, then a second press that is a double-click.
void DoubleClick(QWidget& Dialog, QPoint Point, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QWidget* Viewport = Table(Dialog).viewport();
    QTest::mouseClick(Viewport, Qt::LeftButton, Modifiers, Point);
    QTest::mouseDClick(Viewport, Qt::LeftButton, Modifiers, Point);
    QTest::mouseRelease(Viewport, Qt::LeftButton, Modifiers, Point);
}

// The picture that the first column of Row shows.
QImage RowPicture(QWidget& Dialog, int Row) {
    QVariant Decoration = Table(Dialog).model()->index(Row, 0).data(Qt::DecorationRole);
    return Decoration.value<QIcon>().pixmap(36, 36).toImage();
}

// The tooltip that the mouse resting on Row brings up, as plain text.
QString RowToolTip(QWidget& Dialog, int Row) {
    QWidget* Viewport = Table(Dialog).viewport();
    const QPoint Point = RowPoint(Dialog, Row);
    QHelpEvent Rest(QEvent::ToolTip, Point, Viewport->mapToGlobal(Point));
    QApplication::sendEvent(Viewport, &Rest);
    QTextDocument Shown;
    Shown.setHtml(QToolTip::text());
    QToolTip::hideText();
    return Shown.toPlainText();
}

void ClickTool(QWidget& Dialog, const char* ActionName) {
    auto* Action = Dialog.findChild<QAction*>(QString::fromLatin1(ActionName));
    QWidget* Button = Dialog.findChild<QToolBar*>()->widgetForAction(Action);
    QTest::mouseClick(Button, Qt::LeftButton);
}

} // namespace

class PortsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void EmptyListStaysEmptyOnOK();
    void CancelDropsAdditionsEditsAndDeletions();
    void AddedMappingIsTheLastRecord();
    void EditChangesTheSelectedRecordOnly();
    void EditNeedsExactlyOneSelectedRow_data();
    void EditNeedsExactlyOneSelectedRow();
    void DeleteRemovesTheSelectedRowsOnYes_data();
    void DeleteRemovesTheSelectedRowsOnYes();
    void DeleteWithNothingSelectedStillAsks();
    void AddedConflictIsMarked();
    void AddedRowIsScrolledIntoView();
    void LineUnderTheTableFollowsSelectionAndChanges();
};

void PortsDialogTest::EmptyListStaysEmptyOnOK() {
    auto Ports = NumberedPorts(0);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Dialog.windowTitle(), QStringLiteral("Q7N ports"));
        QCOMPARE(Table(Dialog).model()->rowCount(), 0);
        QStringList Tools;
        for (QAction* Action : Dialog.findChild<QToolBar*>()->actions())
            Tools << (Action->isSeparator() ? QStringLiteral("|") : Action->text());
        QCOMPARE(Tools, (QStringList{"&Add", "&Edit", "|", "&Delete"}));
        QHeaderView* Header = Table(Dialog).horizontalHeader();
        QList<int> Widths;
        for (int Section = 0; Section < Header->count(); ++Section)
            Widths << Header->sectionSize(Section);
        QCOMPARE(Widths, (QList<int>{140, 100, 100, 80, 80}));
        QCOMPARE(Dialog.frameGeometry().size(), QSize(758, 462)); // the window's, not the client's
        PressKey(Dialog, Qt::Key_Escape);                         // bound to no button
        QVERIFY(Dialog.isVisible());
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QCOMPARE(Ports->Count(), 0);
}

void PortsDialogTest::CancelDropsAdditionsEditsAndDeletions() {
    auto Ports = NumberedPorts(3);
    Ports->Items(0)->SetIP("10.0.0.1");
    const QString Before = Describe(*Ports);
    auto* FirstRecord = Ports->Items(0);

    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) { ClickTool(Dialog, "actAdd"); });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) { ClickButton(Editor, "btnOK"); });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Table(Dialog).model()->rowCount(), 4);
        ClickRow(Dialog, 0);
        ClickTool(Dialog, "actEdit");
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        ReplaceText(Editor, "edtIP", "10.9.9.9");
        ClickButton(Editor, "btnOK");
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 0).first(), QStringLiteral("10.9.9.9"));
        ClickRow(Dialog, 1);
        ClickTool(Dialog, "actDelete");
    });
    Script.Then<QMessageBox>([](QMessageBox& Box) { PressKey(Box, Qt::Key_Return); });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Table(Dialog).model()->rowCount(), 3);
        ClickButton(Dialog, "btnCancel");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("rejected"));
    QCOMPARE(Describe(*Ports), Before);
    QCOMPARE(Ports->Items(0), FirstRecord);
}

void PortsDialogTest::AddedMappingIsTheLastRecord() {
    auto Ports = NumberedPorts(2);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        ClickRow(Dialog, 0); // a selection does not place the new row
        PressKey(Dialog, Qt::Key_A, Qt::AltModifier);
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        // A new mapping starts from the defaults, whatever row is selected.
        QCOMPARE(Editor.findChild<QLineEdit*>(QStringLiteral("edtLPort"))->text(),
                 QStringLiteral("8080"));
        ReplaceText(Editor, "edtIP", "192.168.7.7");
        ClickButton(Editor, "btnOK");
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 0), (QStringList{"192.168.1.6", "192.168.1.6", "192.168.7.7"}));
        QCOMPARE(Column(Dialog, 3), (QStringList{"COM1", "COM1", "COM1"}));
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QCOMPARE(Describe(*Ports),
             QStringLiteral("192.168.1.6:1:1 192.168.1.6:2:1 192.168.7.7:8080:1"));
}

void PortsDialogTest::EditChangesTheSelectedRecordOnly() {
    auto Ports = NumberedPorts(3);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        // A double-click on a row selects it alone and edits it.
        DoubleClick(Dialog, RowPoint(Dialog, 1));
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        QCOMPARE(Editor.findChild<QLineEdit*>(QStringLiteral("edtLPort"))->text(),
                 QStringLiteral("2"));
        ReplaceText(Editor, "edtIP", "cancelled");
        ClickButton(Editor, "btnCancel");
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 0).at(1), QStringLiteral("192.168.1.6"));
        ClickRow(Dialog, 2);
        ClickTool(Dialog, "actEdit");
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        ReplaceText(Editor, "edtIP", "10.3.3.3");
        ClickButton(Editor, "btnOK");
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 0), (QStringList{"192.168.1.6", "192.168.1.6", "10.3.3.3"}));
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QCOMPARE(Describe(*Ports), QStringLiteral("192.168.1.6:1:1 192.168.1.6:2:1 10.3.3.3:3:1"));
}

void PortsDialogTest::EditNeedsExactlyOneSelectedRow_data() {
    QTest::addColumn<QList<int>>("Selected");
    QTest::newRow("no row") << QList<int>{};
    QTest::newRow("two rows") << QList<int>{0, 2};
}

void PortsDialogTest::EditNeedsExactlyOneSelectedRow() {
    QFETCH(QList<int>, Selected);
    auto Ports = NumberedPorts(3);
    // Any port editor that opened would be a window the script does not expect, and fail it.
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([Selected](TdlgQ7NPorts& Dialog) {
        for (int Row : Selected)
            ClickRow(Dialog, Row, Qt::ControlModifier);
        QCOMPARE(SelectedRowCount(Dialog), Selected.size());
        ClickTool(Dialog, "actEdit");
        PressKey(Dialog, Qt::Key_E, Qt::AltModifier);
        // Below the rows, with Ctrl held, the double-click keeps the selection as it is.
        DoubleClick(Dialog, EmptyPoint(Dialog), Qt::ControlModifier);
        QCOMPARE(SelectedRowCount(Dialog), Selected.size());
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QCOMPARE(Describe(*Ports), Describe(*NumberedPorts(3)));
}

void PortsDialogTest::DeleteRemovesTheSelectedRowsOnYes_data() {
    QTest::addColumn<int>("AnswerKey");
    QTest::addColumn<QStringList>("LocalPortsLeft");
    QTest::newRow("Yes") << int(Qt::Key_Return) << QStringList{"2", "5"};
    QTest::newRow("No") << int(Qt::Key_Escape) << QStringList{"1", "2", "3", "4", "5"};
}

void PortsDialogTest::DeleteRemovesTheSelectedRowsOnYes() {
    QFETCH(int, AnswerKey);
    QFETCH(QStringList, LocalPortsLeft);
    auto Ports = NumberedPorts(5);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        ClickRow(Dialog, 0);
        ClickRow(Dialog, 2, Qt::ControlModifier);
        ClickRow(Dialog, 3, Qt::ControlModifier);
        QCOMPARE(SelectedRowCount(Dialog), 3);
        PressKey(Dialog, Qt::Key_D, Qt::AltModifier);
    });
    Script.Then<QMessageBox>([AnswerKey](QMessageBox& Box) {
        QCOMPARE(Box.text(), QStringLiteral("Delete items?"));
        PressKey(Box, AnswerKey);
    });
    Script.Then<TdlgQ7NPorts>([LocalPortsLeft](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 2), LocalPortsLeft);
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QStringList Saved;
    for (int I = 0; I < Ports->Count(); ++I)
        Saved << QString::number(Ports->Items(I)->LocalPort());
    QCOMPARE(Saved, LocalPortsLeft);
}

void PortsDialogTest::DeleteWithNothingSelectedStillAsks() {
    auto Ports = NumberedPorts(2);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(SelectedRowCount(Dialog), 0);
        ClickTool(Dialog, "actDelete");
    });
    Script.Then<QMessageBox>([](QMessageBox& Box) { PressKey(Box, Qt::Key_Return); });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(Column(Dialog, 2), (QStringList{"1", "2"}));
        Dialog.close(); // the title bar: Cancel
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("rejected"));
}

void PortsDialogTest::AddedConflictIsMarked() {
    auto Ports = NumberedPorts(1);
    Ports->Items(0)->SetLocalPort(8080);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(RowPicture(Dialog, 0), q7n::qt::PortRowIcon().pixmap(36, 36).toImage());
        QCOMPARE(RowToolTip(Dialog, 0), QString());
        ClickTool(Dialog, "actAdd");
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        ReplaceText(Editor, "edtIP", "<b>plc</b>");
        ClickButton(Editor, "btnOK"); // stored as it is
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        const QImage Marked = q7n::qt::MarkedPortRowIcon().pixmap(36, 36).toImage();
        QVERIFY(Marked != q7n::qt::PortRowIcon().pixmap(36, 36).toImage());
        QCOMPARE(RowPicture(Dialog, 0), Marked); // the row that was there is marked too
        QCOMPARE(RowPicture(Dialog, 1), Marked);
        QCOMPARE(RowToolTip(Dialog, 1),
                 QStringLiteral("Row 2:\n"
                                "local port 8080 is also used by row 1\n"
                                "COM1 is also used by row 1\n"
                                "IP \"<b>plc</b>\" is neither an IPv4 address nor a host name"));
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
    QCOMPARE(Ports->Count(), 2);
}

void PortsDialogTest::AddedRowIsScrolledIntoView() {
    auto Ports = NumberedPorts(60);
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) { ClickTool(Dialog, "actAdd"); });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) { ClickButton(Editor, "btnOK"); });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QTableView& View = Table(Dialog);
        const QRect Added = View.visualRect(View.model()->index(60, 0));
        QVERIFY(View.viewport()->rect().contains(Added));
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("accepted"));
}

void PortsDialogTest::LineUnderTheTableFollowsSelectionAndChanges() {
    auto Ports = NumberedPorts(3);
    Ports->Items(2)->SetLocalPort(2); // rows 2 and 3 share a local port
    Ports->Items(0)->SetCOMPort(5);
    Ports->Items(1)->SetCOMPort(6);
    q7n::TPortListEditor Expected;
    Expected.Load(Ports.get());
    const QString Row2 = QString::fromStdString(Expected.FindingsLine({1}));
    QVERIFY(Row2.startsWith("Row 2: local port 2 is also used by row 3"));
    TModalScript Script;
    Script.Then<TdlgQ7NPorts>([&](TdlgQ7NPorts& Dialog) {
        auto* Line = Dialog.findChild<QLabel*>(QStringLiteral("lblFindings"));
        QVERIFY(Line && Line->isVisible());
        QVERIFY(Table(Dialog).hasFocus()); // the keyboard alone from here
        PressKey(Dialog, Qt::Key_Down);    // from the first row, which is current, to the second
        QCOMPARE(SelectedRowCount(Dialog), 1);
        QCOMPARE(Line->text(), Row2);
        PressKey(Dialog, Qt::Key_Up);
        QCOMPARE(Line->text(), QString()); // row 1 has no findings
        PressKey(Dialog, Qt::Key_Down);
        QCOMPARE(Line->text(), Row2);
        PressKey(Dialog, Qt::Key_E, Qt::AltModifier); // edit row 2 out of the conflict
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Editor) {
        ReplaceText(Editor, "edtLPort", "9");
        ClickButton(Editor, "btnOK");
    });
    Script.Then<TdlgQ7NPorts>([](TdlgQ7NPorts& Dialog) {
        QCOMPARE(SelectedRowCount(Dialog), 1);
        QCOMPARE(Dialog.findChild<QLabel*>(QStringLiteral("lblFindings"))->text(), QString());
        ClickButton(Dialog, "btnCancel");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPorts().Execute(Ports.get())), QStringLiteral("rejected"));
}

QTEST_MAIN(PortsDialogTest)
#include "PortsDialogTest.moc"
