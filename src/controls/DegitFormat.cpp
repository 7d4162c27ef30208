#include "DegitFormat.h"

#include <cmath>

namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The value as plain text: whole numbers without a decimal point.
QString toText(const QVariant& value) {
    if (!isNumber(value))
        return value.toString();
    const double number = value.toDouble();
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<long long>(number));
    return QString::number(number, 'g', 15);
}

bool isNumberEqualTo(const QVariant& value, double number) {
    return isNumber(value) && value.toDouble() == number;
}

bool isEmptyText(const QVariant& value) {
    return !isNumber(value) && value.toString().isEmpty();
}

QVariant substituteZero(const QVariant& value, int zeroMode) {
    const bool zero = isNumberEqualTo(value, 0);
    const bool minusOne = isNumberEqualTo(value, -1);
    switch (zeroMode) {
    case 0:
        return zero || isEmptyText(value) ? QVariant(QString()) : value;
    case 1:
        return zero || isEmptyText(value) ? QVariant(0) : value;
    case 2:
        if (minusOne)
            return QVariant(0);
        return zero ? QVariant(QString()) : value;
    case 3:
        return minusOne || zero || isEmptyText(value) ? QVariant(0) : value;
    default:
        return value;
    }
}

// The number the value reads as, if any: numbers themselves and texts such as " 12".
bool readsAsNumber(const QVariant& value, double& number) {
    if (isNumber(value)) {
        number = value.toDouble();
        return true;
    }
    bool ok = false;
    number = value.toString().toDouble(&ok);
    return ok;
}

QString zeroFilled(double number, int digits) {
    const long long rounded = std::llround(std::fabs(number));
    const QString text = QString::number(rounded).rightJustified(digits, QLatin1Char('0'));
    return rounded != 0 && number < 0 ? QLatin1Char('-') + text : text;
}

} // namespace

namespace DegitFormat {

QString visibleText(const QVariant& value, const Rules& rules) {
    const QVariant substituted = substituteZero(value, rules.zeroMode);
    QString text = toText(substituted);

    double number = 0;
    if (rules.fillZero > 0 && readsAsNumber(substituted, number))
        text = zeroFilled(number, rules.fillZero);
    if (rules.shift >= 1)
        text += QString(rules.shift, QLatin1Char(' '));
    return text.right(qMax(0, rules.keta));
}

} // namespace DegitFormat
