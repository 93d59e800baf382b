#pragma once

#include "dialogs/PortListEditor.h"
#include "windowing/win32/Dialog.h"
#include "windowing/win32/GdiHandles.h"

#include <string>
#include <vector>

namespace q7n::win32 {

// The dialog in which the user reviews the port mappings as a table and adds, edits and deletes
// them. It works on the editor's private copy of the list, which it hands back only on OK. The
// table is a list view in virtual mode: it asks for the texts of the rows it shows, so opening and
// deleting cost no work per row of the window. A row that the port check flags shows the marked
// picture and, as its tip, what the check found.
class TdlgQ7NPorts final : public TModalDialog {
public:
    TdlgQ7NPorts();
    ~TdlgQ7NPorts() override;

    // Marks the rows that Machine finds in the way (none: the file's checks alone).
    void SetMachineCheck(IMachineCheck* Machine) { FEditor.SetMachineCheck(Machine); }

    // Edits a copy of Ports (an empty list when Ports is none) modally over Parent and copies the
    // result back into Ports when the user closes the dialog with OK. True only for OK.
    bool Execute(TQ7NPorts* Ports, HWND Parent);

    // Shows one row per record of the working list, in list order, none selected.
    void RefreshList();
    // The editor's UpdateItem, shown: a negative Index appends a row. Returns the row.
    int UpdateItem(int Index, const TQ7NPort& Port);
    // The DPI the dialog is laid out for.
    int Dpi() const { return FDpi; }

protected:
    bool OnInit() override;
    bool OnCommand(int Code, int Id, HWND Control) override;
    bool OnNotify(int Id, NMHDR* Header) override;
    bool OnMessage(UINT Message, WPARAM W, LPARAM L, INT_PTR& Result) override;
    // Moved to a monitor of another DPI: the size the system suggests, laid out anew.
    void OnDpiChanged(int Dpi) override;
    bool SizedBySystemOnDpiChange() const override { return true; }
    void OnOK() override {} // Enter presses no button

private:
    void CreateToolbar();
    void CreateColumns();
    // The fonts, pictures and column widths for FDpi, then the places.
    void ScaleForDpi();
    // Places the controls in the client area as it is.
    void Arrange();
    // The line under the table: the findings of the selected rows.
    void ShowFindings();
    void actAddExecute();
    void actEditExecute();
    void actDeleteExecute();
    void lvPortsDblClick();
    void lvPortsGetDispInfo(NMLVDISPINFOW& Info);
    void lvPortsGetInfoTip(NMLVGETINFOTIPW& Tip);
    // Repaints the rows shown after a change: a change of one row can mark or clear others.
    void MarksChanged();
    // Keeps FSelected as the list view reports changes of the rows From to To (-1: all rows).
    void SelectionChanged(int From, int To, UINT OldState, UINT NewState);
    // The rows selected in the table, in ascending order.
    std::vector<int> SelectedRows() const;

    TPortListEditor FEditor;
    TImageListHandle FToolbarImages;
    TFontHandle FFont;
    TFontHandle FTableFont;
    int FDpi = 96;
    std::wstring FCellText; // the text last handed to the list view, which reads it later
    // The selection, row by row. A list view in virtual mode is asked for its selected rows one
    // call per row, each searching its selection: slow for tens of thousands of rows.
    std::vector<bool> FSelected;
};

} // namespace q7n::win32
