#include "text/basic_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

QString Str(qint64 n)
{
    return n < 0 ? CStr(n) : QLatin1Char(' ') + CStr(n);
}

QString CStr(qint64 n)
{
    return QString::number(n);
}

double Val(QStringView text)
{
    std::string number; // digits and at most one '.', without sign or blanks
    bool negative = false;
    bool signed_ = false;
    bool point = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t')
            continue;
        if ((u == u'+' || u == u'-') && !signed_ && number.empty()) {
            signed_ = true;
            negative = u == u'-';
        } else if (u >= u'0' && u <= u'9') {
            number.push_back(char(u));
        } else if (u == u'.' && !point) {
            point = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (number.find_first_of("0123456789") == std::string::npos)
        return 0.0;

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large, or so small that it is 0 to a double.
        const auto whole = number.substr(0, number.find('.'));
        value = whole.find_first_not_of('0') == std::string::npos
                    ? 0.0
                    : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): position, then length, as Mid$ has them
QStringView sub_text(QStringView text, qsizetype position, qsizetype length)
{
    const qsizetype start = position - 1;
    if (start < 0 || start >= text.size() || length <= 0)
        return {};
    return text.sliced(start, std::min(length, text.size() - start));
}
