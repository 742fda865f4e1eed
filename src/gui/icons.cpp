#include "gui/icons.h"

#include <QApplication>
#include <QFont>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

namespace kestrova {

namespace {

// Every glyph is drawn on a 100 × 100 canvas that the painter scales to the icon size.
constexpr qreal kCanvas = 100.0;

QColor TileColour(Glyph glyph) {
    switch (glyph) {
        case Glyph::Options:
            return QColor(0x4f, 0x6d, 0x8f);
        case Glyph::FloatingWindow:
            return QColor(0x1f, 0x8a, 0x8a);
        case Glyph::Export:
            return QColor(0x3a, 0x8d, 0x3f);
        case Glyph::About:
        case Glyph::Help:
            return QColor(0x2f, 0x6f, 0xc0);
        case Glyph::Exit:
        case Glyph::Delete:
            return QColor(0xc0, 0x39, 0x2b);
        case Glyph::Open:
            return QColor(0xd0, 0x8a, 0x1c);
        case Glyph::Save:
            return QColor(0x2c, 0x4a, 0x7c);
        case Glyph::Add:
        case Glyph::Run:
            return QColor(0x2e, 0x9b, 0x4a);
        case Glyph::Edit:
        case Glyph::Reset:
            return QColor(0xd9, 0x6c, 0x1e);
        case Glyph::Clear:
            return QColor(0x7d, 0x4f, 0x9e);
        case Glyph::Pause:
            return QColor(0xc9, 0x9a, 0x10);
        case Glyph::WebSite:
            return QColor(0x17, 0x8f, 0xb0);
        case Glyph::Modem:
        case Glyph::Network:
            return QColor(0x55, 0x62, 0x70);
        case Glyph::ShowWindow:
            return QColor(0x3b, 0x5f, 0xb0);
    }
    return Qt::gray;
}

void DrawTile(QPainter& p, const QColor& colour) {
    QLinearGradient fill(0, 0, 0, kCanvas);
    fill.setColorAt(0.0, colour.lighter(145));
    fill.setColorAt(0.5, colour);
    fill.setColorAt(1.0, colour.darker(125));
    p.setPen(QPen(colour.darker(150), 4));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 20, 20);
    // A soft highlight on the upper half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 55));
    p.drawRoundedRect(QRectF(10, 9, 80, 38), 16, 16);
}

QPen Stroke(qreal width) {
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawGear(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.save();
    p.translate(50, 50);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-7, -34, 14, 18), 3, 3);
        p.rotate(45);
    }
    p.restore();
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 23, 23);
    ring.addEllipse(QPointF(50, 50), 9, 9);
    p.drawPath(ring);
}

void DrawWindowFrame(QPainter& p, const QRectF& r) {
    p.setPen(Stroke(7));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 12));
}

