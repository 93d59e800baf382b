#include "dialogs/qt/Q7NPortDialog.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using q7n::TQ7NPort;
using q7n::TXMLClass;
using q7n::qt::TdlgQ7NPort;
using q7n::testing::ClickButton;
using q7n::testing::PressKey;
using q7n::testing::ReplaceText;
using q7n::testing::TModalScript;

namespace {

QLineEdit* Edit(QWidget& Dialog, const char* Name) {
    return Dialog.findChild<QLineEdit*>(QString::fromLatin1(Name));
}

QComboBox* Combo(QWidget& Dialog, const char* Name) {
    return Dialog.findChild<QComboBox*>(QString::fromLatin1(Name));
}

QStringList Texts(const QComboBox& List) {
    QStringList Items;
    for (int I = 0; I < List.count(); ++I)
        Items << List.itemText(I);
    return Items;
}

// A record unlike the defaults in every value.
std::unique_ptr<TQ7NPort> SampleRecord() {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    Port->SetIP("10.1.2.3");
    Port->SetRemoutePort(502);
    Port->SetLocalPort(4001);
    Port->SetCOMPort(7);
    Port->SetCpRate(19200);
    return Port;
}

QString Values(const TQ7NPort& Port) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(QString::fromStdString(Port.IP()))
        .arg(Port.RemoutePort())
        .arg(Port.LocalPort())
        .arg(Port.COMPort())
        .arg(Port.CpRate());
}

// Expects the error box with Text and answers it with Enter.
void AnswerErrorBox(TModalScript& Script, const QString& Text) {
    Script.Then<QMessageBox>([Text](QMessageBox& Box) {
        QCOMPARE(Box.text(), Text);
        QCOMPARE(Box.windowTitle(), QStringLiteral("TAVO BWX Service - Конфигуратор"));
        PressKey(Box, Qt::Key_Return);
    });
}

// One row of OKTakesTheFieldsOver: the texts typed, and the record's values after OK.
void FieldsRow(const char* Name, const char* IP, const char* RemoutePort, const char* LocalPort,
               const char* Stored) {
    QTest::newRow(Name) << QString(IP) << QString(RemoutePort) << QString(LocalPort)
                        << QString(Stored);
}

} // namespace

class PortDialogTest : public QObject {
    Q_OBJECT

private slots:
    void OpensOnTheDefaultsWithoutARecord();
    void ShowsTheHighestCOMPortAndRate();
    void OKTakesTheFieldsOver_data();
    void OKTakesTheFieldsOver();
    void FieldThatDoesNotConvertKeepsTheDialogOpen_data();
    void FieldThatDoesNotConvertKeepsTheDialogOpen();
    void RateNotOfferedMustBeChosen();
    void TabGoesThroughTheFieldsThenTheButtons();
    void EnterPressesTheFocusedButton();
    void OnlyTheButtonsAndTheTitleBarClose();
    void FieldsHaveNoLengthLimit();
};

void PortDialogTest::OpensOnTheDefaultsWithoutARecord() {
    QWidget Corner; // a parent away from the middle: the dialog still opens centred
    Corner.setGeometry(0, 0, 100, 60);
    Corner.show();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QCOMPARE(Dialog.windowTitle(), QStringLiteral("Q7N port"));
        QCOMPARE(Dialog.size(), QSize(456, 145));
        QPoint Offset =
            Dialog.frameGeometry().center() - Dialog.screen()->availableGeometry().center();
        QVERIFY2(Offset.manhattanLength() <= 2, "not centred on the screen");
        QCOMPARE(Edit(Dialog, "edtIP")->text(), QStringLiteral("192.168.1.6"));
        QCOMPARE(Edit(Dialog, "edtRPort")->text(), QStringLiteral("8080"));
        QCOMPARE(Edit(Dialog, "edtLPort")->text(), QStringLiteral("8080"));
        QCOMPARE(Combo(Dialog, "cbbCOMPort")->currentText(), QStringLiteral("COM1"));
        QCOMPARE(Combo(Dialog, "cbbRate")->currentText(), QStringLiteral("br9600"));

        QStringList COMPorts = Texts(*Combo(Dialog, "cbbCOMPort"));
        QCOMPARE(COMPorts.size(), 256);
        QCOMPARE(COMPorts.at(9), QStringLiteral("COM10"));
        QCOMPARE(COMPorts.last(), QStringLiteral("COM256"));
        QComboBox* Rates = Combo(Dialog, "cbbRate");
        QCOMPARE(Texts(*Rates),
                 (QStringList{"br110", "br300", "br600", "br1200", "br2400", "br4800", "br9600",
                              "br14400", "br19200", "br38400", "br56000", "br57600", "br115200"}));
        QCOMPARE(Rates->itemData(7).toInt(), 14400);
        QCOMPARE(Rates->itemData(12).toInt(), 115200);
        QVERIFY(!Combo(Dialog, "cbbRate")->isEditable());
        QVERIFY(!Combo(Dialog, "cbbCOMPort")->isEditable());
        ClickButton(Dialog, "btnOK");
    });
    TdlgQ7NPort Dialog(&Corner);
    QCOMPARE(Script.Outcome(Dialog.Execute(nullptr)), QStringLiteral("accepted"));
    QCOMPARE(Values(Dialog.Port()), QStringLiteral("192.168.1.6 8080 8080 1 9600"));
}

