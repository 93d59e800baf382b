#include "cli/JsonReader.h"

#include "cli/JsonText.h"

#include <algorithm>

namespace q7n::cli {

const TJsonValue* TJsonValue::Member(std::string_view Name) const {
    if (const TObject* Object = AsObject())
        for (const auto& [Key, Value] : *Object)
            if (Key == Name)
                return &Value;
    return nullptr;
}

const char* TJsonValue::KindText() const {
    static const char* const Kinds[] = {"null",     "true or false", "a number",
                                        "a string", "an array",      "an object"};
    return Kinds[FValue.index()];
}

namespace {

class TJsonParser {
public:
    explicit TJsonParser(std::string_view Text) : FText(Text) {}

    TJsonValue Document() {
        SkipBlanks();
        TJsonValue Value = Parse(0);
        SkipBlanks();
        if (FAt < FText.size())
            Fail("text after the end of the document");
        return Value;
    }

private:
    [[noreturn]] void Fail(const std::string& What) const { FailAt(What, FAt); }

    [[noreturn]] void FailAt(const std::string& What, std::size_t At) const {
        int Line = 1, Column = 1;
        for (std::size_t I = 0; I < At && I < FText.size(); ++I) {
            if (FText[I] == '\n') {
                ++Line;
                Column = 1;
            } else if ((static_cast<unsigned char>(FText[I]) & 0xC0) != 0x80) {
                ++Column; // characters, not the bytes of one
            }
        }
        throw EJsonError(What, Line, Column);
    }

    bool AtEnd() const { return FAt >= FText.size(); }
    char Peek() const { return AtEnd() ? '\0' : FText[FAt]; }

    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++FAt;
    }

    void Expect(char C) {
        if (Peek() != C)
            Fail(std::string("expected '") + C + "'");
        ++FAt;
    }

    TJsonValue Parse(int Depth) {
        if (AtEnd())
            Fail("unexpected end of the document");
        switch (Peek()) {
        case '{':
            return Object(Depth + 1);
        case '[':
            return Array(Depth + 1);
        case '"':
            return TJsonValue(String());
        case 't':
            Word("true");
            return TJsonValue(true);
        case 'f':
            Word("false");
            return TJsonValue(false);
        case 'n':
            Word("null");
            return TJsonValue();
        default:
            if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9'))
                return TJsonValue(Number());
            Fail("unexpected character");
        }
    }

    void Word(std::string_view Name) {
        if (FText.substr(FAt, Name.size()) != Name)
            Fail("unexpected word");
        FAt += Name.size();
    }

    void Enter(int Depth) {
        if (Depth > MaxJsonDepth)
            Fail("more than " + std::to_string(MaxJsonDepth) +
                 " arrays and objects inside each other");
        ++FAt;
        SkipBlanks();
    }

    TJsonValue Object(int Depth) {
        Enter(Depth);
        TJsonValue::TObject Members;
        if (Peek() == '}') {
            ++FAt;
            return TJsonValue(std::move(Members));
        }
        for (;;) {
            const std::size_t KeyAt = FAt;
            if (Peek() != '"')
                Fail("expected a key in quotes");
            std::string Key = String();
            if (std::any_of(Members.begin(), Members.end(),
                            [&](const auto& Member) { return Member.first == Key; }))
                FailAt("the key \"" + Key + "\" is given twice", KeyAt);
            SkipBlanks();
            Expect(':');
            SkipBlanks();
            TJsonValue Value = Parse(Depth);
            Members.emplace_back(std::move(Key), std::move(Value));
            SkipBlanks();
            if (Peek() == '}') {
                ++FAt;
                return TJsonValue(std::move(Members));
            }
            Expect(',');
            SkipBlanks();
        }
    }

    TJsonValue Array(int Depth) {
        Enter(Depth);
        TJsonValue::TArray Items;
        if (Peek() == ']') {
            ++FAt;
            return TJsonValue(std::move(Items));
        }
        for (;;) {
            Items.push_back(Parse(Depth));
            SkipBlanks();
            if (Peek() == ']') {
                ++FAt;
                return TJsonValue(std::move(Items));
            }
            Expect(',');
            SkipBlanks();
        }
    }

