#include "widgets/Icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace veskar {

namespace {

constexpr int kSize = 48; // drawn large, scaled down by the icon

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kPaper(0xfa, 0xfa, 0xf5);
const QColor kBlue(0x2f, 0x6d, 0xb5);
const QColor kGreen(0x3c, 0x8d, 0x4f);
const QColor kAmber(0xd9, 0x8c, 0x1f);
const QColor kRed(0xb8, 0x3b, 0x3b);

// `paint` draws on a 48-pixel square, scaled to `size`.
QImage DrawImage(int size, const std::function<void(QPainter&)>& paint)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / static_cast<double>(kSize), size / static_cast<double>(kSize));
    painter.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    paint(painter);
    painter.end();
    return image;
}

QIcon Draw(const std::function<void(QPainter&)>& paint)
{
    return QIcon(QPixmap::fromImage(DrawImage(kSize, paint)));
}

// Keep in step with src/resources/icons/veskar.svg.
void ApplicationMark(QPainter& p)
{
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 3, 42, 42), 8, 8);
    p.setPen(QPen(kPaper, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(12, 14), QPointF(24, 36), QPointF(36, 14)});
}

void Folder(QPainter& p)
{
    QPainterPath back;
    back.moveTo(4, 12);
    back.lineTo(18, 12);
    back.lineTo(22, 16);
    back.lineTo(42, 16);
    back.lineTo(42, 40);
    back.lineTo(4, 40);
    back.closeSubpath();
    p.setBrush(kAmber.lighter(130));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(4, 40);
    front.lineTo(10, 22);
    front.lineTo(46, 22);
    front.lineTo(42, 40);
    front.closeSubpath();
    p.setBrush(kAmber);
    p.drawPath(front);
}

void Disk(QPainter& p, const QColor& colour)
{
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(6, 6, 36, 36), 4, 4);
    p.setBrush(kPaper);
    p.drawRect(QRectF(13, 6, 22, 13));
    p.setBrush(colour.darker(130));
    p.drawRect(QRectF(28, 9, 4, 7));
    p.setBrush(kPaper);
    p.drawRect(QRectF(12, 27, 24, 15));
}

void Pencil(QPainter& p)
{
    p.save();
    p.translate(33, 33);
    p.rotate(-45);
    p.setBrush(kAmber);
    p.drawRect(QRectF(-4, -16, 8, 24));
    QPolygonF tip{QPointF(-4, 8), QPointF(4, 8), QPointF(0, 15)};
    p.setBrush(kPaper);
    p.drawPolygon(tip);
    p.restore();
}

void Page(QPainter& p)
{
    p.setBrush(kPaper);
    p.drawRect(QRectF(10, 4, 28, 40));
    for (int y = 12; y <= 36; y += 6)
        p.drawLine(QPointF(15, y), QPointF(y == 36 ? 26 : 33, y));
}

void Person(QPainter& p, qreal x, qreal scale, const QColor& colour)
{
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, 15 * scale + (1 - scale) * 20), 7 * scale, 7 * scale);
    QPainterPath body;
    const qreal top = 25 * scale + (1 - scale) * 22;
    body.moveTo(x - 13 * scale, 42);
    body.cubicTo(x - 13 * scale, top, x + 13 * scale, top, x + 13 * scale, 42);
    body.closeSubpath();
    p.drawPath(body);
}

void Gear(QPainter& p)
{
    p.setBrush(kBlue);
    p.save();
    p.translate(24, 24);
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-4, -20, 8, 8));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 14, 14);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), 5, 5);
    p.restore();
}

void Directory(QPainter& p, QChar letter)
{
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(8, 4, 32, 40), 3, 3);
    p.setBrush(kGreen);
    p.drawRect(QRectF(8, 4, 8, 40));
    QFont font = p.font();
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(16, 4, 24, 40), Qt::AlignCenter, QString(letter));
}

void Sliders(QPainter& p)
{
    const qreal knobs[] = {14, 30, 22};
    for (int i = 0; i < 3; ++i) {
        const qreal x = 12 + i * 12;
        p.drawLine(QPointF(x, 6), QPointF(x, 42));
        p.setBrush(i == 1 ? kRed : kBlue);
        p.drawRoundedRect(QRectF(x - 5, knobs[i] - 3, 10, 6), 2, 2);
    }
}

void Unit(QPainter& p)
{
    p.setBrush(kInk.lighter(160));
    p.drawRoundedRect(QRectF(4, 14, 26, 28), 3, 3);
    p.drawLine(QPointF(10, 14), QPointF(10, 4));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12, 24), 3, 3);
    QPolygonF arrow{QPointF(32, 22), QPointF(44, 28), QPointF(32, 34)};
    p.setBrush(kAmber);
    p.drawLine(QPointF(30, 28), QPointF(40, 28));
    p.drawPolygon(arrow);
}

} // namespace

QIcon ToolbarIcon(std::string_view name)
{
    if (name == "open")
        return Draw(Folder);
    if (name == "save")
        return Draw([](QPainter& p) { Disk(p, kBlue); });
    if (name == "saveas")
        return Draw([](QPainter& p) {
            Disk(p, kBlue);
            Pencil(p);
        });
    if (name == "summary")
        return Draw(Page);
    if (name == "users")
        return Draw([](QPainter& p) {
            Person(p, 31, 0.8, kGreen.lighter(120));
            Person(p, 18, 1.0, kGreen);
        });
    if (name == "system")
        return Draw(Gear);
    if (name.size() == 4 && name.substr(0, 3) == "dir")
        return Draw([letter = QChar(name[3]).toUpper()](QPainter& p) { Directory(p, letter); });
    if (name == "levels")
        return Draw(Sliders);
    if (name == "program")
        return Draw(Unit);
    return {};
}

QImage ApplicationIconImage(int size)
{
    return DrawImage(size, ApplicationMark);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(size)));
    return icon;
}

} // namespace veskar
