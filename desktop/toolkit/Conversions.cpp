#include "desktop/toolkit/Conversions.h"

#include <QLocale>

#include <clocale>
#include <cmath>
#include <string>

#include "core/text/NumberScan.h"

namespace toolkit {
namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The grammar of a float text; strtod alone would also take "inf", "nan" and hexadecimal.
bool IsFloatText(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char(DecimalSeparator)) {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        qsizetype exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

}  // namespace

void UseDecimalPoint() {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(c);
    std::setlocale(LC_NUMERIC, "C");
}

bool TryStrToFloat(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (!IsFloatText(trimmed))
        return false;
    const std::string latin = trimmed.toStdString();
    const char* end = nullptr;
    const double result = ScanDouble(latin.c_str(), &end);
    if (!std::isfinite(result))
        return false;
    value = result;
    return true;
}

double StrToFloat(const QString& text) {
    double value = 0.0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + text.toStdString() + "' is not a valid floating point value");
    return value;
}

int StrToInt(const QString& text) {
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(u'$')) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    bool ok = !digits.isEmpty() && !digits.startsWith(u'-') && !digits.startsWith(u'+');
    const qlonglong magnitude = ok ? digits.toLongLong(&ok, base) : 0;
    const qlonglong value = negative ? -magnitude : magnitude;
    if (!ok || value < INT32_MIN || value > INT32_MAX)
        throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
    return static_cast<int>(value);
}

}  // namespace toolkit
