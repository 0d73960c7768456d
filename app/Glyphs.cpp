#include "app/Glyphs.h"

#include <QImage>
#include <QPainter>

namespace {

// Colours of the 16-colour palette the pictures are limited to.
const QColor Black(0x00, 0x00, 0x00);
const QColor Navy(0x00, 0x00, 0x80);
const QColor Gray(0x80, 0x80, 0x80);
const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Blue(0x00, 0x00, 0xFF);
const QColor White(0xFF, 0xFF, 0xFF);

QImage EmptyImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A white sheet with a black border and navy lines of writing; sheet includes the border.
void DrawSheet(QPainter& painter, const QRect& sheet)
{
    painter.fillRect(sheet, Black);
    painter.fillRect(sheet.adjusted(1, 1, -1, -1), White);
    for (int y = sheet.top() + 3; y < sheet.bottom() - 1; y += 2)
        painter.fillRect(sheet.left() + 2, y, sheet.width() - 4, 1, Navy);
}

} // namespace

QPixmap AboutGlyph()
{
    QImage image = EmptyImage(16);
    {
        // Painting without antialiasing keeps every pixel a palette colour.
        QPainter painter(&image);
        painter.setPen(Black);
        painter.setBrush(Blue);
        painter.drawEllipse(1, 1, 13, 13);
        painter.fillRect(7, 3, 2, 2, White);  // the dot
        painter.fillRect(6, 6, 3, 1, White);  // the stem's top serif
        painter.fillRect(7, 7, 2, 4, White);  // the stem
        painter.fillRect(6, 11, 4, 1, White); // the foot
    }
    return QPixmap::fromImage(image);
}

QPixmap CopyGlyph()
{
    QImage image = EmptyImage(18);
    {
        QPainter painter(&image);
        DrawSheet(painter, QRect(1, 1, 10, 12));
        DrawSheet(painter, QRect(7, 5, 10, 12));
    }
    return QPixmap::fromImage(image);
}

QPixmap SaveGlyph()
{
    QImage image = EmptyImage(16);
    {
        QPainter painter(&image);
        painter.fillRect(1, 1, 14, 14, Black);
        painter.fillRect(2, 2, 12, 12, Navy);
        // The label at the top with two written lines.
        painter.fillRect(4, 2, 8, 6, White);
        painter.fillRect(5, 4, 6, 1, Gray);
        painter.fillRect(5, 6, 6, 1, Gray);
        // The metal shutter at the bottom with its window.
        painter.fillRect(4, 10, 8, 4, Silver);
        painter.fillRect(9, 11, 2, 2, Navy);
        // The cut corner.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(14, 1, 1, 1, Qt::transparent);
    }
    return QPixmap::fromImage(image);
}
