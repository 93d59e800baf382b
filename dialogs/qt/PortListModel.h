#pragma once

#include "dialogs/PortListEditor.h"
#include "dialogs/PortRowMarks.h"

#include <QAbstractTableModel>
#include <vector>

namespace q7n::qt {

// The records of a port list as the rows of a table, in list order, with the columns IP, remote
// port, local port, COM port and COM rate. Records are added and removed through the model, so
// that views learn of the change in the same step. A row that the port check flags shows another
// decoration and, as its tooltip, what the check found; the marks follow every change.
class TPortListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TPortListModel(QObject* Parent = nullptr);

    // Shows the records of Ports (not owned; none shows no rows) and drops any earlier rows.
    void SetPorts(TQ7NPorts* Ports);
    TQ7NPorts* Ports() const { return FPorts; }
    // The record that Row shows.
    TQ7NPort* Port(int Row) const;

    // Appends to the list a new record with Source's values and a row for it; returns the row.
    int AppendPort(const TQ7NPort& Source);
    // Shows the record of Row anew after it was changed in place.
    void PortChanged(int Row);
    // Removes the records of Rows (in any order; repeats and rows outside the table do not count)
    // and frees them; the other records keep their order.
    void DeletePorts(std::vector<int> Rows);

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
    // Checks the list anew and has the views show every row's mark again: a change of one row
    // can mark or clear others.
    void UpdateMarks();

    TQ7NPorts* FPorts = nullptr;
    TPortRowMarks FMarks;
    QVariant FRowDecoration;
    QVariant FMarkedRowDecoration;
};

} // namespace q7n::qt
