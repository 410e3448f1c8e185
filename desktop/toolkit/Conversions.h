#pragma once

#include <QString>

#include <stdexcept>

// Number texts as the class library converts them: '.' is the one decimal separator of the
// process, and a text that is not a number raises EConvertError with the library's message.
namespace toolkit {

inline constexpr char DecimalSeparator = '.';

class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Makes '.' the decimal point of the whole process: Qt's default locale and the C library's
// numeric conventions, whatever the user's locale says.
void UseDecimalPoint();

// Blanks around the number are allowed; a sign, digits with at most one '.', and an exponent.
// Throws EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const QString& text);
bool TryStrToFloat(const QString& text, double& value);
// Decimal, or hexadecimal after "$" or "0x"; within 32 bits. Throws EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const QString& text);

}  // namespace toolkit
