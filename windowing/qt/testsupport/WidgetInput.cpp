#include "windowing/qt/testsupport/WidgetInput.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace q7n::testing {

void PressKey(QWidget& Window, int Key, Qt::KeyboardModifiers Modifiers) {
    QWidget* Target = Window.focusWidget() ? Window.focusWidget() : &Window;
    QTest::keyClick(Target, static_cast<Qt::Key>(Key), Modifiers);
}

void ClickButton(QWidget& Window, const char* ButtonName) {
    auto* Button = Window.findChild<QPushButton*>(QString::fromLatin1(ButtonName));
    QVERIFY2(Button, ButtonName);
    QTest::mouseClick(Button, Qt::LeftButton);
}

QStringList ButtonsLeftToRight(const QWidget& Window) {
    QList<QPushButton*> Buttons;
    for (QPushButton* Button : Window.findChildren<QPushButton*>())
        if (Button->isVisibleTo(&Window))
            Buttons << Button;
    std::sort(Buttons.begin(), Buttons.end(), [&](QPushButton* Left, QPushButton* Right) {
        return Left->mapTo(&Window, QPoint()).x() < Right->mapTo(&Window, QPoint()).x();
    });
    QStringList Captions;
    for (QPushButton* Button : Buttons)
        Captions << Button->text();
    return Captions;
}

void ReplaceText(QWidget& Window, const char* EditName, const QString& Text) {
    auto* Field = Window.findChild<QLineEdit*>(QString::fromLatin1(EditName));
    QVERIFY2(Field, EditName);
    Field->setFocus();
    QTest::keyClick(Field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Field, Qt::Key_Delete);
    for (QChar Character : Text) {
        if (Character.unicode() < 0x80)
            QTest::keyClick(Field, Character.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, Field, Qt::Key_unknown, QString(Character),
                                Qt::NoModifier);
    }
}

} // namespace q7n::testing
