#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QWidget;

namespace q7n::testing {

// Sends a key press and release to the widget that has the focus in Window (to Window itself when
// none has), as typing on the keyboard would.
void PressKey(QWidget& Window, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);

// Clicks the push button of that object name in Window with the left mouse button.
void ClickButton(QWidget& Window, const char* ButtonName);

// The captions of Window's visible push buttons, left to right as they stand.
QStringList ButtonsLeftToRight(const QWidget& Window);

// Replaces the text of the line edit of that object name in Window as a user would: focus, select
// all, delete, type. Characters outside ASCII arrive as keys of another keyboard layout would,
// carrying only their text.
void ReplaceText(QWidget& Window, const char* EditName, const QString& Text);

} // namespace q7n::testing
