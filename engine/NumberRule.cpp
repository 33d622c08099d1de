#include "NumberRule.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace engine {

namespace {

bool isIgnored(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The text without the characters the rule ignores, so "1 2" reads as "12".
std::string withoutBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!isIgnored(c))
            out.push_back(c);
    return out;
}

double radixNumber(std::string_view digits, int base)
{
    double value = 0;
    for (char c : digits) {
        const int d = digitValue(c, base);
        if (d < 0)
            break;
        value = value * base + d;
    }
    return value;
}

double decimalNumber(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';

    // Collect the mantissa digits and the exponent ourselves, then let from_chars do the
    // correctly rounded conversion of a canonical text.
    std::string mantissa;
    std::size_t intDigits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            mantissa.push_back(s[i]);
            if (!point)
                ++intDigits;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (mantissa.empty())
        return 0;

    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            expNegative = s[j++] == '-';
        // Clamp: anything past a few thousand is already infinity or zero.
        for (; j < s.size() && isDigit(s[j]); ++j)
            exponent = std::min<long long>(exponent * 10 + (s[j] - '0'), 100000);
        if (expNegative)
            exponent = -exponent;
    }

    // Canonical form: 0.<digits>E<exp> with the decimal point placed back through the exponent.
    const std::size_t firstNonZero = mantissa.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return negative ? -0.0 : 0.0;
    const long long magnitude =
        static_cast<long long>(intDigits) - static_cast<long long>(firstNonZero) + exponent;
    const std::string canonical =
        "0." + mantissa.substr(firstNonZero) + "e" + std::to_string(magnitude);

    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

} // namespace

double numberOf(std::string_view text)
{
    const std::string s = withoutBlanks(text);
    double value = 0;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h'))
        value = radixNumber(std::string_view(s).substr(2), 16);
    else if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o'))
        value = radixNumber(std::string_view(s).substr(2), 8);
    else
        value = decimalNumber(s);
    // "-0" and "-" read as plain 0, so nothing ever shows "-0".
    return value == 0 ? 0.0 : value;
}

bool holdsNumber(std::string_view text)
{
    const std::string s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h'))
        return s.size() > 2 && digitValue(s[2], 16) >= 0;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o'))
        return s.size() > 2 && digitValue(s[2], 8) >= 0;
    std::size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    if (i < s.size() && s[i] == '.')
        ++i;
    return i < s.size() && isDigit(s[i]);
}

std::optional<std::int16_t> toWholeNumber(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Half to even, independent of the floating-point environment's rounding mode.
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> wholeNumberOf(std::string_view text)
{
    return toWholeNumber(numberOf(text));
}

std::string shortestDecimal(double value)
{
    if (value == 0)
        return "0";
    // Fixed notation of the extremes of a double needs up to 767 characters (4.9E-324).
    char buffer[1024];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc())
        return std::to_string(value); // cannot happen with this buffer
    return std::string(buffer, end);
}

} // namespace engine
