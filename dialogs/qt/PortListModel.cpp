#include "dialogs/qt/PortListModel.h"

namespace q7n::qt {

namespace {

// As an int, the form that every view reads.
int ColumnAlignment(int Column) {
    Qt::Alignment Alignment =
        (PortColumnLook(static_cast<TPortColumn>(Column)).Centred ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft) |
        Qt::AlignVCenter;
    return Alignment.toInt();
}

} // namespace

TPortListModel::TPortListModel(QObject* Parent) : QAbstractTableModel(Parent) {}

void TPortListModel::SetPorts(TQ7NPorts* Ports) {
    beginResetModel();
    FPorts = Ports;
    FMarks.Update(Ports);
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
    UpdateMarks();
    return Row;
}

void TPortListModel::PortChanged(int Row) {
    emit dataChanged(index(Row, 0), index(Row, pcCount - 1));
    UpdateMarks();
}

void TPortListModel::DeletePorts(std::vector<int> Rows) {
    int Count = rowCount();
    std::erase_if(Rows, [Count](int Row) { return Row < 0 || Row >= Count; });
    if (Rows.empty())
        return;
    // The views are told the rows were rebuilt rather than of each gap: a selection may hold
    // thousands of separate rows.
    beginResetModel();
    FPorts->Delete(std::move(Rows));
    FMarks.Update(FPorts);
    endResetModel();
}

void TPortListModel::SetRowDecorations(const QVariant& Plain, const QVariant& Marked) {
    FRowDecoration = Plain;
    FMarkedRowDecoration = Marked;
    if (rowCount() > 0)
        emit dataChanged(index(0, pcIP), index(rowCount() - 1, pcIP), {Qt::DecorationRole});
}

void TPortListModel::UpdateMarks() {
    FMarks.Update(FPorts);
    // One range for all rows: a view repaints only the rows it shows.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, pcCount - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole});
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
        return QString::fromStdString(
            PortColumnText(*FPorts->Items(Index.row()), static_cast<TPortColumn>(Index.column())));
    case Qt::TextAlignmentRole:
        return ColumnAlignment(Index.column());
    case Qt::DecorationRole:
        if (Index.column() != pcIP)
            return {};
        return FMarks.Marked(Index.row()) ? FMarkedRowDecoration : FRowDecoration;
    case Qt::ToolTipRole: {
        // As escaped rich text: the tip quotes the IP text as the file holds it, and a tooltip
        // that looks like markup is shown as markup.
        std::string Tip = FMarks.Tip(Index.row());
        if (Tip.empty())
            return {};
        return QStringLiteral("<p style='white-space:pre'>") +
               QString::fromStdString(Tip).toHtmlEscaped() + QStringLiteral("</p>");
    }
    default:
        return {};
    }
}

QVariant TPortListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Section < 0 || Section >= pcCount)
        return QAbstractTableModel::headerData(Section, Orientation, Role);
    switch (Role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(PortColumnLook(static_cast<TPortColumn>(Section)).Caption);
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

} // namespace q7n::qt
