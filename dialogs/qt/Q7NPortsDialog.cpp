#include "dialogs/qt/Q7NPortsDialog.h"

#include "dialogs/AccessKey.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/qt/ButtonStrip.h"
#include "dialogs/qt/DialogFont.h"
#include "dialogs/qt/PortIcons.h"
#include "dialogs/qt/PortListModel.h"
#include "dialogs/qt/Q7NPortDialog.h"
#include "windowing/qt/ConfirmationBox.h"
#include "windowing/qt/EventHandler.h"
#include "windowing/qt/FontScaling.h"
#include "windowing/qt/ScreenPlacement.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace q7n::qt {

TdlgQ7NPorts::TdlgQ7NPorts(QWidget* Parent)
    : TModalDialog(Parent), FModel(new TPortListModel(this)) {
    CreateControls();
}

TdlgQ7NPorts::~TdlgQ7NPorts() {
    // The table and its model are children, freed only after the list: they must not reach it.
    FModel->SetEditor(nullptr);
}

QAction* TdlgQ7NPorts::CreateAction(TPortListCommand Command, const char* Name, const QIcon& Icon,
                                    void (TdlgQ7NPorts::*Handler)()) {
    const char* Text = PortListCommandLook(Command).Caption;
    auto* Action = new QAction(Icon, QString::fromLatin1(Text), this);
    Action->setObjectName(QString::fromLatin1(Name));
    Action->setData(int(Command));
    // The toolbar shows the caption without its marked letter, so Alt and the letter are bound
    // explicitly.
    Action->setShortcut(QKeySequence(QStringLiteral("Alt+") + QChar(AccessKeyOf(Text)).toUpper()));
    connect(Action, &QAction::triggered, this,
            [this, Handler] { RunEventHandler(this, [this, Handler] { (this->*Handler)(); }); });
    return Action;
}

void TdlgQ7NPorts::CreateControls() {
    setWindowTitle(QString::fromLatin1(PortListCaption));
    setFont(DialogFont(PortListFontPoints));
    setSizeGripEnabled(true);
    // The opening size is the window's; showEvent gives the client what the frame leaves.
    resize(OpeningSize());

    actAdd = CreateAction(plcAdd, "actAdd", AddPortIcon(), &TdlgQ7NPorts::actAddExecute);
    actEdit = CreateAction(plcEdit, "actEdit", EditPortIcon(), &TdlgQ7NPorts::actEditExecute);
    actDelete =
        CreateAction(plcDelete, "actDelete", DeletePortIcon(), &TdlgQ7NPorts::actDeleteExecute);
    auto* Toolbar = new QToolBar;
    Toolbar->setObjectName(QStringLiteral("ToolBar"));
    Toolbar->setIconSize(QSize(ToolbarIconSize, ToolbarIconSize));
    Toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (QAction* Action : {actAdd, actEdit, actDelete}) {
        if (PortListCommandLook(TPortListCommand(Action->data().toInt())).SeparatorBefore)
            Toolbar->addSeparator();
        Toolbar->addAction(Action);
    }

    FModel->SetRowDecorations(PortRowIcon(), MarkedPortRowIcon());
    lvPorts = new QTableView;
    lvPorts->setObjectName(QStringLiteral("lvPorts"));
    lvPorts->setFont(DialogFont(PortListTableFontPoints));
    lvPorts->setModel(FModel);
    lvPorts->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvPorts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvPorts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvPorts->setShowGrid(true);
    lvPorts->setWordWrap(false);
    lvPorts->setTabKeyNavigation(false);
    lvPorts->setIconSize(QSize(RowIconSize, RowIconSize));
    // Fixed row heights keep the table fast with very many rows: nothing is measured per row.
    lvPorts->verticalHeader()->hide();
    lvPorts->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lvPorts->verticalHeader()->setDefaultSectionSize(RowIconSize + 4);
    QHeaderView* Columns = lvPorts->horizontalHeader();
    Columns->setSectionResizeMode(QHeaderView::Interactive);
    Columns->setStretchLastSection(false);
    Columns->setHighlightSections(false);
    for (int Column = 0; Column < pcCount; ++Column)
        Columns->resizeSection(
            Column, FollowFontDpi(*this, PortColumnLook(static_cast<TPortColumn>(Column)).Width));
    lvPorts->viewport()->installEventFilter(this);

    lblFindings = new QLabel;
    lblFindings->setObjectName(QStringLiteral("lblFindings"));
    lblFindings->setTextFormat(Qt::PlainText);
    // A long line is cut at the window's edge rather than widening the window.
    lblFindings->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblFindings->setContentsMargins(8, 0, 8, 0);
    // After every change of the selection and of the list (an add and an edit change the rows'
    // data, a delete resets them).
    connect(lvPorts->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TdlgQ7NPorts::ShowFindingsLine);
    connect(FModel, &QAbstractItemModel::modelReset, this, &TdlgQ7NPorts::ShowFindingsLine);
    connect(FModel, &QAbstractItemModel::dataChanged, this, &TdlgQ7NPorts::ShowFindingsLine);

    btnOK = NonDefaultButton(OKCaption, "btnOK");
    btnCancel = NonDefaultButton(CancelCaption, "btnCancel");
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* Form = new QVBoxLayout(this);
    Form->setContentsMargins(0, 0, 0, 6);
    Form->setSpacing(4);
    Form->addWidget(Toolbar);
    Form->addWidget(lvPorts, 1);
    Form->addWidget(lblFindings);
    AddButtonStrip(*Form, *btnCancel, *btnOK);
}

