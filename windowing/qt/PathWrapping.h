#pragma once

#include <QString>

namespace q7n::qt {

// Makes the quoted paths of a message ("C:\Program Files\...") wrap only after a separator:
// word joiners between the characters of each name and no-break blanks keep the name whole, and
// a zero-width space after each separator lets a line end there. Left alone, a label breaks a
// path at a blank or a hyphen inside a folder name, and finds no place in a long Windows path.
QString WrapPathsAtSeparators(const QString& Text);

// Text without the marks that WrapPathsAtSeparators put in, blanks back: what a user copies.
QString WithoutWrapMarks(QString Text);

} // namespace q7n::qt
