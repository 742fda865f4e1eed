#include "shell/rate_table_files.h"

#include <QFileInfo>
#include <QString>

#include "rates/rate_file.h"
#include "rates/rate_table.h"
#include "settings/ini_file.h"
#include "shell/dialogs.h"
#include "shell/locale_bridge.h"

namespace kestrova {

namespace {
const QString kFilter = QStringLiteral("Файл расценок (*.kvtl)");
const QString kError = QStringLiteral("Ошибка!");
const QString kQuestion = QStringLiteral("Внимание!");

void Fill(RateTable& table, const RateFileContent& content) {
    table.Clear();
    for (const RateRow& row : content.rows) table.Append(row.start, row.end, row.price, row.day);
}
}  // namespace

void RateTableFiles::RememberTable(const std::filesystem::path& file) {
    try {
        IniFile(config_).WriteString("General", "Table", file.string());
    } catch (const IniWriteError& error) {
        dialogs_.Ask(parent_, MessageKind::Error, kError, QString::fromStdString(error.what()));
    }
}

bool RateTableFiles::Open() {
    const QString name = dialogs_.OpenFile(parent_, QStringLiteral("Открыть файл"), kFilter);
    if (name.isEmpty()) return false;
    const auto content = ReadRateFile(PathOf(name));
    if (!content) {
        dialogs_.Ask(parent_, MessageKind::Error, kError,
                     QStringLiteral("Ошибка доступа к файлу") + name + QStringLiteral("!"));
        return false;
    }
    Fill(table_, *content);
    if (showTable_) showTable_();
    if (content->stoppedAtForeignLine) {
        dialogs_.Ask(parent_, MessageKind::Error, kError,
                     QStringLiteral("Несовместимый тип файла!"));
        return true;
    }
    RememberTable(PathOf(name));
    return true;
}

bool RateTableFiles::Save() {
    if (!table_.Modified() &&
        dialogs_.Ask(parent_, MessageKind::Question, kQuestion,
                     QStringLiteral("Таблица не была изменена. Сохранить её?")) != Answer::Yes)
        return false;
    QString name;
    for (;;) {
        name = dialogs_.SaveFile(parent_, QStringLiteral("Сохранить файл"), kFilter);
        if (name.isEmpty()) return false;
        if (!QFileInfo::exists(name)) break;
        const QString question =
            QStringLiteral("Файл ") + name + QStringLiteral(" существует. Заменить его?");
        if (dialogs_.Ask(parent_, MessageKind::Question, kQuestion, question) == Answer::Yes) break;
    }
    const std::filesystem::path file = RateFileName(PathOf(name));
    if (!WriteRateFile(file, table_.Rows())) {
        dialogs_.Ask(
            parent_, MessageKind::Error, kError,
            QStringLiteral("Не удаётся произвести запись. Возможно носитель защищён от записи."));
        return false;
    }
    dialogs_.Ask(parent_, MessageKind::Info, QStringLiteral("Информация."),
                 QStringLiteral("Данные успешно записаны в файл."));
    RememberTable(file);
    table_.SetModified(false);
    return true;
}

void RateTableFiles::LoadAtStart() {
    const std::string name = IniFile(config_).ReadString("General", "Table", "");
    if (name.empty()) return;
    const auto content = ReadRateFile(name);
    if (content) Fill(table_, *content);
}

}  // namespace kestrova
