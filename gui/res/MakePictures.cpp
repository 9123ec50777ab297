// Draws the program's pictures at build time: the tool bar strip, the check
// box strip of the profile list's header, the splash, the about box picture
// and the window icon. Usage: tarnwick_make_pictures OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor kToolBarBack(236, 233, 216);  // transparent on the tool bar
const QColor kMagenta(255, 0, 255);        // transparent in the header strip

QPen pen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A round button face centred in a 48 x 48 cell.
void disc(QPainter& p, QPointF centre, const QColor& colour) {
    QRadialGradient shade(centre - QPointF(6, 6), 26);
    shade.setColorAt(0, colour.lighter(160));
    shade.setColorAt(1, colour.darker(120));
    p.setPen(pen(colour.darker(170), 1.5));
    p.setBrush(shade);
    p.drawEllipse(centre, 19, 19);
}

// A sheet of paper with a folded corner.
void sheet(QPainter& p, QRectF r) {
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 9, r.top());
    page.lineTo(r.right(), r.top() + 9);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(pen(QColor(90, 90, 110), 1.5));
    p.setBrush(QColor(252, 252, 255));
    p.drawPath(page);
    p.setPen(pen(QColor(150, 160, 190), 1.5));
    for (double y = r.top() + 12; y < r.bottom() - 4; y += 6) {
        p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 5, y));
    }
}

// Two links of a chain: the product's sign.
void chain(QPainter& p, QRectF box, double penWidth) {
    const double w = box.width() * 0.58;
    const double h = box.height() * 0.36;
    const QRectF a(box.left(), box.center().y() - h / 2 - box.height() * 0.08, w, h);
    const QRectF b(box.right() - w, box.center().y() - h / 2 + box.height() * 0.08, w, h);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(30, 80, 160), penWidth));
    p.drawRoundedRect(a, h / 2, h / 2);
    p.setPen(pen(QColor(40, 150, 70), penWidth));
    p.drawRoundedRect(b, h / 2, h / 2);
    // The first link passes over the second on its right side.
    p.setPen(pen(QColor(30, 80, 160), penWidth));
    p.drawArc(a, -60 * 16, 120 * 16);
}

