// The ports edit run from the main window's button through the real windows: the port list
// editor, then the restart question, answered from the keyboard as a user would.
#include "FakeServiceControlManager.h"
#include "ModalScript.h"
#include "PortsEditWindows.h"
#include "Q7NDocument.h"
#include "Q7NPortsDialog.h"
#include "RecordingRegistry.h"
#include "ServiceConfiguratorDialog.h"
#include "ServiceOptions.h"
#include "WidgetInput.h"

#include <QMessageBox>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace q7n;

class EditFlowWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FStore = std::make_unique<testing::TTestRegistry>(ServiceOptionsKeyPath);
        FRegistry = std::make_unique<testing::TRecordingRegistry>(FStore->Backend);
        FOptions.reset(CreateServiceOptions(nullptr, *FRegistry));
        FPlatform.States["Q7NSrv"] = 4;
        FWindow = std::make_unique<qt::TdlgServiceConfigurator>(&FPlatform, &FWindows);
        FWindows.SetParent(FWindow.get());
        FWindow->Configurator()->FPortsFile = FFolder.File("Q7NPorts.xml");
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->Configurator()->State(), TServiceState(4), 2000);
    }

    void cleanup() {
        FWindow.reset();
        FOptions.reset();
        FRegistry.reset();
        FStore.reset();
    }

    void okThenYesSavesStoresAndRestarts() {
        testing::TModalScript Script;
        Script.Then<qt::TdlgQ7NPorts>(
            [](qt::TdlgQ7NPorts& Editor) { testing::ClickButton(Editor, "btnOK"); });
        QString Asked;
        Script.Then<QMessageBox>([&](QMessageBox& Box) {
            Asked = Box.text();
            testing::PressKey(Box, Qt::Key_Return); // Yes is the default
        });
        FRegistry->TakeCalls();
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Script.Finished());
        QCOMPARE(Asked, QString("Перезапустить сервис?"));
        QVERIFY(std::filesystem::exists(FFolder.File("Q7NPorts.xml")));
        QCOMPARE(FRegistry->CallsOf("WriteValue").size(), size_t(1));
        QVERIFY(FWindow->Configurator()->Busy()); // the restart is queued
    }

    void escapeAnswersNoAndLeavesTheServiceAlone() {
        testing::TModalScript Script;
        Script.Then<qt::TdlgQ7NPorts>(
            [](qt::TdlgQ7NPorts& Editor) { testing::ClickButton(Editor, "btnOK"); });
        Script.Then<QMessageBox>([](QMessageBox& Box) { testing::PressKey(Box, Qt::Key_Escape); });
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Script.Finished());
        QVERIFY(!FWindow->Configurator()->Busy());
    }

    void anUnreadableFileIsAnnouncedBeforeTheEditor() {
        {
            std::ofstream Broken(FFolder.File("Q7NPorts.xml"));
            Broken << "not xml";
        }
        testing::TModalScript Script;
        QString Warning;
        Script.Then<QMessageBox>([&](QMessageBox& Box) {
            Warning = Box.text();
            QCOMPARE(Box.windowTitle(), QString("TAVO BWX Service - Конфигуратор"));
            testing::PressKey(Box, Qt::Key_Return);
        });
        Script.Then<qt::TdlgQ7NPorts>(
            [](qt::TdlgQ7NPorts& Editor) { testing::ClickButton(Editor, "btnCancel"); });
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Script.Finished());
        QVERIFY(Warning.contains("Q7NPorts.rejected.xml"));
        // Cancelled: the unreadable file is still there, untouched.
        std::ifstream Kept(FFolder.File("Q7NPorts.xml"));
        std::string Text;
        std::getline(Kept, Text);
        QCOMPARE(QString::fromStdString(Text), QString("not xml"));
    }

private:
    testing::TTemporaryFolder FFolder;
    std::unique_ptr<testing::TTestRegistry> FStore;
    std::unique_ptr<testing::TRecordingRegistry> FRegistry;
    std::unique_ptr<TdmServiceOptions> FOptions;
    testing::TFakeServiceControlManager FPlatform;
    qt::TPortsEditWindows FWindows;
    std::unique_ptr<qt::TdlgServiceConfigurator> FWindow;
};

QTEST_MAIN(EditFlowWindowsTest)
#include "EditFlowWindowsTest.moc"
