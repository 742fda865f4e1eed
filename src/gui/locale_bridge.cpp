#include "gui/locale_bridge.h"

#include <QDate>
#include <QFile>
#include <QTime>

namespace kestrova {

QString LongTimePattern(const QLocale& locale) {
    QString pattern = locale.timeFormat(QLocale::LongFormat);
    // Drop the time zone ("t", "tttt") and what separates it from the time.
    pattern.remove(QLatin1Char('t'));
    return pattern.trimmed();
}

char DecimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) return point.at(0).toLatin1();
    return '.';
}

LocaleFormat LocaleFormatOf(const QLocale& locale) {
    LocaleFormat format;
    format.decimalSeparator = DecimalSeparatorOf(locale);
    const QString timePattern = LongTimePattern(locale);
    format.shortDate = [locale](const LocalDateTime& m) {
        return locale.toString(QDate(m.year, m.month, m.day), QLocale::ShortFormat).toStdString();
    };
    format.longTime = [locale, timePattern](const LocalDateTime& m) {
        return locale.toString(QTime(m.hour, m.minute, m.second), timePattern).toStdString();
    };
    return format;
}

std::filesystem::path PathOf(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString TextOf(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace kestrova
