#include "gui/look.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QStyleFactory>

// The resources live in a static library: they have to be pulled in by name.
static void InitLookResources() {
    Q_INIT_RESOURCE(kestrova);
}

namespace kestrova {

void ApplyLook(QApplication& app) {
    InitLookResources();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    app.setFont(font);
    QFile sheet(QStringLiteral(":/kestrova/kestrova.qss"));
    if (sheet.open(QIODevice::ReadOnly | QIODevice::Text))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

}  // namespace kestrova
