// tallyroll-make-art OUTDIR: draws the program's artwork with QPainter and
// writes it to OUTDIR: the title picture title.bmp (685 x 361, 24 bits per
// pixel) and the application icon, icon-<N>.png from 32 to 512 pixels and
// tallyroll.svg, for the windows and the desktop menus.
//
// The build runs it, so the pictures are never stored as opaque binaries.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTitleWidth = 685;
constexpr int kTitleHeight = 361;

const QColor kPaper(0xfb, 0xf6, 0xe4);
const QColor kInk(0x33, 0x33, 0x3a);
const QColor kRed(0xc0, 0x28, 0x28);
const QColor kAccent(0xf0, 0x8a, 0x24);

QFont Font(const char* family, int pixelSize, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The night-blue desk the picture is drawn on.
QLinearGradient Backdrop() {
    QLinearGradient g(0, 0, 0, kTitleHeight);
    g.setColorAt(0, QColor(0x1d, 0x3b, 0x4f));
    g.setColorAt(1, QColor(0x0c, 0x1d, 0x29));
    return g;
}

// A rounded key cap with a soft highlight and a shadow under it.
void DrawKey(QPainter& p, const QRectF& r, const QColor& face, const QString& caption,
             const QColor& text) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(0, 3), 7, 7);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, face.lighter(125));
    g.setColorAt(1, face);
    p.setBrush(g);
    p.setPen(QPen(face.darker(140), 1));
    p.drawRoundedRect(r, 7, 7);
    p.setPen(text);
    p.setFont(Font("Liberation Sans", static_cast<int>(r.height() * 0.5), true));
    p.drawText(r, Qt::AlignCenter, caption);
}

// The paper roll at the top and the strip of tape hanging from it, printed
// the way the calculator prints: right-aligned numbers, minus lines in red.
void DrawTape(QPainter& p) {
    const QRectF strip(78, 52, 150, 296);

    // Shadow of the strip on the backdrop.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRect(strip.translated(6, 6));

    // The strip, slightly darker towards its edges like curved paper.
    QLinearGradient paper(strip.topLeft(), strip.topRight());
    paper.setColorAt(0, kPaper.darker(108));
    paper.setColorAt(0.15, kPaper);
    paper.setColorAt(0.85, kPaper);
    paper.setColorAt(1, kPaper.darker(110));
    p.setBrush(paper);
    p.drawRect(strip);

    // Torn lower edge: a zigzag cut out of the strip.
    QPainterPath tear;
    tear.moveTo(strip.left(), strip.bottom());
    for (int i = 0; i <= 15; ++i)
        tear.lineTo(strip.left() + i * strip.width() / 15, strip.bottom() - (i % 2 ? 7 : 0));
    tear.lineTo(strip.right(), strip.bottom() + 1);
    tear.lineTo(strip.left(), strip.bottom() + 1);
    p.setBrush(Backdrop());
    p.drawPath(tear);

    struct Line {
        const char* text;
        bool red;
    };
    const Line lines[] = {
        {"+ 12.00", false}, {"+ 3.00", false},  {"= 15.00", false},  {"\u2013 2.50", true},
        {"x 4.00", false},  {"= 50.00", false}, {"/ 8.00", false},   {"= 6.25", false},
        {"+ 1.75", false},  {"= 8.00", false},  {"********", false},
    };
    p.setFont(Font("Liberation Mono", 15, false));
    qreal y = strip.top() + 26;
    for (const Line& line : lines) {
        p.setPen(line.red ? kRed : kInk);
        p.drawText(QRectF(strip.left() + 10, y, strip.width() - 22, 20),
                   Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(line.text));
        y += 22;
    }

    // The roll: a cylinder lying across the top of the strip.
    const QRectF roll(64, 24, 178, 40);
    QLinearGradient body(roll.topLeft(), roll.bottomLeft());
    body.setColorAt(0, kPaper.darker(104));
    body.setColorAt(0.35, QColor(0xff, 0xfd, 0xf4));
    body.setColorAt(1, kPaper.darker(135));
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(body);
    p.drawRoundedRect(roll, 8, 20);
    // The roll's end with its core.
    const QRectF end(roll.right() - 22, roll.top(), 22, roll.height());
    p.setBrush(kPaper.darker(115));
    p.drawEllipse(end);
    p.setBrush(QColor(0x8a, 0x6a, 0x48));
    p.drawEllipse(end.adjusted(6, 12, -6, -12));
}

// Title, tag line and a small keypad on the right half.
void DrawTitleSide(QPainter& p) {
    p.setPen(kPaper);
    p.setFont(Font("Liberation Sans", 70, true));
    p.drawText(QRectF(270, 28, 400, 90), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("tally"));
    const int tallyWidth = p.fontMetrics().horizontalAdvance(QStringLiteral("tally"));
    p.setPen(kAccent);
    p.drawText(QRectF(270 + tallyWidth, 28, 400, 90), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("roll"));

    p.setPen(QColor(0xc9, 0xd6, 0xde));
    p.setFont(Font("Liberation Sans", 17, false));
    p.drawText(QRectF(274, 116, 400, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("the adding machine with a paper tape"));

    // Keypad: four rows of five keys, the operators in the accent colour.
    const char* caps[4][5] = {{"7", "8", "9", "/", "C"},
                              {"4", "5", "6", "x", "M"},
                              {"1", "2", "3", "\u2013", "G"},
                              {"0", ".", "%", "+", "="}};
    const qreal left = 276, top = 160, w = 66, h = 36, gap = 10;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
            const QRectF r(left + col * (w + gap), top + row * (h + gap), w, h);
            const bool op = col >= 3;
            DrawKey(p, r, op ? kAccent : QColor(0xe8, 0xe4, 0xda),
                    QString::fromUtf8(caps[row][col]), op ? QColor(Qt::white) : kInk);
        }
    }
}