void PortDialogTest::ShowsTheHighestCOMPortAndRate() {
    auto Port = SampleRecord();
    Port->SetCOMPort(256);
    Port->SetCpRate(115200);
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QCOMPARE(Edit(Dialog, "edtIP")->text(), QStringLiteral("10.1.2.3"));
        QCOMPARE(Edit(Dialog, "edtRPort")->text(), QStringLiteral("502"));
        QCOMPARE(Edit(Dialog, "edtLPort")->text(), QStringLiteral("4001"));
        QCOMPARE(Combo(Dialog, "cbbCOMPort")->currentText(), QStringLiteral("COM256"));
        QCOMPARE(Combo(Dialog, "cbbRate")->currentText(), QStringLiteral("br115200"));
        ReplaceText(Dialog, "edtLPort", "1"); // changed, then cancelled
        ClickButton(Dialog, "btnCancel");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("rejected"));
    QCOMPARE(Values(*Port), QStringLiteral("10.1.2.3 502 4001 256 115200"));
}

void PortDialogTest::OKTakesTheFieldsOver_data() {
    QTest::addColumn<QString>("IP");
    QTest::addColumn<QString>("RemoutePort");
    QTest::addColumn<QString>("LocalPort");
    QTest::addColumn<QString>("Stored");
    FieldsRow("plain", "192.168.0.10", "8081", "9001", "192.168.0.10 8081 9001");
    FieldsRow("leading blank, sign", "h", " 8080", "+7", "h 8080 7");
    FieldsRow("hexadecimal", "h", "$1F90", "0x10", "h 8080 16");
    FieldsRow("no range check", "h", "0", "-1", "h 0 -1");
    FieldsRow("above 65535", "h", "70000", "2147483647", "h 70000 2147483647");
    FieldsRow("empty and odd IP texts", "", "1", "2", " 1 2");
    FieldsRow("IP kept as typed", "not an address ", "1", "2", "not an address  1 2");
}

void PortDialogTest::OKTakesTheFieldsOver() {
    QFETCH(QString, IP);
    QFETCH(QString, RemoutePort);
    QFETCH(QString, LocalPort);
    QFETCH(QString, Stored);
    auto Port = SampleRecord();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([&](TdlgQ7NPort& Dialog) {
        ReplaceText(Dialog, "edtIP", IP);
        ReplaceText(Dialog, "edtRPort", RemoutePort);
        ReplaceText(Dialog, "edtLPort", LocalPort);
        QComboBox* COMPort = Combo(Dialog, "cbbCOMPort");
        COMPort->setFocus();
        QTest::keyClick(COMPort, Qt::Key_Down); // COM7 to COM8
        QComboBox* Rate = Combo(Dialog, "cbbRate");
        Rate->setFocus();
        QTest::keyClick(Rate, Qt::Key_End); // br115200
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("accepted"));
    QCOMPARE(Values(*Port), Stored + QStringLiteral(" 8 115200"));
}

void PortDialogTest::FieldThatDoesNotConvertKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("Field");
    QTest::addColumn<QString>("Text");
    QTest::newRow("letters, remote port") << QStringLiteral("edtRPort") << QStringLiteral("abc");
    QTest::newRow("letters, local port") << QStringLiteral("edtLPort") << QStringLiteral("abc");
    QTest::newRow("trailing blank") << QStringLiteral("edtRPort") << QStringLiteral("8080 ");
    QTest::newRow("empty") << QStringLiteral("edtLPort") << QStringLiteral("");
    QTest::newRow("beyond 32 bits") << QStringLiteral("edtRPort") << QStringLiteral("2147483648");
    QTest::newRow("Cyrillic") << QStringLiteral("edtLPort") << QStringLiteral("порт");
}

