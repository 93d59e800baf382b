#include "base/Exceptions.h"
#include "base/IntegerConversion.h"
#include "windowing/qt/ConfirmationBox.h"
#include "windowing/qt/ErrorBox.h"
#include "windowing/qt/EventHandler.h"
#include "windowing/qt/OverwriteBox.h"
#include "windowing/qt/testsupport/ModalScript.h"
#include "windowing/qt/testsupport/WidgetInput.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <memory>

using q7n::testing::ButtonsLeftToRight;
using q7n::testing::PressKey;
using q7n::testing::TModalScript;

namespace {

bool IsCentredOnScreen(const QWidget& Window) {
    QPoint Offset = Window.frameGeometry().center() - Window.screen()->availableGeometry().center();
    return Offset.manhattanLength() <= 2; // odd sizes round half a pixel either way
}

// A parent window in the top left corner of the screen: a box centred over it would not be
// centred on the screen.
class TCornerWindow : public QWidget {
public:
    TCornerWindow() {
        setGeometry(0, 0, 120, 80);
        show();
    }
};

QStringList ButtonTexts(const QMessageBox& Box) {
    QStringList Texts;
    for (QAbstractButton* Button : Box.buttons())
        Texts << Button->text();
    Texts.sort();
    return Texts;
}

// The style of a desktop whose own boxes put No left of Yes and Cancel left of OK.
class TReversedButtonLayout final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_DialogButtonLayout)
            return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
};

// The application on such a desktop while it lives.
class TReversedButtonsDesktop {
public:
    TReversedButtonsDesktop() : FPrevious(QApplication::style()->name()) {
        QApplication::setStyle(new TReversedButtonLayout(QStyleFactory::create(FPrevious)));
    }
    ~TReversedButtonsDesktop() { QApplication::setStyle(FPrevious); } // frees the proxy

private:
    QString FPrevious;
};

} // namespace

class WindowingTest : public QObject {
    Q_OBJECT

private slots:
    void ErrorBoxBearsTheApplicationTitle();
    void ConfirmationBoxAnswersByKey_data();
    void ConfirmationBoxAnswersByKey();
    void ConfirmationBoxClosedFromItsTitleBarAnswersNo();
    void BoxesKeepTheirButtonOrderOnEveryDesktop();
    void HandlerErrorStopsTheHandlerAndIsShown();
    void AbortedHandlerShowsNothing();
};

void WindowingTest::ErrorBoxBearsTheApplicationTitle() {
    TModalScript Script;
    Script.Then<QMessageBox>([](QMessageBox& Box) {
        QCOMPARE(Box.windowTitle(), QStringLiteral("TAVO BWX Service - Конфигуратор"));
        QCOMPARE(Box.text(), QStringLiteral("Disk full."));
        QCOMPARE(Box.icon(), QMessageBox::Critical);
        QCOMPARE(ButtonTexts(Box), QStringList{"OK"});
        QVERIFY(IsCentredOnScreen(Box));
        // Wide enough for the title in a bold face beside a title bar's buttons.
        QFont TitleFont = QApplication::font("QMdiSubWindowTitleBar");
        TitleFont.setBold(true);
        QVERIFY(Box.width() >= QFontMetrics(TitleFont).horizontalAdvance(Box.windowTitle()) + 100);
        PressKey(Box, Qt::Key_Return);
    });
    TCornerWindow Parent;
    q7n::qt::ShowErrorBox("Disk full", &Parent);
    QVERIFY(Script.Finished());
}

void WindowingTest::ConfirmationBoxAnswersByKey_data() {
    QTest::addColumn<int>("Key");
    QTest::addColumn<int>("Answer");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(QMessageBox::Yes);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QMessageBox::No);
    QTest::newRow("Y") << int(Qt::Key_Y) << int(QMessageBox::Yes);
    QTest::newRow("N") << int(Qt::Key_N) << int(QMessageBox::No);
}

void WindowingTest::ConfirmationBoxAnswersByKey() {
    QFETCH(int, Key);
    QFETCH(int, Answer);
    TModalScript Script;
    Script.Then<QMessageBox>([Key](QMessageBox& Box) {
        QCOMPARE(Box.windowTitle(), QStringLiteral("Confirm"));
        QCOMPARE(Box.text(), QStringLiteral("Delete items?"));
        QCOMPARE(Box.icon(), QMessageBox::Question);
        QCOMPARE(ButtonsLeftToRight(Box), (QStringList{"&Yes", "&No"}));
        QCOMPARE(Box.defaultButton()->text(), QStringLiteral("&Yes"));
        QVERIFY(IsCentredOnScreen(Box));
        PressKey(Box, Key);
    });
    TCornerWindow Parent;
    QCOMPARE(int(q7n::qt::ShowConfirmationBox("Delete items?", &Parent)), Answer);
    QVERIFY(Script.Finished());
}

void WindowingTest::ConfirmationBoxClosedFromItsTitleBarAnswersNo() {
    TModalScript Script;
    Script.Then<QMessageBox>([](QMessageBox& Box) { Box.close(); });
    QCOMPARE(q7n::qt::ShowConfirmationBox("Перезапустить сервис?"), QMessageBox::No);
    QVERIFY(Script.Finished());
}

void WindowingTest::BoxesKeepTheirButtonOrderOnEveryDesktop() {
    auto Desktop = std::make_unique<TReversedButtonsDesktop>();
    TModalScript Script;
    QStringList Confirmation;
    QStringList Overwrite;
    Script.Then<QMessageBox>([&](QMessageBox& Box) {
        Confirmation = ButtonsLeftToRight(Box);
        PressKey(Box, Qt::Key_Escape);
    });
    Script.Then<QMessageBox>([&](QMessageBox& Box) {
        Overwrite = ButtonsLeftToRight(Box);
        PressKey(Box, Qt::Key_Escape);
    });
    q7n::qt::ShowConfirmationBox("Delete items?");
    QVERIFY(!q7n::qt::ShowOverwriteBox("Overwrite?"));
    Desktop.reset();
    QVERIFY(Script.Finished());
    QCOMPARE(Confirmation, (QStringList{"&Yes", "&No"}));
    QCOMPARE(Overwrite, (QStringList{"&Перезаписать", "&Оставить файл"}));
}

void WindowingTest::HandlerErrorStopsTheHandlerAndIsShown() {
    QWidget Window;
    Window.show();
    TModalScript Script;
    Script.Then<QMessageBox>([](QMessageBox& Box) {
        QCOMPARE(Box.text(), QStringLiteral("'12a' is not a valid integer value."));
        PressKey(Box, Qt::Key_Return);
    });
    int Steps = 0;
    q7n::qt::RunEventHandler(&Window, [&Steps] {
        ++Steps;
        q7n::StrToInt("12a");
        ++Steps;
    });
    QVERIFY(Script.Finished());
    QCOMPARE(Steps, 1);
    QVERIFY(Window.isVisible());
}

void WindowingTest::AbortedHandlerShowsNothing() {
    // Any box would be an unexpected window and fail the script.
    TModalScript Script;
    bool Ran = false;
    q7n::qt::RunEventHandler(nullptr, [&Ran] {
        Ran = true;
        throw q7n::EAbort();
    });
    QTest::qWait(50);
    QVERIFY(Ran);
}

QTEST_MAIN(WindowingTest)
#include "WindowingTest.moc"
