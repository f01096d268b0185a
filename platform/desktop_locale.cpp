#include "platform/desktop_locale.h"

#include <QString>

namespace ardvane {
namespace {

std::string OrFallback(const QString& text, const std::string& fallback) {
  return text.isEmpty() ? fallback : text.toStdString();
}

// Two-digit years are ambiguous in a plan that runs for decades: a short date pattern with
// "yy" alone is widened to four digits.
QString WithFullYear(QString pattern) {
  if (!pattern.contains(QLatin1String("yyyy"))) pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return pattern;
}

// The long time pattern without the time zone, which a time of day in a log does not need.
QString WithoutTimeZone(QString pattern) {
  pattern.remove(QLatin1Char('t'));
  return pattern.trimmed();
}

// The locale's currency pattern for `sample`, with "$" for the symbol and "n" for the number.
std::string CurrencyPattern(const QLocale& locale, double sample) {
  QString text = locale.toCurrencyString(sample);
  const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
  const QString number = locale.toString(sample < 0 ? -sample : sample, 'f', 2);
  const qsizetype at = text.indexOf(number);
  if (at < 0) return {};
  text.replace(at, number.size(), QLatin1String("\x01"));
  if (!symbol.isEmpty()) text.replace(symbol, QLatin1String("\x02"));
  text.replace(QLatin1Char('$'), QLatin1String("\x02"));
  QString pattern;
  for (const QChar c : text) {
    if (c == QChar(1)) pattern += QLatin1Char('n');
    else if (c == QChar(2)) pattern += QLatin1Char('$');
    else if (c == QLatin1Char('n')) return {};  // a letter "n" would read as the number
    else pattern += c;
  }
  return pattern.toStdString();
}

}  // namespace

RegionalSettings RegionalSettingsFromLocale(const QLocale& locale) {
  RegionalSettings regional;  // United States English
  if (locale.language() == QLocale::C) return regional;
  const RegionalSettings us;
  regional.decimalSeparator = OrFallback(locale.decimalPoint(), us.decimalSeparator);
  regional.thousandsSeparator = OrFallback(locale.groupSeparator(), us.thousandsSeparator);
  regional.monetaryDecimalSeparator = regional.decimalSeparator;
  regional.monetaryThousandsSeparator = regional.thousandsSeparator;
  regional.negativeSign = OrFallback(locale.negativeSign(), us.negativeSign);
  regional.currencySymbol =
      OrFallback(locale.currencySymbol(QLocale::CurrencySymbol), us.currencySymbol);
  regional.shortDateFormat =
      OrFallback(WithFullYear(locale.dateFormat(QLocale::ShortFormat)), us.shortDateFormat);
  regional.longTimeFormat =
      OrFallback(WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)), us.longTimeFormat);
  const std::string positive = CurrencyPattern(locale, 1234.5);
  const std::string negative = CurrencyPattern(locale, -1234.5);
  if (!positive.empty()) regional.currencyPositivePattern = positive;
  if (!negative.empty()) regional.currencyNegativePattern = negative;
  // Negative money in the United States is written in parentheses.
  if (locale.country() == QLocale::UnitedStates) {
    regional.currencyNegativePattern = us.currencyNegativePattern;
  }
  return regional;
}

}  // namespace ardvane
