#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

namespace kestrova {

// The program's pictures, drawn in code: a coloured tile with a white symbol.
enum class Glyph {
    Options,
    FloatingWindow,
    Export,
    About,
    Exit,
    Open,
    Save,
    Add,
    Edit,
    Delete,
    Clear,
    Reset,
    Pause,
    Run,
    Help,
    WebSite,
    Modem,
    Network,
    ShowWindow,
};

// Tool bar pictures are 30 × 30, menu pictures 16 × 16.
inline constexpr int kToolBarIconSize = 30;
inline constexpr int kMenuIconSize = 16;
inline constexpr int kButtonIconSize = 24;

QPixmap GlyphPixmap(Glyph glyph, int size);
QIcon GlyphIcon(Glyph glyph, int size);

// The tray icon: a globe that turns through the frames while online, and the grey globe at rest.
inline constexpr int kTrayFrameCount = 35;
inline constexpr int kTrayIconSize = 32;
QPixmap GlobeFrame(int frame, int size = kTrayIconSize);
QList<QIcon> GlobIcon();
QIcon DefIcon32();

}  // namespace kestrova
