// Component text: the tokenizer and the parser into objects, properties and values.
#include "platform/classes/FormText.h"

#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"
#include "platform/classes/Errors.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace korvex::classes::formtext {

namespace {

enum class TToken { End, Ident, Integer, Float, String, Symbol };

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Describe(char c) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x21 && u < 0x7F) return std::string("'") + c + "'";
    return "byte " + std::to_string(u);
}

class TParser {
public:
    explicit TParser(std::string_view text)
        : FText(text) {
        Next();
    }

    TObjectNode ParseRoot() {
        TObjectNode root = ParseObject(0);
        if (FToken != TToken::End) Fail("Text after the end of the object");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { throw EReadError(FTokenLine, what); }

    bool IsKeyword(std::string_view word) const {
        return FToken == TToken::Ident && base::SameText(FTokenText, std::string(word));
    }
    bool IsSymbol(char c) const { return FToken == TToken::Symbol && FTokenText[0] == c; }

    void Expect(char c) {
        if (!IsSymbol(c)) Fail(std::string("'") + c + "' expected but " + TokenDescription() + " found");
        Next();
    }

    std::string TokenDescription() const {
        switch (FToken) {
        case TToken::End:
            return "end of text";
        case TToken::Ident:
            return "identifier " + FTokenText;
        case TToken::Integer:
        case TToken::Float:
            return "number " + FTokenText;
        case TToken::String:
            return "string";
        case TToken::Symbol:
            return "'" + FTokenText + "'";
        }
        return "token";
    }

    std::string ExpectIdent(const char* what) {
        if (FToken != TToken::Ident) Fail(std::string(what) + " expected but " + TokenDescription() + " found");
        std::string ident = FTokenText;
        Next();
        return ident;
    }

    // --- objects
    TObjectNode ParseObject(int depth) {
        if (depth > MaxNesting) Fail("Objects nested too deeply");
        if (!IsKeyword("object")) Fail("'object' expected but " + TokenDescription() + " found");
        TObjectNode node;
        node.Line = FTokenLine;
        Next();
        std::string first = ExpectIdent("Object name");
        if (IsSymbol(':')) {
            Next();
            node.Name = first;
            node.ClassName = ExpectIdent("Class name");
        } else {
            node.ClassName = first;
        }
        if (node.Name.find('.') != std::string::npos || node.ClassName.find('.') != std::string::npos)
            Fail("Invalid object name or class name");
        while (true) {
            if (FToken == TToken::End)
                Fail("'end' expected but end of text found (object " + node.Name + " is not closed)");
            if (FToken != TToken::Ident)
                Fail("Property name, 'object' or 'end' expected but " + TokenDescription() + " found");
            if (IsKeyword("end") && !PeekIs('=')) {
                Next();
                return node;
            }
            if (IsKeyword("object") && !PeekIs('=')) {
                node.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            node.Properties.push_back(ParseProperty(depth));
        }
    }

    TProperty ParseProperty(int depth) {
        TProperty prop;
        prop.Line = FTokenLine;
        prop.Name = FTokenText;
        Next();
        Expect('=');
        prop.Value = ParseValue(depth + 1);
        return prop;
    }

    // --- values
    TValue ParseValue(int depth) {
        if (depth > MaxNesting) Fail("Values nested too deeply");
        TValue value;
        value.Line = FTokenLine;
        switch (FToken) {
        case TToken::Integer:
            value.Type = TValueType::vaInt;
            value.Int = FTokenInt;
            Next();
            return value;
        case TToken::Float:
            value.Type = TValueType::vaFloat;
            value.Float = FTokenFloat;
            Next();
            return value;
        case TToken::String:
            value.Type = TValueType::vaString;
            value.Text = std::move(FTokenText);
            Next();
            return value;
        case TToken::Ident:
            value.Text = std::move(FTokenText);
            value.Type = base::SameText(value.Text, "True") ? TValueType::vaTrue
                : base::SameText(value.Text, "False")       ? TValueType::vaFalse
                                                            : TValueType::vaIdent;
            Next();
            return value;
        case TToken::End:
            Fail("Value expected but end of text found");
        case TToken::Symbol:
            break;
        }
        switch (FTokenText[0]) {
        case '[':
            value.Type = TValueType::vaSet;
            Next();
            while (!IsSymbol(']')) {
                value.Set.push_back(ExpectIdent("Set element"));
                if (IsSymbol(','))
                    Next();
                else if (!IsSymbol(']'))
                    Fail("',' or ']' expected but " + TokenDescription() + " found");
            }
            Next();
            return value;
        case '(':
            value.Type = TValueType::vaList;
            Next();
            while (!IsSymbol(')')) {
                if (FToken == TToken::End) Fail("')' expected but end of text found");
                value.List.push_back(ParseValue(depth + 1));
                if (IsSymbol(',')) Next();
            }
            Next();
            return value;
        case '<':
            value.Type = TValueType::vaCollection;
            Next();
            while (!IsSymbol('>')) {
                if (!IsKeyword("item")) Fail("'item' or '>' expected but " + TokenDescription() + " found");
                TItem item;
                item.Line = FTokenLine;
                Next();
                while (!(IsKeyword("end") && !PeekIs('='))) {
                    if (FToken != TToken::Ident)
                        Fail("Property name or 'end' expected but " + TokenDescription() + " found");
                    item.Properties.push_back(ParseProperty(depth + 1));
                }
                Next();
                value.Items.push_back(std::move(item));
            }
            Next();
            return value;
        case '{':
            value.Type = TValueType::vaBinary;
            ReadBinary(value.Binary);
            Next();
            return value;
        default:
            Fail("Value expected but " + TokenDescription() + " found");
        }
    }

    // The '{' is the current token; reads the hex digits up to '}' straight from the text.
    void ReadBinary(std::vector<std::uint8_t>& bytes) {
        std::size_t p = FPos;
        const std::size_t n = FText.size();
        std::size_t close = FText.find('}', p);
        if (close == std::string_view::npos) Fail("'}' expected but end of text found (binary value is not closed)");
        bytes.reserve((close - p) / 2);
        int high = -1;
        for (; p < close; ++p) {
            char c = FText[p];
            if (c == '\n') {
                ++FLine;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') continue;
            int v = HexValue(c);
            if (v < 0) {
                FTokenLine = FLine;
                Fail("Invalid binary value: " + Describe(c));
            }
            if (high < 0) {
                high = v;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high << 4 | v));
                high = -1;
            }
        }
        if (high >= 0) {
            FTokenLine = FLine;
            Fail("Invalid binary value: odd number of hex digits");
        }
        FPos = close + 1 <= n ? close + 1 : n;
    }

    // --- tokens
    bool PeekIs(char symbol) {
        std::size_t p = FPos;
        while (p < FText.size()) {
            char c = FText[p];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++p;
            } else if (c == '/' && p + 1 < FText.size() && FText[p + 1] == '/') {
                while (p < FText.size() && FText[p] != '\n')
                    ++p;
            } else {
                return c == symbol;
            }
        }
        return false;
    }

