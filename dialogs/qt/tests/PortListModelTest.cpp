#include "dialogs/qt/PortListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using q7n::TPortListEditor;
using q7n::TQ7NPort;
using q7n::TQ7NPorts;
using q7n::TXMLClass;
using q7n::qt::TPortListModel;

namespace {

std::unique_ptr<TQ7NPorts> PortsWithLocalPorts(std::initializer_list<int> LocalPorts) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int LocalPort : LocalPorts)
        Ports->Add()->SetLocalPort(LocalPort);
    return Ports;
}

// An editor on a copy of Ports, as its Execute shows it.
std::unique_ptr<TPortListEditor> EditorOn(const TQ7NPorts& Ports) {
    auto Editor = std::make_unique<TPortListEditor>();
    Editor->Load(&Ports);
    return Editor;
}

QList<int> LocalPortsOf(const TQ7NPorts& Ports) {
    QList<int> Values;
    for (int I = 0; I < Ports.Count(); ++I)
        Values << Ports.Items(I)->LocalPort();
    return Values;
}

QString Text(const TPortListModel& Model, int Row, int Column) {
    return Model.data(Model.index(Row, Column)).toString();
}

} // namespace

class PortListModelTest : public QObject {
    Q_OBJECT

private slots:
    void ColumnsHaveTheirCaptionsAndAlignment();
    void RowsShowTheRecordsInListOrder();
    void AppendedRecordIsTheLastRow();
    void ChangedRecordIsShownAnew();
    void DeletingRowsKeepsTheOthersInOrder();
    void DeletingNoRowsChangesNothing();
};

