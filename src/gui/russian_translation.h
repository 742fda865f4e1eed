#pragma once

class QApplication;

namespace kestrova {

// Russian texts for Qt's own buttons and dialogs ("Да", "Нет", "Отмена" ...), from Qt's
// translation qtbase_ru.qm. False when the translation is not installed.
bool InstallRussianTranslation(QApplication& app);

}  // namespace kestrova
