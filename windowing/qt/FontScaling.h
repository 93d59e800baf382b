#pragma once

class QWidget;

namespace q7n::qt {

// Pixels of a layout drawn for 96 dpi, grown as the text grows on Widget's screen: by the screen's
// logical DPI (which a larger font setting raises) relative to 96. Where Qt scales the whole
// window instead (QT_SCALE_FACTOR, a device pixel ratio), the logical DPI stays 96 and Pixels
// stand as they are.
int FollowFontDpi(const QWidget& Widget, int Pixels);

} // namespace q7n::qt