void PortListModelTest::ColumnsHaveTheirCaptionsAndAlignment() {
    TPortListModel Model;
    QCOMPARE(Model.columnCount(), 5);
    QStringList Captions;
    for (int Column = 0; Column < Model.columnCount(); ++Column)
        Captions << Model.headerData(Column, Qt::Horizontal).toString();
    QCOMPARE(Captions, (QStringList{"IP", "Remoute port", "Local port", "COM port", "COM rate"}));

    auto Editor = EditorOn(*PortsWithLocalPorts({1}));
    Model.SetEditor(Editor.get());
    QCOMPARE(Model.data(Model.index(0, 0), Qt::TextAlignmentRole).toInt() &
                 Qt::AlignHorizontal_Mask,
             int(Qt::AlignLeft));
    for (int Column = 1; Column < 5; ++Column)
        QCOMPARE(Model.data(Model.index(0, Column), Qt::TextAlignmentRole).toInt() &
                     Qt::AlignHorizontal_Mask,
                 int(Qt::AlignHCenter));
    // Rows are chosen, never edited in place.
    QVERIFY(!(Model.flags(Model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(Model.flags(Model.index(0, 0)) & Qt::ItemIsSelectable);
}

void PortListModelTest::RowsShowTheRecordsInListOrder() {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    Ports->Add(); // the defaults
    TQ7NPort* Second = Ports->Add();
    Second->SetIP("");
    Second->SetRemoutePort(-1);
    Second->SetLocalPort(70000);
    Second->SetCOMPort(12);
    Second->SetCpRate(115200);
    Ports->Add()->SetCpRate(250000); // read from a file; the port editor does not offer it

    TPortListModel Model;
    QAbstractItemModelTester Tester(&Model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto Editor = EditorOn(*Ports);
    Model.SetEditor(Editor.get());

    QCOMPARE(Model.rowCount(), 3);
    QStringList First, Row2;
    for (int Column = 0; Column < 5; ++Column) {
        First << Text(Model, 0, Column);
        Row2 << Text(Model, 1, Column);
    }
    QCOMPARE(First, (QStringList{"192.168.1.6", "8080", "8080", "COM1", "9600"}));
    QCOMPARE(Row2, (QStringList{"", "-1", "70000", "COM12", "115200"}));
    QCOMPARE(Text(Model, 2, q7n::pcCpRate), QStringLiteral("250000"));
}

void PortListModelTest::AppendedRecordIsTheLastRow() {
    auto Editor = EditorOn(*PortsWithLocalPorts({1, 2}));
    TPortListModel Model;
    QAbstractItemModelTester Tester(&Model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Model.SetEditor(Editor.get());
    QSignalSpy Inserted(&Model, &TPortListModel::rowsInserted);

    auto Source = TXMLClass::Create<TQ7NPort>(nullptr);
    Source->SetIP("10.0.0.1");
    Source->SetCOMPort(3);
    QCOMPARE(Model.UpdateItem(-1, *Source), 2);

    QCOMPARE(Inserted.count(), 1);
    QCOMPARE(Inserted.at(0).at(1).toInt(), 2);
    QCOMPARE(Editor->Count(), 3);
    QVERIFY(&Editor->Port(2) != Source.get()); // a copy, owned by the list
    QCOMPARE(QString::fromStdString(Editor->Port(2).IP()), QStringLiteral("10.0.0.1"));
    QCOMPARE(Text(Model, 2, q7n::pcCOMPort), QStringLiteral("COM3"));
}

void PortListModelTest::ChangedRecordIsShownAnew() {
    auto Editor = EditorOn(*PortsWithLocalPorts({1, 2}));
    TPortListModel Model;
    Model.SetRowDecorations(QStringLiteral("plain"), QStringLiteral("marked"));
    Model.SetEditor(Editor.get());
    auto Decoration = [&Model](int Row) {
        return Model.index(Row, 0).data(Qt::DecorationRole);
    };
    QCOMPARE(Decoration(0), QVariant(QStringLiteral("marked"))); // both on COM1
    QSignalSpy Changed(&Model, &TPortListModel::dataChanged);

    auto Changes = TXMLClass::Create<TQ7NPort>(nullptr);
    Changes->CopyFrom(&Editor->Port(1));
    Changes->SetCOMPort(256);
    Model.UpdateItem(1, *Changes);

    // The row itself, then the marks of every row: the other row's mark went with the change.
    QCOMPARE(Changed.count(), 2);
    auto TopLeft = Changed.at(0).at(0).value<QModelIndex>();
    auto BottomRight = Changed.at(0).at(1).value<QModelIndex>();
    QCOMPARE(TopLeft.row(), 1);
    QCOMPARE(BottomRight.row(), 1);
    QCOMPARE(TopLeft.column(), 0);
    QCOMPARE(BottomRight.column(), 4);
    QCOMPARE(Changed.at(1).at(0).value<QModelIndex>().row(), 0);
    QCOMPARE(Changed.at(1).at(1).value<QModelIndex>().row(), 1);
    QVERIFY(Changed.at(1).at(2).value<QList<int>>().contains(Qt::DecorationRole));
    QCOMPARE(Decoration(0), QVariant(QStringLiteral("plain")));
    QCOMPARE(Model.index(0, 3).data(Qt::ToolTipRole), QVariant());
    QCOMPARE(Text(Model, 1, q7n::pcCOMPort), QStringLiteral("COM256"));
}

void PortListModelTest::DeletingRowsKeepsTheOthersInOrder() {
    auto Editor = EditorOn(*PortsWithLocalPorts({10, 11, 12, 13, 14}));
    TPortListModel Model;
    QAbstractItemModelTester Tester(&Model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Model.SetEditor(Editor.get());

    // Unordered, with a repeat and rows outside the table, as a selection may come.
    Model.DeleteRows({3, 0, 3, 2, -1, 5});

    QCOMPARE(LocalPortsOf(Editor->Ports()), (QList<int>{11, 14}));
    QCOMPARE(Model.rowCount(), 2);
    QCOMPARE(Text(Model, 1, q7n::pcLocalPort), QStringLiteral("14"));

    Model.DeleteRows({0, 1});
    QCOMPARE(Editor->Count(), 0);
    QCOMPARE(Model.rowCount(), 0);
}

void PortListModelTest::DeletingNoRowsChangesNothing() {
    auto Editor = EditorOn(*PortsWithLocalPorts({10, 11}));
    const TQ7NPort* First = &Editor->Port(0);
    TPortListModel Model;
    Model.SetEditor(Editor.get());
    QSignalSpy Reset(&Model, &TPortListModel::modelReset);

    Model.DeleteRows({});

    QCOMPARE(Reset.count(), 0);
    QCOMPARE(&Editor->Port(0), First);
    QCOMPARE(LocalPortsOf(Editor->Ports()), (QList<int>{10, 11}));
}

QTEST_GUILESS_MAIN(PortListModelTest)
#include "PortListModelTest.moc"
