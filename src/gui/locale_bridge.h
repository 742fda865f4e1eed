#pragma once

#include <QLocale>
#include <QString>
#include <filesystem>

#include "base/locale_format.h"

namespace kestrova {

// The user's decimal separator and date and time notations, for the logic.
LocaleFormat LocaleFormatOf(const QLocale& locale);
// The locale's long time notation without its time zone ("HH:mm:ss"), as the log writes it.
QString LongTimePattern(const QLocale& locale);
// The locale's decimal separator as one character ('.' when it is not a plain one).
char DecimalSeparatorOf(const QLocale& locale);

// File names are the file system's bytes; Qt texts are UTF-16.
std::filesystem::path PathOf(const QString& file);
QString TextOf(const std::string& utf8);

}  // namespace kestrova
