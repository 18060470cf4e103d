// tallyroll-make-art OUTDIR: draws the program's artwork with QPainter and
// writes it to OUTDIR: the title picture title.bmp (685 x 361, 24 bits per
// pixel) and the application icon icon-<N>.png for the desktop menus.
//
// The build runs it, so the pictures are never stored as opaque binaries.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

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

// The icon: a key cap carrying a curl of tape, readable from 16 to 256 pixels.
QImage Icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient face(0, 4, 0, 60);
    face.setColorAt(0, QColor(0x2b, 0x55, 0x70));
    face.setColorAt(1, QColor(0x10, 0x26, 0x35));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 12, 12);

    // Tape strip with three printed lines, the last a red minus line.
    p.setBrush(kPaper);
    p.drawRect(QRectF(14, 10, 24, 44));
    const QColor lineColors[] = {kInk, kInk, kRed};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lineColors[i]);
        p.drawRect(QRectF(22 - (i == 1 ? 4 : 0), 17 + i * 9, 12 + (i == 1 ? 4 : 0), 4));
    }
    // Roll across the top and an accent "+" key at the corner.
    p.setBrush(kPaper.darker(112));
    p.drawRoundedRect(QRectF(11, 7, 30, 8), 4, 4);
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(36, 34, 22, 22));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(45.5, 39, 3, 12));
    p.drawRect(QRectF(41, 43.5, 12, 3));
    p.end();
    return img;
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
    for (const int size : {32, 48, 128, 256})
        ok = Icon(size).save(out.filePath(QStringLiteral("icon-%1.png").arg(size)), "PNG") && ok;
    if (!ok) std::fprintf(stderr, "tallyroll-make-art: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
