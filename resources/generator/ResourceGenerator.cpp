// Draws the program icon and the title picture and writes them in the formats the program's
// resources keep: milka.ico (32x32 and 16x16, each in 16 and 256 colours, with AND masks) and
// Picture1.bmp (308x154, 24-bit); and the Windows setup program's two pictures, 24-bit BMPs at
// the sizes its wizard shows them: setup-side.bmp (164x314, beside the welcome and finish pages)
// and setup-header.bmp (150x57, at the right of every other page's header).
// Usage: milka_resource_generator <output folder>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVector>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

void put16(QByteArray &out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray &out, std::uint32_t v)
{
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}

// A little horse facing left, drawn into a box of the given size.
void drawHorse(QPainter &p, QRectF box, QColor coat)
{
    const double w = box.width(), h = box.height();
    const double x = box.left(), y = box.top();
    QPainterPath horse;
    horse.addEllipse(QRectF(x + 0.25 * w, y + 0.35 * h, 0.55 * w, 0.3 * h)); // body
    QPainterPath neck;
    neck.moveTo(x + 0.32 * w, y + 0.45 * h);
    neck.lineTo(x + 0.18 * w, y + 0.12 * h);
    neck.lineTo(x + 0.30 * w, y + 0.08 * h);
    neck.lineTo(x + 0.45 * w, y + 0.40 * h);
    neck.closeSubpath();
    horse.addPath(neck);
    horse.addEllipse(QRectF(x + 0.02 * w, y + 0.08 * h, 0.26 * w, 0.14 * h)); // head
    const double legTop = y + 0.55 * h, legWidth = 0.07 * w, legHeight = 0.4 * h;
    for (double legX : {0.30, 0.40, 0.62, 0.72})
        horse.addRect(QRectF(x + legX * w, legTop, legWidth, legHeight));
    horse.setFillRule(Qt::WindingFill);
    p.setPen(QPen(coat.darker(160), std::max(1.0, w / 40)));
    p.setBrush(coat);
    p.drawPath(horse.simplified());
    // Tail and mane in a darker shade.
    p.setPen(QPen(coat.darker(200), std::max(1.0, w / 16), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x + 0.80 * w, y + 0.42 * h), QPointF(x + 0.95 * w, y + 0.70 * h));
    p.drawLine(QPointF(x + 0.28 * w, y + 0.10 * h), QPointF(x + 0.40 * w, y + 0.36 * h));
}

// The coats of the horses in the pictures, in the order they are drawn.
const QColor kCoats[] = {QColor(220, 40, 40),  QColor(40, 120, 220), QColor(30, 160, 60),
                         QColor(240, 160, 0),  QColor(150, 60, 200), QColor(0, 170, 170),
                         QColor(230, 90, 160), QColor(120, 80, 40)};

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    drawHorse(p, QRectF(size * 0.12, size * 0.18, size * 0.76, size * 0.66), QColor(192, 0, 0));
    p.end();
    return image;
}

QVector<QRgb> palette16()
{
    // The standard 16 colours of a 4-bit Windows palette.
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QVector<QRgb> palette256()
{
    QVector<QRgb> colours = palette16();
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b)
                colours.append(qRgb(r * 51, g * 51, b * 51));
        }
    }
    for (int i = 0; colours.size() < 256; ++i)
        colours.append(qRgb(8 + i * 10, 8 + i * 10, 8 + i * 10));
    return colours;
}

int nearest(QRgb colour, const QVector<QRgb> &colours)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < colours.size(); ++i) {
        const long dr = qRed(colour) - qRed(colours[i]), dg = qGreen(colour) - qGreen(colours[i]),
                   db = qBlue(colour) - qBlue(colours[i]);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), palette, XOR bits bottom-up,
