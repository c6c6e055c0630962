#include "CaptionFont.h"
#include "DrawEdge.h"
#include "PButton.h"

#include <QPainter>

void PButton::InitButton()
{
    m_StateStrip.reset();
    m_PictureSurface.reset();
    m_StateStrip.emplace();
    m_PictureSurface.emplace();
    SetAccessKey();
    if (!Enabled())
        m_State = Disabled;
    m_Ready = true;
    RenderStates();
    ShowState();
}

void PButton::Redraw()
{
    RenderStates();
    ShowState();
}

void PButton::ShowState()
{
    if (!m_Ready)
        return;
    const QImage *strip = m_StateStrip->hDC();
    if (m_surface.size() != size()) {
        QImage resized(size(), clsMemoryDC::displayFormat());
        resized.fill(palette().color(QPalette::Button));
        QPainter(&resized).drawImage(0, 0, m_surface);
        m_surface = resized;
    }
    if (strip && !strip->isNull()) {
        QPainter painter(&m_surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), *strip,
                          QRect(0, m_State * m_ButtonHeight, m_ButtonWidth, m_ButtonHeight));
    }
    update();
}

void PButton::paintEvent(QPaintEvent *)
{
    QPainter(this).drawImage(0, 0, m_surface);
}

// Paints all four looks into the state strip. A colour that cannot be translated stops the
// painting where it is met; the control keeps showing what it showed.
void PButton::RenderStates()
{
    if (!m_Loaded)
        return;
    int frameCount = 1;
    renderPicture(frameCount);

    m_ButtonWidth = width();
    m_ButtonHeight = height();
    m_StateStrip->Resize(m_ButtonWidth, 4 * m_ButtonHeight);
    const QColor background = TranslateColor(m_BackColor, palette());
    QImage *strip = m_StateStrip->hDC();
    if (strip->isNull())
        return;
    QPainter painter(strip);
    painter.fillRect(strip->rect(), background);
    for (ButtonState row : {Normal, Pressed, Over, Disabled})
        renderRow(painter, row, frameCount);
}

// Copies the picture into the picture surface: a bitmap as it is, with its frames stacked
// vertically, an icon drawn at the frame size on the mask colour.
void PButton::renderPicture(int &frameCount)
{
    if (!m_Picture) {
        m_PictureSurface.reset();
        return;
    }
    if (!m_PictureSurface)
        m_PictureSurface.emplace();
    if (m_Picture->type == StdPicture::Type::Icon) {
        frameCount = 1;
        m_PictureSurface->Create(m_Picture_W, m_Picture_H);
        const QColor mask = TranslateColor(m_PictureMaskColor, palette());
        if (QImage *surface = m_PictureSurface->hDC(); !surface->isNull()) {
            QPainter painter(surface);
            const QRect frame(0, 0, m_Picture_W, m_Picture_H);
            painter.fillRect(frame, mask);
            painter.drawImage(frame, m_Picture->image);
        }
        return;
    }
    const int height = m_Picture->image.height();
    frameCount = height >= 4 * m_Picture_H ? 4
        : height >= 3 * m_Picture_H        ? 3
        : height >= 2 * m_Picture_H        ? 2
                                           : 1;
    m_PictureSurface->CreateFromPicture(m_Picture->image);
}

void PButton::renderRow(QPainter &painter, ButtonState row, int frameCount)
{
    const FontRef &font = row == Pressed ? m_Font_Pressed
        : row == Over                    ? m_Font_Over
                                         : m_Font_Normal;
    const qint32 border = row == Pressed ? m_Border_Pressed
        : row == Over                    ? m_Border_Over
                                         : m_Border_Normal;
    const OleColor foreColor = row == Pressed ? m_ForeColor_Pressed
        : row == Over                         ? m_ForeColor_Over
                                              : m_ForeColor_Normal;
    // Translated first, so that a bad colour stops the row before anything is drawn in it.
    TranslateColor(foreColor, palette());
    const int frame = row < frameCount ? row : 0;

    const int top = row * m_ButtonHeight;
    PixelRect box {0, top, m_ButtonWidth, top + m_ButtonHeight};
    drawBorder(painter, box.toRect(), border, palette());
    box = box.shrunk(m_Padding);
    const QPoint offset = row == Pressed ? QPoint(m_Offset_X, m_Offset_Y) : QPoint();
    PixelRect text = box;
    if (m_Picture) {
        switch (m_PictureAlign) {
        case 0:
            box.right = box.left + m_Picture_W + m_Padding;
            text.left = box.right + m_Padding;
            break;
        case 2:
            box.left = box.right - m_Picture_W - m_Padding;
            text.right = box.left - m_Padding;
            break;
        }
        DrawPicture(painter, box, frame, offset);
        if (m_PictureAlign == 1)
            return;
    }

    painter.setFont(font ? captionFont(*font) : QWidget::font());
    text = text.moved(offset);
    if (row == Disabled) {
        // Engraved: a highlight one pixel down and right, the shadow over it.
        drawCaption(painter, text.moved({1, 1}), OleColor::Highlight3D);
        drawCaption(painter, text, OleColor::ButtonShadow);
    } else {
        drawCaption(painter, text, foreColor);
    }
}

// Copies one frame of the picture centred in box, leaving out the mask colour. A frame that
// reaches beyond the picture is drawn as far as the picture goes.
void PButton::DrawPicture(QPainter &painter, const PixelRect &box, int frame, QPoint offset)
{
    const QImage *surface = m_PictureSurface->hDC();
    if (!surface)
        return;
    const QRect frameRect(0, frame * m_Picture_H, m_Picture_W, m_Picture_H);
    const QRect available = frameRect & surface->rect();
    if (available.isEmpty())
        return;
    // Whole-number division truncates toward zero, as the layout rules expect.
    const int x = box.left + (box.right - box.left - m_Picture_W) / 2 + offset.x();
    const int y = box.top + (box.bottom - box.top - m_Picture_H) / 2 + offset.y();

    const QRgb mask = TranslateColor(m_PictureMaskColor, palette()).rgb();
    QImage pixels = surface->copy(available).convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < pixels.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(pixels.scanLine(row));
        for (int column = 0; column < pixels.width(); ++column) {
            if (line[column] == mask)
                line[column] = qRgba(0, 0, 0, 0);
        }
    }
    painter.drawImage(x + available.x() - frameRect.x(), y + available.y() - frameRect.y(), pixels);
}

// One line, vertically centred and aligned by TextAlign, clipped to rect; "&" underlines the
// next character, "&&" shows one "&", and what does not fit ends in an ellipsis.
void PButton::drawCaption(QPainter &painter, PixelRect rect, OleColor color)
{
    QString line = m_Caption;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    const QRect bounds = rect.toRect();
    const Qt::Alignment horizontal = m_TextAlign & 1 ? Qt::AlignHCenter
        : m_TextAlign & 2                            ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    const QString shown = painter.fontMetrics().elidedText(line, Qt::ElideRight, bounds.width(),
                                                           Qt::TextShowMnemonic);
    painter.setPen(TranslateColor(color, palette()));
    painter.save();
    painter.setClipRect(bounds);
    painter.drawText(
        bounds, horizontal | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shown);
    painter.restore();
}
