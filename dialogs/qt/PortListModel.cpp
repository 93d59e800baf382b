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

void TPortListModel::SetEditor(TPortListEditor* Editor) {
    beginResetModel();
    FEditor = Editor;
    endResetModel();
}

int TPortListModel::UpdateItem(int Index, const TQ7NPort& Port) {
    if (Index >= 0) {
        FEditor->UpdateItem(Index, Port);
        RowChanged(Index);
        return Index;
    }
    const int Row = rowCount();
    beginInsertRows(QModelIndex(), Row, Row);
    FEditor->UpdateItem(-1, Port);
    endInsertRows();
    MarksChanged();
    return Row;
}

void TPortListModel::RowChanged(int Row) {
    emit dataChanged(index(Row, 0), index(Row, pcCount - 1));
    MarksChanged();
}

void TPortListModel::DeleteRows(const std::vector<int>& Rows) {
    if (Rows.empty())
        return;
    // The views are told the rows were rebuilt rather than of each gap: a selection may hold
    // thousands of separate rows.
    beginResetModel();
    FEditor->DeleteRows(Rows);
    endResetModel();
}

void TPortListModel::SetRowDecorations(const QVariant& Plain, const QVariant& Marked) {
    FRowDecoration = Plain;
    FMarkedRowDecoration = Marked;
    if (rowCount() > 0)
        emit dataChanged(index(0, pcIP), index(rowCount() - 1, pcIP), {Qt::DecorationRole});
}

void TPortListModel::MarksChanged() {
    // One range for all rows: a view repaints only the rows it shows.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, pcCount - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole});
}

int TPortListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() || !FEditor ? 0 : FEditor->Count();
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
            FEditor->CellText(Index.row(), static_cast<TPortColumn>(Index.column())));
    case Qt::TextAlignmentRole:
        return ColumnAlignment(Index.column());
    case Qt::DecorationRole:
        if (Index.column() != pcIP)
            return {};
        return FEditor->Marked(Index.row()) ? FMarkedRowDecoration : FRowDecoration;
    case Qt::ToolTipRole: {
        // As escaped rich text: the tip quotes the IP text as the file holds it, and a tooltip
        // that looks like markup is shown as markup.
        std::string Tip = FEditor->Tip(Index.row());
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
