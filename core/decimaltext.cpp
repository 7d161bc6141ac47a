#include "decimaltext.h"

#include <cctype>
#include <cmath>

namespace decimaltext {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// 10^exponent; exact as a double up to 10^22, so that one multiplication or division by it
// rounds once.
double powerOfTen(int exponent)
{
    double power = 1;
    for (int i = 0; i < exponent && i < 400; ++i)
        power *= 10;
    return power;
}

} // namespace

std::optional<double> read(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    double mantissa = 0;
    int significant = 0;
    int exponent = 0; // of the last digit kept
    int digits = 0;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(text[i]))
            break;
        ++digits;
        // Digits past the seventeenth change nothing a double can hold.
        if (significant < 17) {
            mantissa = mantissa * 10 + (text[i] - '0');
            significant += mantissa > 0 ? 1 : 0;
            exponent -= afterPoint ? 1 : 0;
        } else {
            exponent += afterPoint ? 0 : 1;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        int given = 0;
        const size_t start = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            given = given < 10000 ? given * 10 + (text[i] - '0') : given;
        if (i == start)
            return std::nullopt;
        exponent += negativeExponent ? -given : given;
    }
    if (i != text.size())
        return std::nullopt;
    double value =
        exponent >= 0 ? mantissa * powerOfTen(exponent) : mantissa / powerOfTen(-exponent);
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string spelled(double value)
{
    std::string text;
    for (int decimals = 0; decimals <= 9; ++decimals) {
        const double scaled = std::round(std::fabs(value) * powerOfTen(decimals));
        if (scaled > 9e15)
            break;
        std::string digits = std::to_string(static_cast<long long>(scaled));
        if (decimals > 0) {
            if (digits.size() <= size_t(decimals))
                digits.insert(0, size_t(decimals) + 1 - digits.size(), '0');
            digits.insert(digits.size() - size_t(decimals), ".");
        }
        text = (value < 0 && scaled != 0 ? "-" : "") + digits;
        if (read(text) == value)
            break;
    }
    return text;
}

} // namespace decimaltext
