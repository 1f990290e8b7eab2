// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"

#include "common/runtimeerror.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

[[noreturn]] void overflow() {
    throw RuntimeError(ErrorKind::Overflow);
}

// Full-width forms typed by a Japanese input method read as their ASCII forms.
QChar asciiForm(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'０' && u <= u'９')
        return QChar(u'0' + (u - u'０'));
    if (u >= u'Ａ' && u <= u'Ｚ')
        return QChar(u'A' + (u - u'Ａ'));
    if (u >= u'ａ' && u <= u'ｚ')
        return QChar(u'a' + (u - u'ａ'));
    switch (u) {
    case u'－':
    case u'−': // the minus sign some input methods give
        return QChar(u'-');
    case u'＋':
        return QChar(u'+');
    case u'．':
        return QChar(u'.');
    case u'＆':
        return QChar(u'&');
    default:
        return c;
    }
}

// The no-break space comes with text pasted from web pages; it is a space
// like the full-width one.
bool isBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\u3000' || u == u'\u00A0';
}

// The value of an ASCII digit or letter in the given radix, or -1. Full-width
// forms have become ASCII before this; other scripts' digits are no digits.
int digitValue(QChar c, int radix) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = 10 + (u - u'a');
    else if (u >= u'A' && u <= u'F')
        value = 10 + (u - u'A');
    return value < radix ? value : -1;
}

// Reads an "&H" or "&O" number. Up to 16 bits of digits are a 16-bit value and
// up to 32 bits a 32-bit value, both two's complement, as such literals are.
double radixNumber(const QString& s, int start, int radix) {
    quint64 value = 0;
    bool any = false;
    for (int i = start; i < s.size(); ++i) {
        const int digit = digitValue(s[i], radix);
        if (digit < 0)
            break;
        value = value * radix + digit;
        any = true;
        if (value > 0xFFFFFFFFull)
            overflow();
    }
    if (!any)
        return 0;
    if (value <= 0xFFFF)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

double leadingNumber(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            s.append(asciiForm(c));
    }

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        if (kind == u'H')
            return radixNumber(s, 2, 16);
        if (kind == u'O')
            return radixNumber(s, 2, 8);
        return 0;
    }

    // Collect the longest prefix that forms a decimal number, then let strtod
    // convert exactly that text.
    QByteArray number;
    int i = 0;
    auto digitsFrom = [&](int from) {
        int j = from;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9')
            ++j;
        return j;
    };
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    int end = digitsFrom(i);
    bool mantissa = end > i;
    if (end < s.size() && s[end] == u'.') {
        const int fracEnd = digitsFrom(end + 1);
        mantissa = mantissa || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!mantissa)
        return 0;
    if (end < s.size() && (s[end] == u'E' || s[end] == u'e' || s[end] == u'D' || s[end] == u'd')) {
        int k = end + 1;
        if (k < s.size() && (s[k] == u'+' || s[k] == u'-'))
            ++k;
        const int expEnd = digitsFrom(k);
        if (expEnd > k)
            end = expEnd;
    }
    number = s.left(end).toLatin1();
    for (char& c : number) {
        if (c == 'D' || c == 'd')
            c = 'E';
    }
    const double value = std::strtod(number.constData(), nullptr);
    if (!std::isfinite(value))
        overflow();
    return value;
}

qint32 roundToInt32(double value) {
    const double r = std::nearbyint(value); // the default rounding mode sends halves to even
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        overflow();
    return static_cast<qint32>(r);
}

qint16 roundToInt16(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<qint16>::min() && r <= std::numeric_limits<qint16>::max()))
        overflow();
    return static_cast<qint16>(r);
}

qint16 toInt16(qint64 value) {
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        overflow();
    return static_cast<qint16>(value);
}

qint32 toInt32(qint64 value) {
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        overflow();
    return static_cast<qint32>(value);
}

qint16 add16(qint16 a, qint16 b) {
    return toInt16(qint64(a) + b);
}
qint16 sub16(qint16 a, qint16 b) {
    return toInt16(qint64(a) - b);
}
qint16 mul16(qint16 a, qint16 b) {
    return toInt16(qint64(a) * b);
}
qint32 add32(qint32 a, qint32 b) {
    return toInt32(qint64(a) + b);
}
qint32 sub32(qint32 a, qint32 b) {
    return toInt32(qint64(a) - b);
}
qint32 mul32(qint32 a, qint32 b) {
    return toInt32(qint64(a) * b);
}

namespace {

// Plain decimal text of |value| rounded to `digits` significant digits.
QString plainDecimal(double value, int digits) {
    if (value == 0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(value));
    // buf is "d.ddddde±xx": split into the digit string and the exponent.
    QByteArray text(buf);
    const int e = text.indexOf('e');
    const int exponent = text.mid(e + 1).toInt();
    QByteArray mantissa = text.left(e);
    mantissa.remove(1, 1); // the decimal point
    while (mantissa.size() > 1 && mantissa.endsWith('0'))
        mantissa.chop(1);

    QByteArray out;
    if (exponent < 0) {
        out = "0." + QByteArray(-exponent - 1, '0') + mantissa;
    } else if (exponent + 1 >= mantissa.size()) {
        out = mantissa + QByteArray(exponent + 1 - mantissa.size(), '0');
    } else {
        out = mantissa.left(exponent + 1) + '.' + mantissa.mid(exponent + 1);
    }
    return QString::fromLatin1(out);
}

QString signPlace(bool negative, const QString& digits) {
    return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + digits + u' ';
}

} // namespace

QString formatWhole(qint64 value) {
    // Work on the magnitude as unsigned so the smallest value prints too.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return signPlace(value < 0, QString::number(magnitude));
}

QString formatDouble(double value) {
    return signPlace(value < 0, plainDecimal(value, 15));
}

QString formatSingle(float value) {
    return signPlace(value < 0, plainDecimal(value, 7));
}
