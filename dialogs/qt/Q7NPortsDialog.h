#pragma once

#include "dialogs/PortListEditor.h"
#include "windowing/qt/ModalDialog.h"

#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QTableView;

namespace q7n::qt {

class TPortListModel;

// The dialog in which the user reviews the port mappings as a table and adds, edits and deletes
// them. It works on the editor's private copy of the list, which it hands back only on OK.
class TdlgQ7NPorts : public TModalDialog {
    Q_OBJECT
public:
    explicit TdlgQ7NPorts(QWidget* Parent = nullptr);
    ~TdlgQ7NPorts() override;

    // Marks the rows that Machine finds in the way (none: the file's checks alone).
    void SetMachineCheck(IMachineCheck* Machine) { FEditor.SetMachineCheck(Machine); }

    // Edits a copy of Ports (an empty list when Ports is none) and copies the result back into
    // Ports when the user closes the dialog with OK. True only for OK.
    bool Execute(TQ7NPorts* Ports);

    // Shows one row per record of the working list, in list order.
    void RefreshList();
    // The editor's UpdateItem, shown: a negative Index appends a row. Returns the row.
    int UpdateItem(int Index, const TQ7NPort& Port);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void CreateControls();
    QAction* CreateAction(TPortListCommand Command, const char* Name, const QIcon& Icon,
                          void (TdlgQ7NPorts::*Handler)());
    void actAddExecute();
    void actEditExecute();
    void actDeleteExecute();
    void lvPortsDblClick();
    // The rows selected in the table, in ascending order.
    std::vector<int> SelectedRows() const;
    // The window's size when it opens, frame included.
    QSize OpeningSize() const;
    // The line under the table for the rows selected now.
    void ShowFindingsLine();

    TPortListEditor FEditor;
    TPortListModel* FModel;
    QAction* actAdd;
    QAction* actEdit;
    QAction* actDelete;
    QTableView* lvPorts;
    QLabel* lblFindings;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    bool FOpened = false;
};

} // namespace q7n::qt
