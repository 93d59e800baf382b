// The main window over the recording service manager: what it shows, what its buttons ask for,
// and that the state goes on following the service while a modal window is open.
#include "FakeServiceControlManager.h"
#include "PortsEditDialogs.h"
#include "ServiceConfiguratorDialog.h"
#include "ServicePaths.h"

#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <filesystem>

using namespace q7n;
using q7n::qt::TdlgServiceConfigurator;

namespace {

// The port list editor replaced by a real modal dialog that closes itself after a while.
class TModalForAWhile final : public IPortsEditDialogs {
public:
    std::function<void()> WhileOpen;
    int Edits = 0;

    bool ExecutePortList(TQ7NPorts&) override {
        ++Edits;
        QDialog Dialog;
        QTimer::singleShot(1500, &Dialog, &QDialog::accept);
        if (WhileOpen)
            QTimer::singleShot(100, &Dialog, WhileOpen);
        Dialog.exec();
        return false;
    }
    bool Confirm(const std::string&) override { return false; }
    void Warn(const std::string&) override {}
};

QColor TextColour(const QLabel* Label) {
    return Label->palette().color(QPalette::WindowText);
}

const QColor Green(0x40, 0xC2, 0x3D);
const QColor Red(0xFF, 0x00, 0x00);

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FPlatform = std::make_unique<testing::TFakeServiceControlManager>();
        FDialogs = std::make_unique<TModalForAWhile>();
        FWindow = std::make_unique<TdlgServiceConfigurator>(FPlatform.get(), FDialogs.get());
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    void cleanup() {
        FWindow.reset();
        FDialogs.reset();
        FPlatform.reset();
    }

    void looksAsDesigned() {
        QCOMPARE(FWindow->windowTitle(), QString("Q7NService - Конфигуратор"));
        QCOMPARE(FWindow->size(), QSize(565, 271));
        QCOMPARE(FWindow->minimumSize(), FWindow->maximumSize());
        QVERIFY(!(FWindow->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(FWindow->Button1->text(), QString("Старт"));
        QCOMPARE(FWindow->Button3->geometry(), QRect(206, 148, 99, 25));
        QCOMPARE(FWindow->btn1->text(), QString("UnInstall"));
        QCOMPARE(FWindow->btnEdit->geometry(), QRect(208, 224, 97, 25));
        QCOMPARE(FWindow->Label2->text(), QString("Опции "));
        QCOMPARE(FWindow->actReboot->text(), QString("Restart"));
        QCOMPARE(FWindow->actReboot->property("Category").toString(), QString("Service"));
        // Tab order: the three service buttons, Install, UnInstall, then the edit button.
        QList<QWidget*> Order{FWindow->Button1, FWindow->Button2, FWindow->Button3,
                              FWindow->Button5, FWindow->btn1,    FWindow->btnEdit};
        for (int Index = 0; Index + 1 < Order.size(); ++Index) {
            QWidget* Next = Order[Index]->nextInFocusChain();
            while (!(Next->focusPolicy() & Qt::TabFocus))
                Next = Next->nextInFocusChain();
            QCOMPARE(Next, Order[Index + 1]);
        }
    }

    void stateLabelStartsGreenAndFollowsThePolls() {
        QCOMPARE(FWindow->ServiceStatusLb->text(), QString("-"));
        QCOMPARE(TextColour(FWindow->ServiceStatusLb), Green);
        // Not installed: unknown, in red, at the first poll a little over 500 ms later.
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->ServiceStatusLb->text(), QString("Неизвестно"), 2000);
        QCOMPARE(TextColour(FWindow->ServiceStatusLb), Red);
        QTest::mouseClick(FWindow->Button5, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->ServiceStatusLb->text(), QString("Остановлен"), 2000);
        QCOMPARE(TextColour(FWindow->ServiceStatusLb), Red);
        FPlatform->States["Q7NSrv"] = 4;
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->ServiceStatusLb->text(), QString("Работает"), 2000);
        QCOMPARE(TextColour(FWindow->ServiceStatusLb), Green);
        // The label is as wide as its text.
        QCOMPARE(FWindow->ServiceStatusLb->width(), FWindow->ServiceStatusLb->sizeHint().width());
    }

    void everyButtonRaisesItsRequest() {
        auto PressAndWaitFor = [this](QPushButton* Button, const std::string& Call) {
            FPlatform->TakeCalls();
            QTest::mouseClick(Button, Qt::LeftButton);
            auto Seen = [&] {
                for (const std::string& Made : FPlatform->Calls)
                    if (Made.rfind(Call, 0) == 0)
                        return true;
                return false;
            };
            QTRY_VERIFY_WITH_TIMEOUT(Seen(), 1000);
        };
        // The program below the current folder, as the installer registers it.
        PressAndWaitFor(FWindow->Button5,
                        "CreateService Q7NSrv " + QuoteServicePath(ServiceExecutablePath(
                                                      std::filesystem::current_path().string())));
        PressAndWaitFor(FWindow->Button1, "StartService");
        FPlatform->States["Q7NSrv"] = 4;
        PressAndWaitFor(FWindow->Button2, "ControlStop");
        FPlatform->States["Q7NSrv"] = 4;
        PressAndWaitFor(FWindow->Button3, "ControlStop");
        QCOMPARE(FWindow->Configurator()->RestartStage(), 1);
        // Stopped at last: the restart's start follows at the first poll after its wait.
        FPlatform->States["Q7NSrv"] = 1;
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->Configurator()->RestartStage(), 0, 4000);
        PressAndWaitFor(FWindow->btn1, "DeleteService");
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QCOMPARE(FDialogs->Edits, 1);
    }

    void pollsGoOnWhileAModalWindowIsOpen() {
        FPlatform->States["Q7NSrv"] = 1;
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->ServiceStatusLb->text(), QString("Остановлен"), 2000);
        QString SeenWhileOpen;
        FDialogs->WhileOpen = [&] {
            FPlatform->States["Q7NSrv"] = 4;
            QTimer::singleShot(1200, [&] { SeenWhileOpen = FWindow->ServiceStatusLb->text(); });
        };
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton); // returns when the dialog closed
        QCOMPARE(SeenWhileOpen, QString("Работает"));
    }

private:
    std::unique_ptr<testing::TFakeServiceControlManager> FPlatform;
    std::unique_ptr<TModalForAWhile> FDialogs;
    std::unique_ptr<TdlgServiceConfigurator> FWindow;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
