#pragma once

#include <QString>

class QWidget;

namespace q7n::qt {

// Asks Text as OverwriteBoxContract.h promises; modal over Parent when given. True only for the
// overwrite button.
bool ShowOverwriteBox(const QString& Text, QWidget* Parent = nullptr);

} // namespace q7n::qt
