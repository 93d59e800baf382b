#pragma once

#include <QString>

class QWidget;

namespace q7n::qt {

// Shows Message as ErrorBoxText (ErrorBoxText.h) gives it, under the application title, with an
// error icon and an OK button; modal over Parent when given.
void ShowErrorBox(const QString& Message, QWidget* Parent = nullptr);

} // namespace q7n::qt
