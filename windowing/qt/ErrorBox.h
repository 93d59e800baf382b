#pragma once

#include <QString>

class QWidget;

namespace q7n {

// The text that the error box shows for Message: a full stop is added when the last character
// sorts after "." (a letter or a digit does, a closing parenthesis or a full stop does not).
QString ErrorBoxText(const QString& Message);

// Shows Message as ErrorBoxText gives it, under the application title, with an error icon and an
// OK button; modal over Parent when given.
void ShowErrorBox(const QString& Message, QWidget* Parent = nullptr);

} // namespace q7n
