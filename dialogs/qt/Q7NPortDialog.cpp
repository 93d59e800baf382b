#include "Q7NPortDialog.h"

#include "ButtonStrip.h"
#include "DialogFont.h"
#include "EventHandler.h"
#include "Exceptions.h"
#include "IntegerConversion.h"
#include "PrivateCopyExecute.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q7n {

namespace {

constexpr int COMPortCount = 256;

struct TRateEntry {
    const char* Text;
    std::int32_t Rate;
};

// In the order shown; nothing above 115200 is offered.
constexpr TRateEntry Rates[] = {
    {"br110", 110},       {"br300", 300},     {"br600", 600},     {"br1200", 1200},
    {"br2400", 2400},     {"br4800", 4800},   {"br9600", 9600},   {"br14400", 14400},
    {"br19200", 19200},   {"br38400", 38400}, {"br56000", 56000}, {"br57600", 57600},
    {"br115200", 115200},
};

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
    setWindowTitle(QStringLiteral("Q7N port"));
    setFont(DialogFont(9));

    edtIP = Named(new QLineEdit, "edtIP");
    edtRPort = Named(new QLineEdit, "edtRPort");
    edtLPort = Named(new QLineEdit, "edtLPort");
    cbbCOMPort = Named(new QComboBox, "cbbCOMPort");
    cbbRate = Named(new QComboBox, "cbbRate");
    btnOK = NonDefaultButton("OK", "btnOK");
    btnCancel = NonDefaultButton("Cancel", "btnCancel");

    auto* Fields = new QGridLayout;
    Fields->addWidget(RightAligned("IP"), 0, 0);
    Fields->addWidget(edtIP, 0, 1);
    Fields->addWidget(RightAligned("Remoute port"), 1, 0);
    Fields->addWidget(edtRPort, 1, 1);
    Fields->addWidget(RightAligned("Local port"), 2, 0);
    Fields->addWidget(edtLPort, 2, 1);
    Fields->addWidget(RightAligned("COM port"), 0, 2);
    Fields->addWidget(cbbCOMPort, 0, 3);
    Fields->addWidget(RightAligned("Baudrate"), 1, 2);
    Fields->addWidget(cbbRate, 1, 3);
    Fields->setColumnStretch(1, 1);
    Fields->setColumnStretch(3, 1);
    Fields->setColumnMinimumWidth(2, 80);
    Fields->setContentsMargins(8, 0, 8, 0);

    auto* Form = new QVBoxLayout(this);
    Form->setContentsMargins(0, 8, 0, 6);
    Form->addLayout(Fields);
    Form->addStretch();
    AddButtonStrip(*Form, *btnCancel, *btnOK);
    setFixedSize(456, 145);

    setTabOrder(edtIP, edtRPort);
    setTabOrder(edtRPort, edtLPort);
    setTabOrder(edtLPort, btnOK);
    setTabOrder(btnOK, btnCancel);
    setTabOrder(btnCancel, cbbCOMPort);
    setTabOrder(cbbCOMPort, cbbRate);

    connect(btnOK, &QPushButton::clicked, this,
            [this] { RunEventHandler(this, [this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgQ7NPort::FormCreate() {
    FPort = TXMLClass::Create<TQ7NPort>(nullptr);
    cbbCOMPort->clear();
    for (int Number = 1; Number <= COMPortCount; ++Number)
        cbbCOMPort->addItem(QStringLiteral("COM") + QString::number(Number));
    cbbRate->clear();
    for (const TRateEntry& Entry : Rates)
        cbbRate->addItem(QString::fromLatin1(Entry.Text), Entry.Rate);
}

bool TdlgQ7NPort::Execute(TQ7NPort* Port) {
    return ExecuteOnPrivateCopy(*this, *FPort, Port, [this] {
        PortToControls();
        edtIP->setFocus();
    });
}

void TdlgQ7NPort::PortToControls() {
    edtIP->setText(QString::fromStdString(FPort->IP()));
    edtRPort->setText(QString::number(FPort->RemoutePort()));
    edtLPort->setText(QString::number(FPort->LocalPort()));
    cbbCOMPort->setCurrentIndex(FPort->COMPort() - 1);
    cbbRate->setCurrentIndex(cbbRate->findData(FPort->CpRate())); // -1, no selection, when absent
}

void TdlgQ7NPort::btnOKClick() {
    // Each value goes in through the record's write rule; a failure leaves the earlier ones taken.
    FPort->SetIP(edtIP->text().toStdString());
    FPort->SetRemoutePort(StrToInt(edtRPort->text().toStdString()));
    FPort->SetLocalPort(StrToInt(edtLPort->text().toStdString()));
    FPort->SetCOMPort(cbbCOMPort->currentIndex() + 1);
    FPort->SetCpRate(SelectedRate());
    accept();
}

std::int32_t TdlgQ7NPort::SelectedRate() const {
    int Index = cbbRate->currentIndex();
    if (Index < 0 || Index >= cbbRate->count())
        throw EListError(Index);
    return cbbRate->itemData(Index).toInt();
}

} // namespace q7n