void DrawSymbol(QPainter& p, Glyph glyph) {
    switch (glyph) {
        case Glyph::Options:
            DrawGear(p);
            break;
        case Glyph::FloatingWindow:
            // A small window floating over a larger one.
            p.setPen(Stroke(5));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(20, 24, 44, 36));
            DrawWindowFrame(p, QRectF(40, 44, 40, 34));
            break;
        case Glyph::Export: {
            p.setPen(Stroke(7));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({{52, 24}, {24, 24}, {24, 78}, {60, 78}, {60, 64}}));
            p.drawLine(QPointF(40, 50), QPointF(78, 50));
            p.drawPolyline(QPolygonF({{66, 37}, {80, 50}, {66, 63}}));
            break;
        }
        case Glyph::About: {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(50, 27), 8, 8);
            p.drawRoundedRect(QRectF(42, 41, 16, 38), 4, 4);
            break;
        }
        case Glyph::Exit: {
            p.setPen(Stroke(9));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(24, 26, 52, 52), 120 * 16, 300 * 16);
            p.drawLine(QPointF(50, 20), QPointF(50, 50));
            break;
        }
        case Glyph::Open: {
            p.setPen(Stroke(6));
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawPolygon(QPolygonF({{20, 30}, {40, 30}, {46, 37}, {80, 37}, {80, 74}, {20, 74}}));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({{20, 74}, {30, 48}, {88, 48}, {80, 74}}));
            break;
        }
        case Glyph::Save: {
            p.setPen(Stroke(6));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(QPolygonF({{22, 22}, {70, 22}, {80, 32}, {80, 80}, {22, 80}}));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(34, 22, 28, 18));
            p.drawRect(QRectF(32, 56, 38, 24));
            break;
        }
        case Glyph::Add:
            p.setPen(Stroke(12));
            p.drawLine(QPointF(50, 24), QPointF(50, 76));
            p.drawLine(QPointF(24, 50), QPointF(76, 50));
            break;
        case Glyph::Edit: {
            p.save();
            p.translate(50, 50);
            p.rotate(45);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(-9, -36, 18, 50));
            p.drawPolygon(QPolygonF({{-9, 18}, {9, 18}, {0, 34}}));
            p.restore();
            break;
        }
        case Glyph::Delete:
            p.setPen(Stroke(12));
            p.drawLine(QPointF(28, 28), QPointF(72, 72));
            p.drawLine(QPointF(72, 28), QPointF(28, 72));
            break;
        case Glyph::Clear: {
            // A waste bin.
            p.setPen(Stroke(6));
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(22, 30), QPointF(78, 30));
            p.drawLine(QPointF(42, 22), QPointF(58, 22));
            p.drawPolygon(QPolygonF({{28, 36}, {72, 36}, {67, 80}, {33, 80}}));
            p.drawLine(QPointF(43, 46), QPointF(43, 70));
            p.drawLine(QPointF(57, 46), QPointF(57, 70));
            break;
        }
        case Glyph::Reset: {
            p.setPen(Stroke(9));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(24, 24, 52, 52), 60 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({{58, 14}, {78, 28}, {56, 38}}));
            break;
        }
        case Glyph::Pause:
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(28, 24, 16, 52), 3, 3);
            p.drawRoundedRect(QRectF(56, 24, 16, 52), 3, 3);
            break;
        case Glyph::Run:
            p.setPen(Stroke(4));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({{34, 24}, {76, 50}, {34, 76}}));
            break;
        case Glyph::Help: {
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(70);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(0, 2, kCanvas, kCanvas), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Glyph::WebSite:
            p.setPen(Stroke(6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(50, 50), 28, 28);
            p.drawEllipse(QPointF(50, 50), 12, 28);
            p.drawLine(QPointF(22, 50), QPointF(78, 50));
            break;
        case Glyph::Modem: {
            p.setPen(Stroke(6));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(18, 42, 64, 28), 6, 6);
            p.drawLine(QPointF(66, 42), QPointF(74, 22));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x9c, 0xff, 0x8a));
            for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(32 + 12 * i, 56), 4.5, 4.5);
            break;
        }
        case Glyph::Network: {
            p.setPen(Stroke(6));
            p.drawLine(QPointF(50, 38), QPointF(50, 58));
            p.drawLine(QPointF(28, 58), QPointF(72, 58));
            p.drawLine(QPointF(28, 58), QPointF(28, 66));
            p.drawLine(QPointF(72, 58), QPointF(72, 66));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(38, 18, 24, 20));
            p.drawRect(QRectF(16, 66, 24, 18));
            p.drawRect(QRectF(60, 66, 24, 18));
            break;
        }
        case Glyph::ShowWindow:
            DrawWindowFrame(p, QRectF(22, 26, 56, 48));
            break;
    }
}