    std::int64_t Number() {
        const std::size_t Start = FAt;
        const bool Negative = Peek() == '-';
        if (Negative)
            ++FAt;
        if (Peek() < '0' || Peek() > '9')
            Fail("expected a digit");
        if (Peek() == '0' && FAt + 1 < FText.size() && FText[FAt + 1] >= '0' &&
            FText[FAt + 1] <= '9')
            Fail("a number with a leading zero");
        // Counted negative, so that the smallest 64-bit number fits.
        std::int64_t Value = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            const int Digit = Peek() - '0';
            if (Value < (INT64_MIN + Digit) / 10)
                FailAt("a number beyond 64 bits", Start);
            Value = Value * 10 - Digit;
            ++FAt;
        }
        if (Peek() == '.' || Peek() == 'e' || Peek() == 'E')
            FailAt("a number that is not a whole number", Start);
        if (!Negative) {
            if (Value == INT64_MIN)
                FailAt("a number beyond 64 bits", Start);
            Value = -Value;
        }
        return Value;
    }

    unsigned Hex4() {
        unsigned Code = 0;
        for (int I = 0; I < 4; ++I, ++FAt) {
            const char C = Peek();
            const int Digit = C >= '0' && C <= '9'   ? C - '0'
                              : C >= 'a' && C <= 'f' ? C - 'a' + 10
                              : C >= 'A' && C <= 'F' ? C - 'A' + 10
                                                     : -1;
            if (Digit < 0)
                Fail("expected four hexadecimal digits after \\u");
            Code = Code * 16 + unsigned(Digit);
        }
        return Code;
    }

    static void AppendUtf8(std::string& Out, unsigned Code) {
        if (Code < 0x80) {
            Out += char(Code);
        } else if (Code < 0x800) {
            Out += char(0xC0 | (Code >> 6));
            Out += char(0x80 | (Code & 0x3F));
        } else if (Code < 0x10000) {
            Out += char(0xE0 | (Code >> 12));
            Out += char(0x80 | ((Code >> 6) & 0x3F));
            Out += char(0x80 | (Code & 0x3F));
        } else {
            Out += char(0xF0 | (Code >> 18));
            Out += char(0x80 | ((Code >> 12) & 0x3F));
            Out += char(0x80 | ((Code >> 6) & 0x3F));
            Out += char(0x80 | (Code & 0x3F));
        }
    }

    // At the opening quote; leaves after the closing one.
    std::string String() {
        ++FAt;
        std::string Out;
        for (;;) {
            if (AtEnd())
                Fail("a string without its closing quote");
            const auto C = static_cast<unsigned char>(Peek());
            if (C == '"') {
                ++FAt;
                return Out;
            }
            if (C < 0x20)
                Fail("a control character in a string");
            if (C >= 0x80) {
                const std::size_t Length = Utf8Length(FText, FAt);
                if (Length == 0)
                    Fail("a byte that is not UTF-8");
                Out.append(FText.substr(FAt, Length));
                FAt += Length;
                continue;
            }
            ++FAt;
            if (C != '\\') {
                Out += char(C);
                continue;
            }
            const char Escape = Peek();
            ++FAt;
            switch (Escape) {
            case '"':
            case '\\':
            case '/':
                Out += Escape;
                break;
            case 'b':
                Out += '\b';
                break;
            case 'f':
                Out += '\f';
                break;
            case 'n':
                Out += '\n';
                break;
            case 'r':
                Out += '\r';
                break;
            case 't':
                Out += '\t';
                break;
            case 'u':
                Out += Unicode();
                break;
            default:
                FAt -= 2;
                Fail("an unknown escape in a string");
            }
        }
    }

    // After "\u": the character of one escape, or of a surrogate pair of two.
    std::string Unicode() {
        const std::size_t Start = FAt - 2;
        unsigned Code = Hex4();
        if (Code >= 0xDC00 && Code <= 0xDFFF)
            FailAt("a low surrogate without its high one", Start);
        if (Code >= 0xD800 && Code <= 0xDBFF) {
            if (FText.substr(FAt, 2) != "\\u")
                FailAt("a high surrogate without its low one", Start);
            FAt += 2;
            const unsigned Low = Hex4();
            if (Low < 0xDC00 || Low > 0xDFFF)
                FailAt("a high surrogate without its low one", Start);
            Code = 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00);
        }
        std::string Out;
        AppendUtf8(Out, Code);
        return Out;
    }

    std::string_view FText;
    std::size_t FAt = 0;
};

} // namespace

TJsonValue ParseJson(std::string_view Text) {
    return TJsonParser(Text).Document();
}

} // namespace q7n::cli