QImage TitlePicture() {
    QImage img(kTitleWidth, kTitleHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.fillRect(img.rect(), Backdrop());
    // A soft light behind the title.
    QRadialGradient glow(QPointF(470, 120), 330);
    glow.setColorAt(0, QColor(255, 255, 255, 40));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    DrawTape(p);
    DrawTitleSide(p);
    p.end();
    return img.convertToFormat(QImage::Format_RGB888);
}

// The icon: a key cap carrying a curl of tape, readable from 16 pixels up.
// One list of shapes on a 64 x 64 grid gives both the PNGs and the SVG.
struct IconShape {
    enum Kind { Rect, RoundedRect, Ellipse } kind;
    QRectF rect;
    qreal radius;
    QColor colour;  // invalid: the key cap's gradient
};

const QColor kCapTop(0x2b, 0x55, 0x70);
const QColor kCapBottom(0x10, 0x26, 0x35);

std::vector<IconShape> IconShapes() {
    const QColor white(Qt::white);
    return {
        {IconShape::RoundedRect, {4, 4, 56, 56}, 12, QColor()},
        // Tape strip with three printed lines, the last a red minus line.
        {IconShape::Rect, {14, 10, 24, 44}, 0, kPaper},
        {IconShape::Rect, {22, 17, 12, 4}, 0, kInk},
        {IconShape::Rect, {18, 26, 16, 4}, 0, kInk},
        {IconShape::Rect, {22, 35, 12, 4}, 0, kRed},
        // Roll across the top and an accent "+" key at the corner.
        {IconShape::RoundedRect, {11, 7, 30, 8}, 4, kPaper.darker(112)},
        {IconShape::Ellipse, {36, 34, 22, 22}, 0, kAccent},
        {IconShape::Rect, {45.5, 39, 3, 12}, 0, white},
        {IconShape::Rect, {41, 43.5, 12, 3}, 0, white},
    };
}

QImage Icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    QLinearGradient cap(0, 4, 0, 60);
    cap.setColorAt(0, kCapTop);
    cap.setColorAt(1, kCapBottom);
    for (const IconShape& s : IconShapes()) {
        if (s.colour.isValid())
            p.setBrush(s.colour);
        else
            p.setBrush(cap);
        switch (s.kind) {
            case IconShape::Rect:
                p.drawRect(s.rect);
                break;
            case IconShape::RoundedRect:
                p.drawRoundedRect(s.rect, s.radius, s.radius);
                break;
            case IconShape::Ellipse:
                p.drawEllipse(s.rect);
                break;
        }
    }
    p.end();
    return img;
}

QString IconSvg() {
    const auto n = [](qreal v) { return QString::number(v, 'g', 6); };
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                      "viewBox=\"0 0 64 64\">\n"
                      "  <defs>\n"
                      "    <linearGradient id=\"cap\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
                      "y1=\"4\" x2=\"0\" y2=\"60\">\n"
                      "      <stop offset=\"0\" stop-color=\"%1\"/>\n"
                      "      <stop offset=\"1\" stop-color=\"%2\"/>\n"
                      "    </linearGradient>\n"
                      "  </defs>\n")
                      .arg(kCapTop.name(), kCapBottom.name());
    for (const IconShape& s : IconShapes()) {
        const QString fill = s.colour.isValid() ? s.colour.name() : QStringLiteral("url(#cap)");
        const QRectF& r = s.rect;
        if (s.kind == IconShape::Ellipse) {
            svg +=
                QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"/>\n")
                    .arg(n(r.center().x()), n(r.center().y()), n(r.width() / 2), n(r.height() / 2),
                         fill);
        } else {
            const QString round = s.kind == IconShape::RoundedRect
                                      ? QStringLiteral(" rx=\"%1\" ry=\"%1\"").arg(n(s.radius))
                                      : QString();
            svg += QStringLiteral(
                       "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"%5 fill=\"%6\"/>\n")
                       .arg(n(r.x()), n(r.y()), n(r.width()), n(r.height()), round, fill);
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

}  // namespace

int main(int argc, char** argv) {
    // Only the font database and raster painting are needed; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallyroll-make-art OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) return 1;
    bool ok = TitlePicture().save(out.filePath(QStringLiteral("title.bmp")), "BMP");
    for (const int size : {32, 48, 64, 128, 256, 512})
        ok = Icon(size).save(out.filePath(QStringLiteral("icon-%1.png").arg(size)), "PNG") && ok;
    QFile svg(out.filePath(QStringLiteral("tallyroll.svg")));
    ok = svg.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         svg.write(IconSvg().toUtf8()) >= 0 && svg.flush() && ok;
    if (!ok) std::fprintf(stderr, "tallyroll-make-art: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
