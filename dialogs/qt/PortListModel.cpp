#include "PortListModel.h"

#include <algorithm>

namespace q7n {

namespace {

QString ColumnText(const TQ7NPort& Port, int Column) {
    switch (Column) {
    case TPortListModel::pcIP:
        return QString::fromStdString(Port.IP());
    case TPortListModel::pcRemoutePort:
        return QString::number(Port.RemoutePort());
    case TPortListModel::pcLocalPort:
        return QString::number(Port.LocalPort());
    case TPortListModel::pcCOMPort:
        return QStringLiteral("COM") + QString::number(Port.COMPort());
    case TPortListModel::pcCpRate:
        return QString::number(Port.CpRate());
    default:
        return {};
    }
}

// As an int, the form that every view reads.
int ColumnAlignment(int Column) {
    Qt::Alignment Alignment =
        (Column == TPortListModel::pcIP ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
    return Alignment.toInt();
}

} // namespace

TPortListModel::TPortListModel(QObject* Parent) : QAbstractTableModel(Parent) {}

void TPortListModel::SetPorts(TQ7NPorts* Ports) {
    beginResetModel();
    FPorts = Ports;
    endResetModel();
}

TQ7NPort* TPortListModel::Port(int Row) const {
    return FPorts ? FPorts->Items(Row) : nullptr;
}

int TPortListModel::AppendPort(const TQ7NPort& Source) {
    int Row = rowCount();
    beginInsertRows(QModelIndex(), Row, Row);
    FPorts->Add()->CopyFrom(&Source);
    endInsertRows();
    return Row;
}

void TPortListModel::PortChanged(int Row) {
    emit dataChanged(index(Row, 0), index(Row, pcCount - 1));
}

void TPortListModel::DeletePorts(std::vector<int> Rows) {
    int Count = rowCount();
    std::erase_if(Rows, [Count](int Row) { return Row < 0 || Row >= Count; });
    if (Rows.empty())
        return;
    std::sort(Rows.begin(), Rows.end());

    // Taking records out one by one costs a search and a shift of the rest each, which is slow
    // for large lists and many rows; the kept records are copied into a new list once instead,
    // and the views are told the rows were rebuilt rather than of each gap.
    beginResetModel();
    auto Kept = TXMLClass::Create<TQ7NPorts>(nullptr);
    auto Deleted = Rows.begin();
    for (int Row = 0; Row < Count; ++Row) {
        if (Deleted != Rows.end() && *Deleted == Row) {
            while (Deleted != Rows.end() && *Deleted == Row)
                ++Deleted;
            continue;
        }
        Kept->Add()->CopyFrom(FPorts->Items(Row));
    }
    FPorts->CopyFrom(Kept.get());
    endResetModel();
}

void TPortListModel::SetRowDecoration(const QVariant& Decoration) {
    FRowDecoration = Decoration;
    if (rowCount() > 0)
        emit dataChanged(index(0, pcIP), index(rowCount() - 1, pcIP), {Qt::DecorationRole});
}

int TPortListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() || !FPorts ? 0 : FPorts->Count();
}

int TPortListModel::columnCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : pcCount;
}

QVariant TPortListModel::data(const QModelIndex& Index, int Role) const {
    if (!checkIndex(Index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (Role) {
    case Qt::DisplayRole:
        return ColumnText(*FPorts->Items(Index.row()), Index.column());
    case Qt::TextAlignmentRole:
        return ColumnAlignment(Index.column());
    case Qt::DecorationRole:
        return Index.column() == pcIP ? FRowDecoration : QVariant();
    default:
        return {};
    }
}

QVariant TPortListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Section < 0 || Section >= pcCount)
        return QAbstractTableModel::headerData(Section, Orientation, Role);
    static const char* const Captions[pcCount] = {"IP", "Remoute port", "Local port", "COM port",
                                                  "COM rate"};
    switch (Role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(Captions[Section]);
    case Qt::TextAlignmentRole:
        return ColumnAlignment(Section);
    default:
        return {};
    }
}

Qt::ItemFlags TPortListModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace q7n
