// Pictures of the main window with sample figures, for a person to look at:
//   kestrova_screenshots <folder>
// writes page-0.png ... page-4.png (one per page), page-2-megabyte.png (the other cost pair),
// menu-*.png (the menus) and icons.png (tool bar pictures and tray frames).
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "base/program_flags.h"
#include "gui/icons.h"
#include "gui/look.h"
#include "gui/russian_translation.h"
#include "meter/meter_view.h"
#include "rates/rate_table.h"
#include "shell/main_form.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace kestrova;

MeterView SampleView(bool perMegabyte) {
    MeterView view;
    view.ip = "10.64.0.7";
    view.timeToday = "101:02:03";
    view.sesionTime = "00:12:34";
    view.costMoneyValue = 1234.5;
    view.sesionCostValue = 6.5;
    view.traficCostValue = 18.25;
    view.traficCostSeansValue = 0.75;
    view.inTraf = "1,50 МБ";
    view.outTraf = "200,00 КБ";
    view.totalIn = "1,205 ГБ";
    view.totalOut = "80,00 МБ";
    view.conSpeed = "97,66 КБ/c";
    view.stPanel =
        perMegabyte ? "Текущая стоимость мегабайта: 0,25р." : "Текущая стоимость минуты: 0,50р.";
    view.perMegabyte = perMegabyte;
    view.running = true;
    return view;
}

void FillSamples(TMainForm& form) {
    RateTable table;
    table.Append("8:00", "20:00", "0,5", "Будние дни");
    table.Append("20:00", "8:00", "0,25", "Будние дни");
    table.Append("0:00", "23:59", "0,2", "Выходные дни");
    table.Append("12:00", "14:00", "0,1", "Воскресенье");
    form.ShowRates(table);
    form.TimeList()->setCurrentItem(form.TimeList()->topLevelItem(1));

    form.SetMoneySeparators(',', QStringLiteral(" "));
    form.SetCostFormat(0);
    form.ShowMeter(SampleView(false));

    auto* row = new QTreeWidgetItem(QStringList{QString::fromUtf8("Провайдер"),
                                                QStringLiteral("modem (ppp0)"),
                                                QStringLiteral("Connected")});
    form.ConnectionsListView()->addTopLevelItem(row);
    form.ConnectionsListView()->setCurrentItem(row);
    form.disconect()->setEnabled(true);

    form.Memo1()->setPlainText(
        QString::fromUtf8("Обмен пакетами с localhost [127.0.0.1]:\n"
                          "Ответ от 127.0.0.1: число байт=32 время<1мс TTL=64\n"
                          "Ответ от 127.0.0.1: число байт=32 время<1мс TTL=64\n"
                          "Ответ от 127.0.0.1: число байт=32 время<1мс TTL=64\n"
                          "Ответ от 127.0.0.1: число байт=32 время<1мс TTL=64\n"
                          "Статистика Ping для 127.0.0.1:\n"
                          "    Пакетов: отправлено = 4, получено = 4, потеряно = 0\n"
                          "    (0% потерь)"));
}

bool Save(const QPixmap& picture, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QPixmap MenuPicture(QMenu* menu) {
    menu->ensurePolished();
    menu->adjustSize();
    return menu->grab();
}

// The tool bar pictures in a row, then the 35 tray frames and the resting tray icon.
QPixmap IconSheet() {
    const Glyph glyphs[] = {Glyph::Options, Glyph::FloatingWindow, Glyph::Export, Glyph::About,
                            Glyph::Exit,    Glyph::Reset,          Glyph::Pause,  Glyph::Run};
    QPixmap sheet(36 * 12 + 8, 36 * 4 + 8);
    sheet.fill(QColor(0xed, 0xf1, 0xf6));
    QPainter p(&sheet);
    for (int i = 0; i < 8; ++i) {
        p.drawPixmap(4 + 34 * i, 4, GlyphPixmap(glyphs[i], kToolBarIconSize));
        p.drawPixmap(282 + 19 * i, 11, GlyphPixmap(glyphs[i], kMenuIconSize));
    }
    for (int i = 0; i < kTrayFrameCount; ++i)
        p.drawPixmap(4 + (i % 12) * 36, 40 + (i / 12) * 34, GlobeFrame(i));
    p.drawPixmap(4 + 11 * 36, 40 + 2 * 34, DefIcon32().pixmap(kTrayIconSize, kTrayIconSize));
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyLook(app);
    InstallRussianTranslation(app);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir folder;
    if (!folder.mkpath(out)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out));
        return 1;
    }
    folder.setPath(out);

    ScriptedDialogs dialogs;

    ProgramFlags flags;
    TMainForm form(dialogs, flags);
    for (QTimer* t : form.findChildren<QTimer*>()) t->stop();
    FillSamples(form);
    form.show();
    QApplication::processEvents();

    bool ok = true;
    for (int page = 0; page < form.Tabliti()->count(); ++page) {
        form.Tabliti()->setCurrentIndex(page);
        QApplication::processEvents();
        ok = Save(form.grab(), folder, QStringLiteral("page-%1.png").arg(page)) && ok;
    }
    form.ShowMeter(SampleView(true));
    form.Tabliti()->setCurrentIndex(TMainForm::TrafficPage);
    QApplication::processEvents();
    ok = Save(form.grab(), folder, QStringLiteral("page-2-megabyte.png")) && ok;

    const QList<QAction*> menus = form.MainMenu1()->actions();
    const char* names[] = {"file", "edit", "settings", "help"};
    for (int i = 0; i < menus.size() && i < 4; ++i)
        ok = Save(MenuPicture(menus[i]->menu()), folder,
                  QStringLiteral("menu-%1.png").arg(QString::fromLatin1(names[i]))) &&
             ok;
    ok = Save(MenuPicture(form.TabList1()), folder, QStringLiteral("menu-tablist1.png")) && ok;
    ok = Save(MenuPicture(form.connectpopup()), folder, QStringLiteral("menu-connectpopup.png")) &&
         ok;
    ok = Save(MenuPicture(form.TrayPopUp()), folder, QStringLiteral("menu-traypopup.png")) && ok;
    ok = Save(IconSheet(), folder, QStringLiteral("icons.png")) && ok;
    return ok ? 0 : 1;
}