// AND mask bottom-up (1 = transparent).
QByteArray iconImage(const QImage &image, int bitCount)
{
    const QVector<QRgb> colours = bitCount == 4 ? palette16() : palette256();
    const int size = image.width();
    const int xorStride = ((size * bitCount + 31) / 32) * 4;
    const int andStride = ((size + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, std::uint32_t(size));
    put32(out, std::uint32_t(size * 2));
    put16(out, 1);
    put16(out, std::uint16_t(bitCount));
    put32(out, 0);
    put32(out, std::uint32_t((xorStride + andStride) * size));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (QRgb c : colours) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(xorStride, '\0');
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int index = qAlpha(pixel) < 128 ? 0 : nearest(pixel, colours);
            if (bitCount == 8)
                row[x] = char(index);
            else
                row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(andStride, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

QByteArray iconFile()
{
    struct Entry {
        int size, bitCount;
    };
    const Entry entries[] = {{32, 4}, {16, 4}, {32, 8}, {16, 8}};
    QByteArray header, images;
    put16(header, 0);
    put16(header, 1);
    put16(header, std::uint16_t(std::size(entries)));
    const int firstImage = 6 + 16 * int(std::size(entries));
    for (const Entry &entry : entries) {
        const QByteArray image = iconImage(drawIcon(entry.size), entry.bitCount);
        header.append(char(entry.size));
        header.append(char(entry.size));
        header.append(char(entry.bitCount == 4 ? 16 : 0));
        header.append(char(0));
        put16(header, 1);
        put16(header, std::uint16_t(entry.bitCount));
        put32(header, std::uint32_t(image.size()));
        put32(header, std::uint32_t(firstImage + images.size()));
        images.append(image);
    }
    return header + images;
}

QImage drawPicture()
{
    QImage image(308, 154, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    int n = 0;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 8; ++column) {
            const double x = 4 + column * 38 + (row % 2) * 16, y = 4 + row * 38;
            drawHorse(p, QRectF(x, y, 30, 28), kCoats[n++ % std::size(kCoats)]);
        }
    }
    QFont title(QStringLiteral("IPAPGothic"));
    title.setPixelSize(40);
    title.setBold(true);
    title.setItalic(true);
    p.setFont(title);
    const QRect top(0, 20, 308, 60), bottom(0, 82, 308, 56);
    QPainterPath lettering;
    lettering.addText(0, 0, title, QStringLiteral("ミルカ！！！"));
    QFont sub = title;
    sub.setPixelSize(34);
    QPainterPath subLettering;
    subLettering.addText(0, 0, sub, QStringLiteral("地方版"));
    auto centred = [](const QPainterPath &path, const QRect &box) {
        const QRectF bounds = path.boundingRect();
        return path.translated(box.center().x() - bounds.center().x(),
                               box.center().y() - bounds.center().y());
    };
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(centred(lettering, top));
    p.drawPath(centred(subLettering, bottom));
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(200, 0, 0));
    p.drawPath(centred(lettering, top));
    p.setBrush(QColor(0, 90, 200));
    p.drawPath(centred(subLettering, bottom));
    p.end();
    return image;
}

// Lettering drawn as the title picture draws it: a white halo, then the letters outlined in navy.
void drawLettering(QPainter &p, const QString &text, int pixelSize, QPointF centre, QColor fill)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    path.translate(centre - bounds.center());
    p.setPen(QPen(Qt::white, pixelSize / 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(QPen(QColor(0, 0, 128), std::max(1.0, pixelSize / 26.0)));
    p.setBrush(fill);
    p.drawPath(path);
}

// Beside the setup's welcome and finish pages: sky, the program's icon, its name, and a field
// of horses running on the turf of a racecourse, with its white rail.
QImage drawSetupSide()
{
    const int width = 164, height = 314;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 210);
    sky.setColorAt(0, QColor(30, 80, 170));
    sky.setColorAt(1, QColor(190, 220, 250));
    p.fillRect(QRect(0, 0, width, 210), sky);
    QLinearGradient turf(0, 210, 0, height);
    turf.setColorAt(0, QColor(90, 170, 70));
    turf.setColorAt(1, QColor(30, 110, 40));
    p.fillRect(QRect(0, 210, width, height - 210), turf);

    const QImage icon = drawIcon(88);
    p.drawImage(QPointF((width - icon.width()) / 2.0, 14), icon);
    drawLettering(p, QStringLiteral("ミルカ！！！"), 26, QPointF(width / 2.0, 128),
                  QColor(200, 0, 0));
    drawLettering(p, QStringLiteral("地方版"), 24, QPointF(width / 2.0, 164), QColor(0, 90, 200));

    // The rail: posts and a top bar.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int x = 6; x < width; x += 26)
        p.drawRect(QRectF(x, 204, 3, 16));
    p.drawRect(QRectF(0, 202, width, 4));
    int n = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const double x = 4 + column * 40 + (row % 2) * 18, y = 226 + row * 28;
            drawHorse(p, QRectF(x, y, 30, 26), kCoats[n++ % std::size(kCoats)]);
        }
    }
    p.end();
    return image;
}

// At the right of the other pages' white header: three horses and the icon, fading in from
// the white of the header so the page's title beside it stays on white.
QImage drawSetupHeader()
{
    const int width = 150, height = 57;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, Qt::white);
    band.setColorAt(0.35, QColor(225, 238, 252));
    band.setColorAt(1, QColor(190, 220, 250));
    p.fillRect(QRect(0, 0, width, 44), band);
    QLinearGradient turf(0, 0, width, 0);
    turf.setColorAt(0, Qt::white);
    turf.setColorAt(0.35, QColor(120, 190, 100));
    turf.setColorAt(1, QColor(60, 140, 60));
    p.fillRect(QRect(0, 44, width, height - 44), turf);
    for (int i = 0; i < 3; ++i)
        drawHorse(p, QRectF(22 + i * 26, 27 + (i % 2) * 3, 22, 20), kCoats[i]);
    const QImage icon = drawIcon(40);
    p.drawImage(QPointF(width - icon.width() - 8, (height - icon.height()) / 2.0), icon);
    p.end();
    return image;
}

QByteArray bitmapFile(const QImage &image)
{
    const int stride = ((image.width() * 3 + 3) / 4) * 4;
    const int pixelBytes = stride * image.height();
    QByteArray out("BM");
    put32(out, std::uint32_t(14 + 40 + pixelBytes));
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, std::uint32_t(image.width()));
    put32(out, std::uint32_t(image.height()));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, std::uint32_t(pixelBytes));
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            row[3 * x] = char(qBlue(pixel));
            row[3 * x + 1] = char(qGreen(pixel));
            row[3 * x + 2] = char(qRed(pixel));
        }
        out.append(row);
    }
    return out;
}

bool write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok =
        write(out.filePath(QStringLiteral("milka.ico")), iconFile()) &&
        write(out.filePath(QStringLiteral("Picture1.bmp")), bitmapFile(drawPicture())) &&
        write(out.filePath(QStringLiteral("setup-side.bmp")), bitmapFile(drawSetupSide())) &&
        write(out.filePath(QStringLiteral("setup-header.bmp")), bitmapFile(drawSetupHeader()));
    // The same drawing at the desktop's icon sizes, for the Linux package: drawn at each size
    // rather than scaled up from 32 x 32, so large icons stay sharp.
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        out.mkpath(dir);
        ok = ok && drawIcon(size).save(
                       out.filePath(dir + QStringLiteral("/com.example.tomoro.Milka.png")));
    }
    return ok ? 0 : 1;
}
