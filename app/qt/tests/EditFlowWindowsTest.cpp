// The ports edit run from the main window's button through the real windows: the port list
// editor, then the restart question, answered from the keyboard as a user would; the main window
// does not close under them.
#include "app/qt/ServiceConfiguratorDialog.h"
#include "dialogs/qt/PortsEditWindows.h"
#include "dialogs/qt/Q7NPortsDialog.h"
#include "ports/Q7NDocument.h"
#include "ports/testsupport/PortsFileByHand.h"
#include "service/PortsEditFlow.h"
#include "service/testsupport/FakeServiceControlManager.h"
#include "settings/ServiceOptions.h"
#include "settings/testsupport/RecordingRegistry.h"
#include "windowing/qt/PathWrapping.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace q7n;

namespace {

struct TPathBreaks {
    int AfterSeparator = 0;
    int InsideName = 0;
};

// Where the message box's label ends its lines within Path: laid out as the label lays out its
// text, at the label's width.
TPathBreaks PathBreaks(QMessageBox& Box, const QString& Path) {
    auto* Label = Box.findChild<QLabel*>("qt_msgbox_label");
    QTextDocument Document;
    Document.setDefaultFont(Label->font());
    Document.setDocumentMargin(0);
    QTextOption Option;
    Option.setWrapMode(QTextOption::WordWrap);
    Document.setDefaultTextOption(Option);
    Document.setPlainText(Label->text());
    Document.setTextWidth(Label->contentsRect().width());
    Document.size(); // lays the text out
    const QString Marked = qt::WrapPathsAtSeparators('"' + Path + '"');
    TPathBreaks Breaks;
    for (QTextBlock Block = Document.begin(); Block.isValid(); Block = Block.next()) {
        const QString Text = Block.text();
        qsizetype Start = Text.indexOf(Marked);
        if (Start < 0)
            continue;
        for (int I = 1; I < Block.layout()->lineCount(); ++I) {
            int At = Block.layout()->lineAt(I).textStart();
            if (At <= Start || At >= Start + Marked.size())
                continue;
            QChar Before = Text[At - 1];
            bool AtSeparator = Before == QChar(0x200B) || Before == u'/' || Before == u'\\';
            ++(AtSeparator ? Breaks.AfterSeparator : Breaks.InsideName);
        }
    }
    return Breaks;
}

} // namespace

class EditFlowWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FStore = std::make_unique<testing::TTestRegistry>(ServiceOptionsKeyPath);
        FRegistry = std::make_unique<testing::TRecordingRegistry>(FStore->Backend);
        FOptions.reset(CreateServiceOptions(nullptr, *FRegistry));
        FPlatform.States["Q7NSrv"] = 4;
        FPortsEdit = std::make_unique<TPortsEditFlow>(FWindows, *FOptions);
        OpenWindowIn(FFolder.Path());
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->Configurator()->State(), TServiceState(4), 2000);
    }

    // The window takes the ports file in the current folder: Folder's.
    void OpenWindowIn(const std::filesystem::path& Folder) {
        FWindow.reset();
        const std::filesystem::path Previous = std::filesystem::current_path();
        std::filesystem::current_path(Folder);
        FWindow = std::make_unique<qt::TdlgServiceConfigurator>(
            app::TMainWindowParts(&FPlatform, FPortsEdit.get()));
        std::filesystem::current_path(Previous);
        FWindows.SetParent(FWindow.get());
        FWindow->show();
    }

    void cleanup() {
        FWindow.reset();
        FPortsEdit.reset();
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

    void theWindowDoesNotCloseUnderTheEdit() {
        testing::TModalScript Script;
        Script.Then<qt::TdlgQ7NPorts>([&](qt::TdlgQ7NPorts& Editor) {
            QVERIFY(!FWindow->close()); // as the session manager or a program asks it
            QVERIFY(FWindow->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), &Editor);
            testing::ClickButton(Editor, "btnOK");
        });
        Script.Then<QMessageBox>([&](QMessageBox& Box) {
            QVERIFY(!FWindow->close());
            testing::PressKey(Box, Qt::Key_Escape);
        });
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Script.Finished());
        QVERIFY(std::filesystem::exists(FFolder.File("Q7NPorts.xml")));
        QCOMPARE(FOptions->rgCfgFile->Value(), FFolder.File("Q7NPorts.xml"));
        QVERIFY(FWindow->close()); // the edit is over
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
        // A long path whose folder names hold blanks and hyphens.
        std::filesystem::path Folder = FFolder.Path();
        for (int I = 0; I < 4; ++I)
            Folder /= "Папка с длинным-предлинным именем " + std::to_string(I);
        std::filesystem::create_directories(Folder);
        OpenWindowIn(Folder);
        const std::string Path = FWindow->Configurator()->PortsFile();
        {
            std::ofstream Broken(Path);
            Broken << "not xml";
        }
        testing::TModalScript Script;
        QString Warning;
        TPathBreaks Breaks;
        Script.Then<QMessageBox>([&](QMessageBox& Box) {
            Warning = qt::WithoutWrapMarks(Box.text());
            Breaks = PathBreaks(Box, QString::fromStdString(Path));
            QCOMPARE(Box.windowTitle(), QString("TAVO BWX Service - Конфигуратор"));
            testing::PressKey(Box, Qt::Key_Return);
        });
        Script.Then<qt::TdlgQ7NPorts>(
            [](qt::TdlgQ7NPorts& Editor) { testing::ClickButton(Editor, "btnCancel"); });
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Script.Finished());
        QVERIFY(Warning.contains(QString::fromStdString(Path)));
        QVERIFY(Warning.contains("Q7NPorts.rejected.xml"));
        QVERIFY(Breaks.AfterSeparator > 0); // the path is long enough to wrap
        QCOMPARE(Breaks.InsideName, 0);
        // Cancelled: the unreadable file is still there, untouched.
        std::ifstream Kept(Path);
        std::string Text;
        std::getline(Kept, Text);
        QCOMPARE(QString::fromStdString(Text), QString("not xml"));
    }

    void aChangeSavedMeanwhileIsOverwrittenOnlyOnTheOverwriteButton() {
        const std::string Path = FWindow->Configurator()->PortsFile();
        // Another program (q7nctl, another window) adds a mapping while the editor is open.
        auto SaveElsewhere = [&] {
            testing::AddMappingElsewhere(Path, "10.0.0.7");
        };
        QString Buttons;
        auto Keep = std::make_unique<testing::TModalScript>();
        Keep->Then<qt::TdlgQ7NPorts>([&](qt::TdlgQ7NPorts& Editor) {
            SaveElsewhere();
            testing::ClickButton(Editor, "btnOK");
        });
        Keep->Then<QMessageBox>([&](QMessageBox& Box) {
            QCOMPARE(Box.windowTitle(), QString("TAVO BWX Service - Конфигуратор"));
            QVERIFY(Box.text().contains("изменила другая программа"));
            Buttons =
                testing::ButtonsLeftToRight(Box).join(';') + ';' + Box.defaultButton()->text();
            testing::PressKey(Box, Qt::Key_Return); // the default keeps the file
        });
        FRegistry->TakeCalls();
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Keep->Finished());
        Keep.reset();
        QCOMPARE(Buttons, QString("&Перезаписать;&Оставить файл;&Оставить файл"));
        QCOMPARE(testing::MappingsIn(Path), 1);
        QVERIFY(FRegistry->CallsOf("WriteValue").empty());
        QVERIFY(!FWindow->Configurator()->Busy());

        testing::TModalScript Overwrite;
        Overwrite.Then<qt::TdlgQ7NPorts>([&](qt::TdlgQ7NPorts& Editor) {
            SaveElsewhere(); // the file has 2 mappings, the editor 1
            testing::ClickButton(Editor, "btnOK");
        });
        Overwrite.Then<QMessageBox>([](QMessageBox& Box) { Box.buttons().first()->click(); });
        Overwrite.Then<QMessageBox>(
            [](QMessageBox& Box) { testing::PressKey(Box, Qt::Key_Escape); });
        QTest::mouseClick(FWindow->btnEdit, Qt::LeftButton);
        QVERIFY(Overwrite.Finished());
        QCOMPARE(testing::MappingsIn(Path), 1);
    }

private:
    testing::TTemporaryFolder FFolder;
    std::unique_ptr<testing::TTestRegistry> FStore;
    std::unique_ptr<testing::TRecordingRegistry> FRegistry;
    std::unique_ptr<TdmServiceOptions> FOptions;
    testing::TFakeServiceControlManager FPlatform;
    qt::TPortsEditWindows FWindows;
    std::unique_ptr<TPortsEditFlow> FPortsEdit;
    std::unique_ptr<qt::TdlgServiceConfigurator> FWindow;
};

QTEST_MAIN(EditFlowWindowsTest)
#include "EditFlowWindowsTest.moc"
