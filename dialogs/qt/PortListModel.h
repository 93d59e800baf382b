#pragma once

#include "dialogs/PortListEditor.h"

#include <QAbstractTableModel>
#include <vector>

namespace q7n::qt {

// The rows of the port list editor as a table: it shows what the editor says each row shows, and
// the editor's changes go through it, so that views learn of them in the same step. A row that
// the port check flags shows another decoration and the editor's tip; the marks follow every
// change.
class TPortListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TPortListModel(QObject* Parent = nullptr);

    // Shows the rows of Editor (not owned; none shows no rows) and drops any earlier rows.
    void SetEditor(TPortListEditor* Editor);

    // The editor's UpdateItem: a negative Index appends a row. Returns the row.
    int UpdateItem(int Index, const TQ7NPort& Port);
    // Shows the row that the editor edited in place anew.
    void RowChanged(int Row);
    // The editor's DeleteRows, shown: Rows as its ConfirmDelete answers them.
    void DeleteRows(const std::vector<int>& Rows);

    // What the first column of a row shows beside its text (for a view: an icon): Marked for a
    // row that the port check flags, Plain for the others.
    void SetRowDecorations(const QVariant& Plain, const QVariant& Marked);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation,
                        int Role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

private:
    // Has the views show every row's mark again: a change of one row can mark or clear others.
    void MarksChanged();

    TPortListEditor* FEditor = nullptr;
    QVariant FRowDecoration;
    QVariant FMarkedRowDecoration;
};

} // namespace q7n::qt
