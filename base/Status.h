#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace q7n {

// How an operation ended: success, or the system's error code with its text. The codes are
// Windows' on every platform (0 is success), as the platform layer reports them. Being
// [[nodiscard]], a status that is set aside says so: `(void)` or `IgnoreStatus`.
class [[nodiscard]] TStatus {
public:
    // Success.
    TStatus() = default;
    // Code with Text, the sentence that says what happened (no full stop at its end). A Code of 0
    // is success whatever Text says.
    TStatus(std::uint32_t Code, std::string Text) : FCode(Code), FText(std::move(Text)) {}

    static TStatus Success() { return {}; }

    bool Ok() const { return FCode == 0; }
    std::uint32_t Code() const { return FCode; }
    const std::string& Text() const { return FText; }

    friend bool operator==(const TStatus& A, const TStatus& B) { return A.FCode == B.FCode; }

private:
    std::uint32_t FCode = 0;
    std::string FText;
};

// Sets Status aside on purpose: the caller has nothing to do about a failure (a clean-up on a
// path that already failed, a best effort the user is told of otherwise).
inline void IgnoreStatus(const TStatus& Status) {
    (void)Status;
}

} // namespace q7n