    void SkipBlanks() {
        const std::size_t n = FText.size();
        while (FPos < n) {
            char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < n && FText[FPos + 1] == '/') {
                while (FPos < n && FText[FPos] != '\n')
                    ++FPos;
            } else {
                break;
            }
        }
    }

    void Next() {
        SkipBlanks();
        FTokenLine = FLine;
        FTokenText.clear();
        if (FPos >= FText.size()) {
            FToken = TToken::End;
            return;
        }
        char c = FText[FPos];
        if (IsIdentStart(c)) {
            std::size_t start = FPos;
            while (FPos < FText.size() && (IsIdentChar(FText[FPos]) || FText[FPos] == '.'))
                ++FPos;
            FTokenText.assign(FText.substr(start, FPos - start));
            if (FTokenText.back() == '.' || FTokenText.find("..") != std::string::npos)
                Fail("Invalid name " + FTokenText);
            FToken = TToken::Ident;
        } else if (IsDigit(c)
            || ((c == '-' || c == '+') && FPos + 1 < FText.size()
                && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$'))) {
            ReadNumber();
        } else if (c == '-' && FText.substr(FPos, 4) == "-INF") {
            FPos += 4;
            FToken = TToken::Float;
            FTokenFloat = -std::numeric_limits<double>::infinity();
        } else if (c == '$') {
            ReadNumber();
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else if (std::string_view("=:[](),<>{}").find(c) != std::string_view::npos) {
            FToken = TToken::Symbol;
            FTokenText.assign(1, c);
            ++FPos;
        } else {
            Fail("Invalid character " + Describe(c));
        }
    }

    void ReadNumber() {
        std::size_t start = FPos;
        bool negative = false;
        if (FText[FPos] == '-' || FText[FPos] == '+') {
            negative = FText[FPos] == '-';
            ++FPos;
        }
        if (FPos < FText.size() && FText[FPos] == '$') {
            ++FPos;
            std::uint64_t v = 0;
            std::size_t digits = 0;
            while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) {
                if (++digits > 16) Fail("Integer out of range");
                v = v << 4 | static_cast<std::uint64_t>(HexValue(FText[FPos++]));
            }
            if (digits == 0) Fail("Invalid number");
            FToken = TToken::Integer;
            FTokenInt = static_cast<std::int64_t>(negative ? ~v + 1 : v);
            CheckNumberEnd();
            return;
        }
        bool isFloat = false;
        while (FPos < FText.size() && IsDigit(FText[FPos]))
            ++FPos;
        if (FPos < FText.size() && FText[FPos] == '.') {
            isFloat = true;
            ++FPos;
            while (FPos < FText.size() && IsDigit(FText[FPos]))
                ++FPos;
        }
        if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
            isFloat = true;
            ++FPos;
            if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
            std::size_t digits = FPos;
            while (FPos < FText.size() && IsDigit(FText[FPos]))
                ++FPos;
            if (digits == FPos) Fail("Invalid number");
        }
        FTokenText.assign(FText.substr(start, FPos - start));
        const char* first = FTokenText.data() + (FTokenText[0] == '+' ? 1 : 0);
        const char* last = FTokenText.data() + FTokenText.size();
        if (isFloat) {
            FToken = TToken::Float;
            auto [ptr, ec] = std::from_chars(first, last, FTokenFloat);
            if (ec != std::errc() || ptr != last || !std::isfinite(FTokenFloat))
                Fail("Invalid floating point number " + FTokenText);
        } else {
            FToken = TToken::Integer;
            auto [ptr, ec] = std::from_chars(first, last, FTokenInt);
            if (ec != std::errc() || ptr != last) Fail("Integer out of range: " + FTokenText);
        }
        CheckNumberEnd();
    }

    void CheckNumberEnd() {
        if (FPos < FText.size() && (IsIdentChar(FText[FPos]) || FText[FPos] == '.')) Fail("Invalid number");
    }

    // Quoted parts ('' is a quote) and #n character codes, side by side, or joined with '+'.
    void ReadString() {
        FToken = TToken::String;
        const std::size_t n = FText.size();
        while (true) {
            if (FPos < n && FText[FPos] == '\'') {
                ++FPos;
                while (true) {
                    if (FPos >= n || FText[FPos] == '\n' || FText[FPos] == '\r') Fail("Unterminated string");
                    char c = FText[FPos++];
                    if (c == '\'') {
                        if (FPos < n && FText[FPos] == '\'') {
                            FTokenText += '\'';
                            ++FPos;
                            continue;
                        }
                        break;
                    }
                    FTokenText += c;
                }
            } else if (FPos < n && FText[FPos] == '#') {
                ++FPos;
                std::uint32_t code = 0;
                std::size_t digits = 0;
                bool hex = FPos < n && FText[FPos] == '$';
                if (hex) ++FPos;
                while (FPos < n && (hex ? HexValue(FText[FPos]) >= 0 : IsDigit(FText[FPos]))) {
                    code = code * (hex ? 16 : 10)
                        + static_cast<std::uint32_t>(hex ? HexValue(FText[FPos]) : FText[FPos] - '0');
                    ++FPos;
                    if (++digits > 7 || code > 0x10FFFF) Fail("Invalid character code");
                }
                if (digits == 0) Fail("Invalid character code");
                if (code < 0x80)
                    FTokenText += static_cast<char>(code);
                else
                    FTokenText += base::Utf8Encode(code);
            } else {
                // '+' joins parts across blanks and lines
                std::size_t save = FPos;
                int saveLine = FLine;
                SkipBlanks();
                if (FPos < n && FText[FPos] == '+') {
                    ++FPos;
                    SkipBlanks();
                    if (FPos < n && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
                    Fail("String expected after '+'");
                }
                FPos = save;
                FLine = saveLine;
                return;
            }
        }
    }

    std::string_view FText;
    std::size_t FPos = 0;
    int FLine = 1;
    TToken FToken = TToken::End;
    int FTokenLine = 1;
    std::string FTokenText;
    std::int64_t FTokenInt = 0;
    double FTokenFloat = 0;
};

}

TObjectNode Parse(std::string_view text) {
    TParser parser(text);
    return parser.ParseRoot();
}

}
