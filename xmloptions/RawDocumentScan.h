#pragma once

#include <string_view>

namespace q7n {

// What one quick pass over a document's raw bytes can promise before the parse, so that the texts
// of the parsed tree need not be checked one by one: that no text or attribute value holds what
// FindUnwritableCharacter finds. True when Raw is ASCII of printable characters, tabs and line
// ends, and every numeric character reference in it names a character that XML allows: the
// parser then makes its texts of those bytes, of the five named references and of those
// characters alone. False means "not sure": the parsed tree's texts are then to be checked.
bool SurelyWritable(std::string_view Raw);

} // namespace q7n
