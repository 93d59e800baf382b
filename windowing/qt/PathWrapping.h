#pragma once

#include <QString>

namespace q7n::qt {

// Makes the quoted paths of a message ("C:\Program Files\...") wrap only after a separator, as
// windowing/PathWrapping.h cuts them: word joiners between the characters of each name and
// no-break blanks keep the name whole, and a zero-width space after each separator lets a line
// end there.
QString WrapPathsAtSeparators(const QString& Text);

// Text without the marks that WrapPathsAtSeparators put in, blanks back: what a user copies.
QString WithoutWrapMarks(QString Text);

} // namespace q7n::qt
