#pragma once

#include <functional>
#include <string_view>

namespace q7n::app {

// A command that a button runs through: its name, an (English) caption and a category of its
// own, which a frontend may show (in a menu, say); the button keeps its own caption.
class TAction {
public:
    TAction(std::string_view Name, std::string_view Caption, std::string_view Category,
            std::function<void()> OnExecute)
        : FName(Name), FCaption(Caption), FCategory(Category), FOnExecute(std::move(OnExecute)) {}

    std::string_view Name() const { return FName; }
    std::string_view Caption() const { return FCaption; }
    std::string_view Category() const { return FCategory; }
    void Execute() const { FOnExecute(); }

private:
    std::string_view FName;
    std::string_view FCaption;
    std::string_view FCategory;
    std::function<void()> FOnExecute;
};

} // namespace q7n::app
