// The main window over the recording service manager: what it shows, what its buttons ask for,
// and that the state goes on following the service while a modal window is open.
#include "app/qt/QtTimer.h"
#include "app/qt/ServiceConfiguratorDialog.h"
#include "base/testsupport/TemporaryFolder.h"
#include "dialogs/qt/PortsEditWindows.h"
#include "platform/testsupport/TestRegistry.h"
#include "service/PortsEditFlowInterface.h"
#include "service/ServiceState.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <filesystem>

using namespace q7n;
using q7n::qt::TdlgServiceConfigurator;

namespace {

// The ports edit replaced by a real modal dialog that closes itself after a while, or that
// WhileOpen, run in its loop, closes.
class TModalForAWhile final : public IPortsEditFlow {
public:
    std::function<void(QDialog&)> WhileOpen;
    int Edits = 0;

    bool Run(const std::string&, const std::function<TServiceState()>&) override {
        ++Edits;
        QDialog Dialog;
        if (WhileOpen)
            QTimer::singleShot(0, &Dialog, [&] { WhileOpen(Dialog); });
        else
            QTimer::singleShot(1500, &Dialog, &QDialog::accept);
        Dialog.exec();
        return false;
    }
};

QColor TextColour(const QLabel* Label) {
    return Label->palette().color(QPalette::WindowText);
}

const QColor Green(0x40, 0xC2, 0x3D);
const QColor Red(0xFF, 0x00, 0x00);
const QColor Amber(0xF1, 0xB3, 0x0E);

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { FStartFolder = std::filesystem::current_path(); }

