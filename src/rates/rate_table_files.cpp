#include "rates/rate_table_files.h"

#include <QFileInfo>
#include <QString>

#include "base/config_keys.h"
#include "base/ini_file.h"
#include "gui/dialogs.h"
#include "gui/locale_bridge.h"
#include "rates/rate_file.h"
#include "rates/rate_table.h"

namespace kestrova {

namespace {
const QString kFilter = QStringLiteral("Файл расценок (*.kvtl)");

void Fill(RateTable& table, const RateFileContent& content) {
    table.Clear();
    for (const RateRow& row : content.rows) table.Append(row.start, row.end, row.price, row.day);
}
}  // namespace

void RateTableFiles::RememberTable(const std::filesystem::path& file) {
    try {
        IniFile(config_).WriteString(config::General::Table, file.string());
    } catch (const IniWriteError& error) {
        dialogs_.Error(parent_, QString::fromStdString(error.what()));
    }
}

bool RateTableFiles::Open() {
    const QString name = dialogs_.OpenFile(parent_, QStringLiteral("Открыть файл"), kFilter);
    if (name.isEmpty()) return false;
    const auto content = ReadRateFile(PathOf(name));
    if (!content) {
        dialogs_.Error(parent_,
                       QStringLiteral("Ошибка доступа к файлу") + name + QStringLiteral("!"));
        return false;
    }
    Fill(table_, *content);
    if (showTable_) showTable_();
    if (content->stoppedAtForeignLine) {
        dialogs_.Error(parent_, QStringLiteral("Несовместимый тип файла!"));
        return true;
    }
    RememberTable(PathOf(name));
    return true;
}

bool RateTableFiles::Save() {
    if (!table_.Modified() &&
        !dialogs_.Question(parent_, QStringLiteral("Таблица не была изменена. Сохранить её?")))
        return false;
    QString name;
    for (;;) {
        name = dialogs_.SaveFile(parent_, QStringLiteral("Сохранить файл"), kFilter);
        if (name.isEmpty()) return false;
        if (!QFileInfo::exists(name)) break;
        const QString question =
            QStringLiteral("Файл ") + name + QStringLiteral(" существует. Заменить его?");
        if (dialogs_.Question(parent_, question)) break;
    }
    const std::filesystem::path file = RateFileName(PathOf(name));
    if (!WriteRateFile(file, table_.Rows())) {
        dialogs_.Error(
            parent_,
            QStringLiteral("Не удаётся произвести запись. Возможно носитель защищён от записи."));
        return false;
    }
    dialogs_.Information(parent_, QStringLiteral("Данные успешно записаны в файл."));
    RememberTable(file);
    table_.SetModified(false);
    return true;
}

void RateTableFiles::LoadAtStart() {
    const std::string name = IniFile(config_).ReadString(config::General::Table, "");
    if (name.empty()) return;
    const auto content = ReadRateFile(name);
    if (content) Fill(table_, *content);
}

}  // namespace kestrova
