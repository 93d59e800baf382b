#include "windowing/ErrorBoxText.h"

namespace q7n {

std::string ErrorBoxText(std::string_view Message) {
    std::string Text(Message);
    if (!Text.empty() && static_cast<unsigned char>(Text.back()) > '.')
        Text += '.';
    return Text;
}

} // namespace q7n