void PortDialogTest::FieldThatDoesNotConvertKeepsTheDialogOpen() {
    QFETCH(QString, Field);
    QFETCH(QString, Text);
    auto Port = SampleRecord();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([&](TdlgQ7NPort& Dialog) {
        ReplaceText(Dialog, "edtIP", "172.16.0.1");
        ReplaceText(Dialog, qPrintable(Field), Text);
        ClickButton(Dialog, "btnOK"); // the error box opens and is answered inside this click
        QVERIFY(Dialog.isVisible());
        // Back in the field that failed, its text selected for typing over.
        QCOMPARE(Dialog.focusWidget()->objectName(), Field);
        QCOMPARE(Edit(Dialog, qPrintable(Field))->selectedText(), Text);
        // The steps before the failing one were taken over; none after it.
        QCOMPARE(QString::fromStdString(Dialog.Port().IP()), QStringLiteral("172.16.0.1"));
        QCOMPARE(Dialog.Port().COMPort(), 7);
        ClickButton(Dialog, "btnCancel");
    });
    AnswerErrorBox(Script, QStringLiteral("'%1' is not a valid integer value.").arg(Text));
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("rejected"));
    QCOMPARE(Values(*Port), QStringLiteral("10.1.2.3 502 4001 7 19200"));
}

void PortDialogTest::RateNotOfferedMustBeChosen() {
    auto Port = SampleRecord();
    Port->SetCpRate(250000); // read from a file; the list stops at 115200
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QComboBox* Rate = Combo(Dialog, "cbbRate");
        QCOMPARE(Rate->currentIndex(), -1);
        ClickButton(Dialog, "btnOK");
        QVERIFY(Dialog.isVisible());
        QCOMPARE(Dialog.focusWidget(), Rate);
    });
    AnswerErrorBox(Script, QStringLiteral("List index out of bounds (-1)"));
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QComboBox* Rate = Combo(Dialog, "cbbRate");
        Rate->setFocus();
        QTest::keyClick(Rate, Qt::Key_Down); // the first entry, br110
        QCOMPARE(Rate->currentText(), QStringLiteral("br110"));
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("accepted"));
    QCOMPARE(Values(*Port), QStringLiteral("10.1.2.3 502 4001 7 110"));
}

void PortDialogTest::TabGoesThroughTheFieldsThenTheButtons() {
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QStringList Order{Dialog.focusWidget()->objectName()};
        for (int I = 0; I < 7; ++I) {
            PressKey(Dialog, Qt::Key_Tab);
            Order << Dialog.focusWidget()->objectName();
        }
        QCOMPARE(Order, (QStringList{"edtIP", "edtRPort", "edtLPort", "btnOK", "btnCancel",
                                     "cbbCOMPort", "cbbRate", "edtIP"}));
        ClickButton(Dialog, "btnCancel");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(nullptr)), QStringLiteral("rejected"));
}

void PortDialogTest::EnterPressesTheFocusedButton() {
    auto Port = SampleRecord();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        ReplaceText(Dialog, "edtRPort", "1");
        for (const char* Next : {"edtLPort", "btnOK", "btnCancel"}) {
            PressKey(Dialog, Qt::Key_Tab);
            QCOMPARE(Dialog.focusWidget()->objectName(), QString(Next));
        }
        PressKey(Dialog, Qt::Key_Return);
    });
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        ReplaceText(Dialog, "edtRPort", "2");
        PressKey(Dialog, Qt::Key_Tab);
        PressKey(Dialog, Qt::Key_Tab);
        PressKey(Dialog, Qt::Key_Enter, Qt::KeypadModifier);
    });
    QVERIFY(!TdlgQ7NPort().Execute(Port.get()));
    QCOMPARE(Port->RemoutePort(), 502);
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("accepted"));
    QCOMPARE(Port->RemoutePort(), 2);
}

void PortDialogTest::OnlyTheButtonsAndTheTitleBarClose() {
    auto Port = SampleRecord();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        ReplaceText(Dialog, "edtRPort", "1");
        PressKey(Dialog, Qt::Key_Escape);
        PressKey(Dialog, Qt::Key_Return);
        PressKey(Dialog, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(Dialog.isVisible());
        Dialog.close(); // the title bar's close button
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("rejected"));
    QCOMPARE(Port->RemoutePort(), 502);
}

void PortDialogTest::FieldsHaveNoLengthLimit() {
    auto Port = SampleRecord();
    TModalScript Script;
    Script.Then<TdlgQ7NPort>([](TdlgQ7NPort& Dialog) {
        QLineEdit* IP = Edit(Dialog, "edtIP");
        IP->setText(QString(40000, u'a')); // beyond the 32767 characters of a line edit
        IP->setFocus();
        QTest::keyClick(IP, Qt::Key_End);
        QTest::keyClick(IP, 'b');
        ClickButton(Dialog, "btnOK");
    });
    QCOMPARE(Script.Outcome(TdlgQ7NPort().Execute(Port.get())), QStringLiteral("accepted"));
    QCOMPARE(Port->IP(), std::string(40000, 'a') + 'b');
}

QTEST_MAIN(PortDialogTest)
#include "PortDialogTest.moc"
