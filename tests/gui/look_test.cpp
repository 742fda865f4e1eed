// The program's own look: style sheet, pictures, fade-in and Russian standard buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLibraryInfo>
#include <QWidget>

#include "gui/fade_in.h"
#include "gui/icons.h"
#include "gui/russian_translation.h"
#include "support/gui_app.h"

namespace kestrova {
namespace {

TEST(Look, StyleSheetComesFromTheResources) {
    QApplication& app = testing::GuiApp();
    EXPECT_TRUE(app.styleSheet().contains(QStringLiteral("QToolBar#ToolBar1")));
    EXPECT_EQ(app.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(app.font().pixelSize(), 14);
}

TEST(Look, PicturesHaveTheirSizesAndAreDrawn) {
    testing::GuiApp();
    for (Glyph glyph : {Glyph::Options, Glyph::FloatingWindow, Glyph::Export, Glyph::About,
                        Glyph::Exit, Glyph::Help}) {
        const QImage tool = GlyphPixmap(glyph, kToolBarIconSize).toImage();
        EXPECT_EQ(tool.size(), QSize(30, 30));
        EXPECT_GT(qAlpha(tool.pixel(15, 15)), 0) << "something is drawn in the middle";
        EXPECT_EQ(qAlpha(tool.pixel(0, 0)), 0) << "rounded corners stay clear";
        EXPECT_EQ(GlyphPixmap(glyph, kMenuIconSize).size(), QSize(16, 16));
    }
    // Different commands have different pictures.
    EXPECT_NE(GlyphPixmap(Glyph::Options, 30).toImage(), GlyphPixmap(Glyph::Exit, 30).toImage());
}

TEST(Look, TrayFramesTurnTheGlobe) {
    testing::GuiApp();
    const QList<QIcon> frames = GlobIcon();
    ASSERT_EQ(frames.size(), 35);
    for (const QIcon& frame : frames) EXPECT_FALSE(frame.isNull());
    const QImage first = GlobeFrame(0).toImage();
    EXPECT_EQ(first.size(), QSize(32, 32));
    EXPECT_NE(first, GlobeFrame(1).toImage()) << "consecutive frames differ";
    EXPECT_EQ(first, GlobeFrame(35).toImage()) << "the cycle closes";
    const QImage rest = DefIcon32().pixmap(32, 32).toImage();
    EXPECT_EQ(rest.size(), QSize(32, 32));
    EXPECT_NE(rest, first);
}

TEST(Look, FadeInShowsTheWindowAtItsOpacity) {
    testing::GuiApp();
    QWidget window;
    FadeIn(&window, 245);
    EXPECT_TRUE(window.isVisible());
    // Headless there is no translucency: the window is shown at once at its final opacity.
    EXPECT_NEAR(window.windowOpacity(), 245.0 / 255.0, 0.01);
}

TEST(Look, RussianTranslationGivesQtButtonsRussianTexts) {
    QApplication& app = testing::GuiApp();
    const QString file =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm");
    if (!QFileInfo::exists(file)) GTEST_SKIP() << "qt6-translations-l10n is not installed";
    ASSERT_TRUE(InstallRussianTranslation(app));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("&Да"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
}

}  // namespace
}  // namespace kestrova
