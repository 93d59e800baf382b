#pragma once

class QBoxLayout;
class QPushButton;

namespace q7n::qt {

// A push button with that caption and object name that Enter presses only while it has the
// focus: no button of these dialogs is the default one.
QPushButton* NonDefaultButton(const char* Text, const char* Name);

// Appends to Form a thin line and, under it at the right edge, Cancel and to its right OK.
void AddButtonStrip(QBoxLayout& Form, QPushButton& Cancel, QPushButton& OK);

} // namespace q7n::qt