QImage toolBarStrip() {
    QImage strip(384, 48, QImage::Format_RGB32);
    strip.fill(kToolBarBack);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    const auto cell = [](int i) { return QPointF(i * 48 + 24, 24); };

    // Play: a green disc with a white triangle.
    disc(p, cell(0), QColor(40, 160, 60));
    QPolygonF play;
    play << cell(0) + QPointF(-6, -10) << cell(0) + QPointF(11, 0) << cell(0) + QPointF(-6, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(play);

    // Stop: a red disc with a white square.
    disc(p, cell(1), QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(cell(1) - QPointF(8, 8), QSizeF(16, 16)));

    // Add: a sheet with a green plus.
    sheet(p, QRectF(2 * 48 + 8, 5, 26, 34));
    p.setPen(pen(QColor(30, 140, 50), 6));
    p.drawLine(cell(2) + QPointF(8, 4), cell(2) + QPointF(8, 20));
    p.drawLine(cell(2) + QPointF(0, 12), cell(2) + QPointF(16, 12));

    // Delete: a sheet with a red cross.
    sheet(p, QRectF(3 * 48 + 8, 5, 26, 34));
    p.setPen(pen(QColor(200, 30, 30), 6));
    p.drawLine(cell(3) + QPointF(1, 5), cell(3) + QPointF(15, 19));
    p.drawLine(cell(3) + QPointF(15, 5), cell(3) + QPointF(1, 19));

    // Edit Profile: a sheet with a pencil.
    sheet(p, QRectF(4 * 48 + 6, 5, 26, 34));
    p.save();
    p.translate(cell(4) + QPointF(6, 6));
    p.rotate(-45);
    p.setPen(pen(QColor(120, 80, 20), 1.2));
    p.setBrush(QColor(240, 190, 40));
    p.drawRect(QRectF(-16, -4, 26, 8));
    p.setBrush(QColor(240, 210, 170));
    QPolygonF tip;
    tip << QPointF(10, -4) << QPointF(18, 0) << QPointF(10, 4);
    p.drawPolygon(tip);
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-20, -4, 4, 8));
    p.restore();

    // Help: a blue disc with a question mark.
    disc(p, cell(5), QColor(40, 90, 200));
    p.setPen(pen(Qt::white, 4.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(cell(5) + QPointF(-7, -13), QSizeF(14, 13)), 180 * 16, -250 * 16);
    p.drawLine(cell(5) + QPointF(0, -1), cell(5) + QPointF(0, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(cell(5) + QPointF(0, 10), 2.8, 2.8);

    // About: a blue disc with an "i".
    disc(p, cell(6), QColor(40, 90, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(cell(6) + QPointF(0, -9), 3.2, 3.2);
    p.drawRoundedRect(QRectF(cell(6) + QPointF(-3, -3), QSizeF(6, 16)), 2, 2);

    // Exit: a door with an arrow leaving it.
    const QPointF e = cell(7);
    p.setPen(pen(QColor(90, 60, 30), 1.5));
    p.setBrush(QColor(170, 110, 60));
    p.drawRect(QRectF(e + QPointF(-16, -18), QSizeF(20, 36)));
    p.setBrush(QColor(230, 200, 80));
    p.drawEllipse(e + QPointF(0, 1), 1.8, 1.8);
    p.setPen(pen(QColor(200, 40, 40), 4.5));
    p.drawLine(e + QPointF(-2, 0), e + QPointF(16, 0));
    QPolygonF head;
    head << e + QPointF(20, 0) << e + QPointF(11, -8) << e + QPointF(11, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(head);
    return strip;
}

QImage checkHeaderStrip() {
    QImage strip(48, 16, QImage::Format_RGB32);
    strip.fill(kMagenta);
    QPainter p(&strip);
    // 0: some rows ticked (a bar, as a tri-state box shows it), 1: none (an
    // empty box), 2: all (a check mark): three pictures told apart at once.
    for (int i = 0; i < 3; ++i) {
        const QRect box(i * 16 + 1, 1, 13, 13);
        p.setPen(QColor(28, 81, 128));
        p.setBrush(QColor(Qt::white));
        p.drawRect(box);
        if (i == 0) {
            p.fillRect(QRect(box.left() + 3, box.top() + 5, 8, 4), Qt::black);
        } else if (i == 2) {
            p.setPen(QPen(Qt::black, 2));
            p.drawLine(box.left() + 3, box.top() + 6, box.left() + 5, box.top() + 9);
            p.drawLine(box.left() + 5, box.top() + 9, box.left() + 10, box.top() + 3);
        }
    }
    return strip;
}

QImage splash() {
    QImage image(385, 241, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 241);
    sky.setColorAt(0, QColor(225, 236, 250));
    sky.setColorAt(1, QColor(160, 190, 230));
    p.fillRect(image.rect(), sky);
    p.setPen(QPen(QColor(70, 100, 150), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 383, 239));
    chain(p, QRectF(24, 40, 130, 110), 11);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(25, 50, 100));
    p.drawText(QRectF(165, 48, 210, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Osgrel"));
    p.drawText(QRectF(165, 86, 210, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tarnwick"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(18);
    p.setFont(sub);
    p.drawText(QRectF(165, 124, 210, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ambrel"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(40, 60, 90));
    p.drawText(QRectF(0, 196, 385, 24), Qt::AlignCenter,
               QStringLiteral("Keeps an eye on the links your partners promised"));
    return image;
}

QImage emblem(int width, int height, const QColor& back) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(back);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double pen = width / 10.0;
    chain(p, QRectF(pen, pen, width - 2 * pen, height - 2 * pen), pen);
    return image;
}

bool save(const QImage& image, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = save(toolBarStrip(), folder, "toolbar.png") &&
                    save(checkHeaderStrip(), folder, "checkheader.png") &&
                    save(splash(), folder, "splash.png") &&
                    save(emblem(90, 88, QColor(245, 244, 244)), folder, "about.png") &&
                    save(emblem(48, 48, Qt::transparent), folder, "tarnwick.png");
    return ok ? 0 : 1;
}