bool TdlgQ7NPorts::Execute(TQ7NPorts* Ports) {
    return FEditor.Execute(Ports, [this] {
        RefreshList();
        lvPorts->setFocus();
        return ExecuteModal();
    });
}

void TdlgQ7NPorts::RefreshList() {
    FModel->SetEditor(&FEditor);
}

int TdlgQ7NPorts::UpdateItem(int Index, const TQ7NPort& Port) {
    const int Row = FModel->UpdateItem(Index, Port);
    if (Index < 0 && AddedRowScrolledIntoView)
        lvPorts->scrollTo(FModel->index(Row, pcIP));
    return Row;
}

QSize TdlgQ7NPorts::OpeningSize() const {
    return {FollowFontDpi(*this, PortListWidth), FollowFontDpi(*this, PortListHeight)};
}

void TdlgQ7NPorts::ShowFindingsLine() {
    lblFindings->setText(QString::fromStdString(FEditor.FindingsLine(SelectedRows())));
}

void TdlgQ7NPorts::showEvent(QShowEvent* Event) {
    if (!Event->spontaneous() && !FOpened) {
        FOpened = true;
        ResizeFrameTo(*this, OpeningSize());
    }
    TModalDialog::showEvent(Event); // centres the window at its size
}

void TdlgQ7NPorts::actAddExecute() {
    TdlgQ7NPort Dialog(this);
    if (Dialog.Execute(nullptr))
        UpdateItem(-1, Dialog.Port());
}

void TdlgQ7NPorts::actEditExecute() {
    std::optional<int> Row = FEditor.Edit(
        SelectedRows(), [this](TQ7NPort& Port) { return TdlgQ7NPort(this).Execute(&Port); });
    if (Row)
        FModel->RowChanged(*Row);
}

void TdlgQ7NPorts::lvPortsDblClick() {
    actEdit->trigger();
}

void TdlgQ7NPorts::actDeleteExecute() {
    FModel->DeleteRows(FEditor.ConfirmDelete(SelectedRows(), [this](const std::string& Question) {
        return ShowConfirmationBox(QString::fromStdString(Question), this) == QMessageBox::Yes;
    }));
}

std::vector<int> TdlgQ7NPorts::SelectedRows() const {
    // Read from the selection's ranges: asking the selection model row by row is quadratic.
    std::vector<int> Rows;
    for (const QItemSelectionRange& Range : lvPorts->selectionModel()->selection())
        for (int Row = Range.top(); Row <= Range.bottom(); ++Row)
            Rows.push_back(Row);
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    return Rows;
}

bool TdlgQ7NPorts::eventFilter(QObject* Watched, QEvent* Event) {
    // A double-click anywhere in the table, on a row or not, as the list view's own event.
    if (Watched == lvPorts->viewport() && Event->type() == QEvent::MouseButtonDblClick)
        lvPortsDblClick();
    return TModalDialog::eventFilter(Watched, Event);
}

} // namespace q7n::qt