// One frame of the turning globe; `colour` false gives the grey globe at rest.
void DrawGlobe(QPainter& p, qreal phase, bool colour) {
    const QPointF centre(50, 50);
    const qreal radius = 44;
    QRadialGradient sea(QPointF(38, 34), 62);
    sea.setColorAt(0.0, colour ? QColor(0x9f, 0xd8, 0xff) : QColor(0xe6, 0xe6, 0xe6));
    sea.setColorAt(0.6, colour ? QColor(0x1e, 0x74, 0xc8) : QColor(0x8a, 0x8a, 0x8a));
    sea.setColorAt(1.0, colour ? QColor(0x0b, 0x3a, 0x78) : QColor(0x50, 0x50, 0x50));
    p.setPen(QPen(colour ? QColor(0x08, 0x2c, 0x5c) : QColor(0x40, 0x40, 0x40), 3));
    p.setBrush(sea);
    p.drawEllipse(centre, radius, radius);

    QPainterPath sphere;
    sphere.addEllipse(centre, radius - 1.5, radius - 1.5);
    p.setClipPath(sphere);

    // Land: patches fixed on the sphere at a longitude and latitude, turned by `phase`.
    struct Patch {
        qreal longitude, latitude, size;
    };
    static constexpr Patch kLand[] = {
        {0.0, 0.35, 16}, {0.5, -0.3, 13},  {1.6, 0.5, 15},  {2.2, -0.1, 18},
        {3.3, 0.25, 14}, {4.2, -0.45, 12}, {4.9, 0.15, 17}, {5.7, -0.2, 11},
    };
    p.setPen(Qt::NoPen);
    for (const Patch& patch : kLand) {
        const qreal lon = patch.longitude + phase;
        const qreal depth = std::cos(lon) * std::cos(patch.latitude);
        if (depth <= 0.05) continue;  // the far side
        const qreal x = centre.x() + radius * std::sin(lon) * std::cos(patch.latitude);
        const qreal y = centre.y() - radius * std::sin(patch.latitude);
        QColor land = colour ? QColor(0x4c, 0xb0, 0x4a) : QColor(0xb4, 0xb4, 0xb4);
        land.setAlphaF(static_cast<float>(0.55 + 0.45 * depth));
        p.setBrush(land);
        p.drawEllipse(QPointF(x, y), patch.size * (0.35 + 0.65 * depth), patch.size * 0.8);
    }

    // Meridians that turn with the globe, and three parallels.
    const QColor grid = colour ? QColor(255, 255, 255, 120) : QColor(255, 255, 255, 90);
    p.setPen(QPen(grid, 2));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const qreal lon = phase + i * std::numbers::pi / 4;
        const qreal half = std::fabs(radius * std::sin(lon));
        p.drawEllipse(centre, half, radius);
    }
    p.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    for (qreal lat : {-0.6, 0.6}) {
        const qreal y = centre.y() - radius * std::sin(lat);
        const qreal half = radius * std::cos(lat);
        p.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    p.setClipping(false);

    // A glint on the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QPointF(34, 30), 13, 8);
}

QPixmap Canvas(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    draw(p);
    return pixmap;
}

}  // namespace

QPixmap GlyphPixmap(Glyph glyph, int size) {
    return Canvas(size, [glyph](QPainter& p) {
        DrawTile(p, TileColour(glyph));
        DrawSymbol(p, glyph);
    });
}

namespace {

// Draws a glyph when a picture of it is first asked for: most of the program's pictures sit in
// menus that may never open, and drawing them all at start-up slowed the first window.
class GlyphIconEngine : public QIconEngine {
public:
    GlyphIconEngine(Glyph glyph, int size) : glyph_(glyph), size_(size) {}

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        // Up to twice the nominal size: a sharper picture for screens that scale the interface.
        return size.boundedTo(QSize(size_ * 2, size_ * 2));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(size_, size_), QSize(size_ * 2, size_ * 2)};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize actual = actualSize(size, mode, state);
        const int side = std::min(actual.width(), actual.height());
        if (side <= 0) return {};
        const auto key = std::make_pair(side, mode);
        for (const auto& [drawnKey, drawn] : drawn_)
            if (drawnKey == key) return drawn;
        QPixmap picture = GlyphPixmap(glyph_, side);
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            QStyleOption option;
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        drawn_.emplace_back(key, picture);
        return picture;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QIconEngine* clone() const override { return new GlyphIconEngine(*this); }

private:
    Glyph glyph_;
    int size_;
    std::vector<std::pair<std::pair<int, QIcon::Mode>, QPixmap>> drawn_;
};

}  // namespace

QIcon GlyphIcon(Glyph glyph, int size) {
    return QIcon(new GlyphIconEngine(glyph, size));
}

QPixmap GlobeFrame(int frame, int size) {
    const qreal phase = 2 * std::numbers::pi * (frame % kTrayFrameCount) / kTrayFrameCount;
    return Canvas(size, [phase](QPainter& p) { DrawGlobe(p, phase, true); });
}

QList<QIcon> GlobIcon() {
    QList<QIcon> frames;
    frames.reserve(kTrayFrameCount);
    for (int i = 0; i < kTrayFrameCount; ++i) frames.append(QIcon(GlobeFrame(i)));
    return frames;
}

QIcon DefIcon32() {
    return QIcon(Canvas(kTrayIconSize, [](QPainter& p) { DrawGlobe(p, 0.0, false); }));
}

}  // namespace kestrova
