#include "dialogs/qt/Q7NPortDialog.h"

#include "dialogs/PortChoices.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/qt/ButtonStrip.h"
#include "dialogs/qt/DialogFont.h"
#include "windowing/qt/EventHandler.h"
#include "windowing/qt/FontScaling.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace q7n::qt {

namespace {

template <class T> T* Named(T* Widget, const char* Name) {
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

QLabel* RightAligned(const char* Text) {
    auto* Label = new QLabel(QString::fromLatin1(Text));
    Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return Label;
}

} // namespace

TdlgQ7NPort::TdlgQ7NPort(QWidget* Parent) : TModalDialog(Parent) {
    CreateControls();
    FormCreate();
}

TdlgQ7NPort::~TdlgQ7NPort() = default;

void TdlgQ7NPort::CreateControls() {
    setWindowTitle(QString::fromLatin1(PortEditorCaption));
    setFont(DialogFont(PortEditorFontPoints));

    edtIP = Named(new QLineEdit, "edtIP");
    edtRPort = Named(new QLineEdit, "edtRPort");
    edtLPort = Named(new QLineEdit, "edtLPort");
    cbbCOMPort = Named(new QComboBox, "cbbCOMPort");
    cbbRate = Named(new QComboBox, "cbbRate");
    FFieldControls = {edtIP, edtRPort, edtLPort, cbbCOMPort, cbbRate};
    for (QLineEdit* Field : {edtIP, edtRPort, edtLPort})
        if (PortFieldsUnlimited)
            Field->setMaxLength(std::numeric_limits<int>::max()); // Qt's own limit is 32767
    btnOK = NonDefaultButton(OKCaption, "btnOK");
    btnCancel = NonDefaultButton(CancelCaption, "btnCancel");

    auto* Fields = new QGridLayout;
    Fields->addWidget(RightAligned(IPLabel), 0, 0);
    Fields->addWidget(edtIP, 0, 1);
    Fields->addWidget(RightAligned(RemoutePortLabel), 1, 0);
    Fields->addWidget(edtRPort, 1, 1);
    Fields->addWidget(RightAligned(LocalPortLabel), 2, 0);
    Fields->addWidget(edtLPort, 2, 1);
    Fields->addWidget(RightAligned(COMPortLabel), 0, 2);
    Fields->addWidget(cbbCOMPort, 0, 3);
    Fields->addWidget(RightAligned(RateLabel), 1, 2);
    Fields->addWidget(cbbRate, 1, 3);
    Fields->setColumnStretch(1, 1);
    Fields->setColumnStretch(3, 1);
    // The layout's figures are for 96 dpi: with a larger font they grow with it.
    const auto Scaled = [this](int Pixels) {
        return FollowFontDpi(*this, Pixels);
    };
    Fields->setColumnMinimumWidth(2, Scaled(80));
    Fields->setContentsMargins(Scaled(8), 0, Scaled(8), 0);

    auto* Form = new QVBoxLayout(this);
    Form->setContentsMargins(0, Scaled(8), 0, Scaled(6));
    Form->addLayout(Fields);
    Form->addStretch();
    AddButtonStrip(*Form, *btnCancel, *btnOK);
    setFixedSize(Scaled(PortEditorWidth), Scaled(PortEditorHeight));

    setTabOrder(edtIP, edtRPort);
    setTabOrder(edtRPort, edtLPort);
    setTabOrder(edtLPort, btnOK);
    setTabOrder(btnOK, btnCancel);
    setTabOrder(btnCancel, cbbCOMPort);
    setTabOrder(cbbCOMPort, cbbRate);

    connect(btnOK, &QPushButton::clicked, this, [this] {
        // After the error box the user goes on where the fault is.
        if (!RunEventHandler(this, [this] { btnOKClick(); })) {
            QWidget* Failed = FFieldControls[std::size_t(FEditor.FailedField())];
            Failed->setFocus();
            if (auto* Field = qobject_cast<QLineEdit*>(Failed))
                Field->selectAll();
        }
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgQ7NPort::FormCreate() {
    cbbCOMPort->clear();
    for (int Entry = 0; Entry < COMPortEntryCount; ++Entry)
        cbbCOMPort->addItem(QString::fromStdString(COMPortText(Entry + 1)));
    cbbRate->clear();
    for (const TPortRate& Entry : OfferedPortRates)
        cbbRate->addItem(QString::fromLatin1(Entry.Text), Entry.Rate);
}

bool TdlgQ7NPort::Execute(TQ7NPort* Port) {
    return FEditor.Execute(Port, [this] {
        PortToControls();
        edtIP->setFocus();
        return ExecuteModal();
    });
}

void TdlgQ7NPort::PortToControls() {
    TPortFields Fields = FEditor.Fields();
    edtIP->setText(QString::fromStdString(Fields.IP));
    edtRPort->setText(QString::fromStdString(Fields.RemoutePort));
    edtLPort->setText(QString::fromStdString(Fields.LocalPort));
    cbbCOMPort->setCurrentIndex(Fields.COMPortEntry);
    cbbRate->setCurrentIndex(Fields.RateEntry);
}

void TdlgQ7NPort::btnOKClick() {
    FEditor.TakeOver({edtIP->text().toStdString(), edtRPort->text().toStdString(),
                      edtLPort->text().toStdString(), cbbCOMPort->currentIndex(),
                      cbbRate->currentIndex()});
    accept();
}

} // namespace q7n::qt