    void init() {
        // The window takes its paths from the current folder: a fresh one for each test.
        FFolder = std::make_unique<testing::TTemporaryFolder>();
        std::filesystem::current_path(FFolder->Path());
        FPlatform = std::make_unique<testing::TFakeServiceControlManager>();
        FDialogs = std::make_unique<TModalForAWhile>();
        FWindow = std::make_unique<TdlgServiceConfigurator>(
            app::TMainWindowParts(FPlatform.get(), FDialogs.get()));
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    void cleanup() {
        FWindow.reset();
        FDialogs.reset();
        FPlatform.reset();
        std::filesystem::current_path(FStartFolder);
        FFolder.reset();
    }

    void takesItsPathsFromTheCurrentFolder() {
        const std::string Folder = std::filesystem::canonical(FFolder->Path()).string();
        QCOMPARE(FWindow->Configurator()->ServicePath(), Folder + "/Install/Q7NService.exe");
        QCOMPARE(FWindow->Configurator()->PortsFile(), Folder + "/Q7NPorts.xml");
    }

    void aCurrentFolderThatIsGoneIsReportedAndNoWindowOpens() {
        std::filesystem::path Gone = FFolder->Path() / "gone";
        std::filesystem::create_directory(Gone);
        std::filesystem::current_path(Gone);
        std::filesystem::remove(Gone);
        testing::TModalScript Script;
        QString Shown;
        Script.Then<QMessageBox>([&](QMessageBox& Box) {
            Shown = Box.text();
            QCOMPARE(Box.icon(), QMessageBox::Critical);
            QCOMPARE(Box.windowTitle(), QString("TAVO BWX Service - Конфигуратор"));
            testing::PressKey(Box, Qt::Key_Return);
        });
        testing::TTestRegistry Store(ServiceOptionsKeyPath);
        qt::TPortsEditWindows Dialogs;
        app::TConfiguratorProgram Program(Dialogs, &Store.Backend);
        QVERIFY(!qt::CreateMainWindow(Program, FPlatform.get()));
        QVERIFY(Script.Finished());
        QVERIFY2(Shown.contains("current", Qt::CaseInsensitive), qPrintable(Shown));
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

    void everyStateIsShownInFullBesideTheStartButton() {
        QLabel* State = FWindow->ServiceStatusLb;
        for (std::uint32_t Code : {0, 1, 2, 3, 5, 6, 7, 4}) {
            if (Code)
                FPlatform->States["Q7NSrv"] = Code;
            else
                FPlatform->States.erase("Q7NSrv");
            const QString Caption = QString::fromUtf8(ServiceStateCaptions[Code]);
            QTRY_COMPARE_WITH_TIMEOUT(State->text(), Caption, 2000);
            // Only running is green, only unknown and stopped are red, the rest amber.
            QCOMPARE(TextColour(State), Code == 4 ? Green : Code <= 1 ? Red : Amber);
            // Not under the button, not cut off, and in the size of "Статус:" on its line.
            QVERIFY2(State->geometry().right() < FWindow->Button1->x(), qPrintable(Caption));
            QCOMPARE(State->width(), State->sizeHint().width());
            QCOMPARE(State->font().pixelSize(), FWindow->Label3->font().pixelSize());
            QCOMPARE(State->y(), FWindow->Label3->y());
        }
        // "Работает", with room to spare, keeps the face of "Статус:" as it is.
        QCOMPARE(State->font(), FWindow->Label3->font());
    }

    void everyButtonRaisesItsRequest() {
        auto PressAndWaitFor = [this](QPushButton* Button, const std::string& Call) {
            FPlatform->TakeCalls();
            QTest::mouseClick(Button, Qt::LeftButton);
            auto Raised = [&](const std::string& Made) {
                return Made.rfind(Call, 0) == 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(std::ranges::any_of(FPlatform->Calls, Raised), 1000);
        };
        // The program below the current folder, as the installer registers it.
        PressAndWaitFor(FWindow->Button5,
                        "CreateService Q7NSrv " + FWindow->Configurator()->ServicePath());
        PressAndWaitFor(FWindow->Button1, "StartService");
        FPlatform->States["Q7NSrv"] = 4;
        PressAndWaitFor(FWindow->Button2, "ControlStop");
        FPlatform->States["Q7NSrv"] = 4;
        PressAndWaitFor(FWindow->Button3, "ControlStop");
        QCOMPARE(FWindow->Configurator()->RestartStage(), TRestartStage::rsWaitingToStart);
        // Stopped at last: the restart's start follows the first poll that sees it, after the wait.
        FPlatform->States["Q7NSrv"] = 1;
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->Configurator()->RestartStage(), TRestartStage::rsIdle,
                                  4000);
        PressAndWaitFor(FWindow->btn1, "DeleteService");
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QCOMPARE(FDialogs->Edits, 1);
    }

    void enterPressesTheFocusedButton() {
        FWindow->Button5->setFocus();
        testing::PressKey(*FWindow, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(FPlatform->States.count("Q7NSrv") == 1, 1000); // installed
    }

    void aTickComesAFullIntervalAfterTheLastOneEnded() {
        // As the configurator runs it: off during the tick, on again at its end.
        using TClock = std::chrono::steady_clock;
        qt::TQtTimer Timer;
        TClock::time_point Ended;
        std::vector<TClock::duration> Gaps;
        Timer.SetInterval(100);
        Timer.SetHandler([&] {
            Timer.SetEnabled(false);
            Gaps.push_back(TClock::now() - Ended);
            Ended = TClock::now();
            Timer.SetEnabled(Gaps.size() < 10);
        });
        Ended = TClock::now();
        Timer.SetEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(!Timer.Enabled(), 5000);
        for (TClock::duration Gap : Gaps)
            QVERIFY2(Gap >= std::chrono::milliseconds(100),
                     qPrintable(QString::number(Gap.count() / 1000) + " us"));
    }

    void pollsGoOnWhileAModalWindowIsOpen() {
        FPlatform->States["Q7NSrv"] = 1;
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->ServiceStatusLb->text(), QString("Остановлен"), 2000);
        QString SeenWhileOpen;
        FDialogs->WhileOpen = [&](QDialog& Dialog) {
            FPlatform->States["Q7NSrv"] = 4;
            // The polls go on in the dialog's loop; the comparison below tells if none came.
            static_cast<void>(QTest::qWaitFor(
                [&] { return FWindow->ServiceStatusLb->text() == "Работает"; }, 10000));
            SeenWhileOpen = FWindow->ServiceStatusLb->text();
            Dialog.accept();
        };
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton); // returns when the dialog closed
        QCOMPARE(SeenWhileOpen, QString("Работает"));
    }

private:
    std::filesystem::path FStartFolder;
    std::unique_ptr<testing::TTemporaryFolder> FFolder;
    std::unique_ptr<testing::TFakeServiceControlManager> FPlatform;
    std::unique_ptr<TModalForAWhile> FDialogs;
    std::unique_ptr<TdlgServiceConfigurator> FWindow;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
