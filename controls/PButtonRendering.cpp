#include "controls/CaptionFont.h"
#include "controls/DrawEdge.h"
#include "controls/PButton.h"
#include "platform/AppError.h"

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
    const QSize device = (QSizeF(size()) * m_ratio).toSize();
    if (m_surface.size() != device) {
        QImage resized(device, clsMemoryDC::displayFormat());
        resized.setDevicePixelRatio(m_ratio);
        resized.fill(palette().color(QPalette::Button));
        QPainter(&resized).drawImage(0, 0, m_surface);
        m_surface = resized;
    }
    if (strip && !strip->isNull()) {
        QPainter painter(&m_surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const int rowHeight = m_lookSize.height();
        painter.drawImage(QPointF(0, 0), *strip,
                          QRectF(0, m_State * rowHeight, m_lookSize.width(), rowHeight));
    }
    update();
}

void PButton::paintEvent(QPaintEvent *)
{
    // The looks are drawn for the screen's density; on another screen they are drawn afresh.
    if (m_Loaded && m_ratio != devicePixelRatioF()) {
        try {
            Redraw();
        } catch (const AppError &) {
        }
    }
    QPainter(this).drawImage(0, 0, m_surface);
}

// Paints all four looks into the state strip. A colour that cannot be translated stops the
// painting where it is met; the control keeps showing what it showed.
void PButton::RenderStates()
{
    if (!m_Loaded)
        return;
    m_ratio = devicePixelRatioF();
    int frameCount = 1;
    renderPicture(frameCount);

    m_ButtonWidth = width();
    m_ButtonHeight = height();
    // Each look takes whole device pixels of the screen it is shown on, so that copying one
    // onto the control is exact however dense the screen.
    m_lookSize = (QSizeF(m_ButtonWidth, m_ButtonHeight) * m_ratio).toSize();
    m_StateStrip->Resize(m_lookSize.width(), 4 * m_lookSize.height());
    const QColor background = TranslateColor(m_BackColor, palette());
    QImage *strip = m_StateStrip->hDC();
    if (strip->isNull())
        return;
    strip->setDevicePixelRatio(m_ratio);
    QPainter painter(strip);
    painter.fillRect(QRectF(QPointF(), QSizeF(strip->size()) / m_ratio), background);
    for (ButtonState row : {Normal, Pressed, Over, Disabled}) {
        painter.save();
        painter.translate(0, row * m_lookSize.height() / m_ratio);
        renderRow(painter, row, frameCount);
        painter.restore();
    }
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
        const QSize device = (QSizeF(m_Picture_W, m_Picture_H) * m_ratio).toSize();
        m_PictureSurface->Create(device.width(), device.height());
        const QColor mask = TranslateColor(m_PictureMaskColor, palette());
        if (QImage *surface = m_PictureSurface->hDC(); !surface->isNull()) {
            surface->setDevicePixelRatio(m_ratio);
            QPainter painter(surface);
            const QRect frame(0, 0, m_Picture_W, m_Picture_H);
            painter.fillRect(frame, mask);
            painter.drawImage(frame, m_Picture->sharpestFor(m_ratio));
        }
        return;
    }
    const int height = m_Picture->image.height();
    frameCount = height >= 4 * m_Picture_H ? 4
        : height >= 3 * m_Picture_H        ? 3
        : height >= 2 * m_Picture_H        ? 2
                                           : 1;
    m_PictureSurface->CreateFromPicture(m_Picture->sharpestFor(m_ratio));
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

    PixelRect box {0, 0, m_ButtonWidth, m_ButtonHeight};
    drawBorder(painter, box.toRect(), border, palette());
    box = box.shrunk(m_Padding);
    const QPoint offset = row == Pressed ? QPoint(m_Offset_X, m_Offset_Y) : QPoint();
    PixelRect text = box;
    if (m_Picture) {
        switch (m_PictureAlign) {
        case PictureLeft:
            box.right = box.left + m_Picture_W + m_Padding;
            text.left = box.right + m_Padding;
            break;
        case PictureRight:
            box.left = box.right - m_Picture_W - m_Padding;
            text.right = box.left - m_Padding;
            break;
        }
        DrawPicture(painter, box, frame, offset);
        if (m_PictureAlign == PictureAlone)
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
// reaches beyond the picture is drawn as far as the picture goes. On a dense screen the frame
// is scaled to the strip's device pixels after the mask colour is left out, so that none of it
// shows at the edges, and placed on whole device pixels, so that it is not blurred.
void PButton::DrawPicture(QPainter &painter, const PixelRect &box, int frame, QPoint offset)
{
    const QImage *surface = m_PictureSurface->hDC();
    if (!surface)
        return;
    const qreal scale = surface->devicePixelRatio();
    const QRect frameRect(0, frame * m_Picture_H, m_Picture_W, m_Picture_H);
    const QRect available = frameRect & QRect(QPoint(), (QSizeF(surface->size()) / scale).toSize());
    if (available.isEmpty())
        return;
    // Whole-number division truncates toward zero, as the layout rules expect.
    const int x = box.left + (box.right - box.left - m_Picture_W) / 2 + offset.x();
    const int y = box.top + (box.bottom - box.top - m_Picture_H) / 2 + offset.y();

    const QRgb mask = TranslateColor(m_PictureMaskColor, palette()).rgb();
    const QRect source(available.topLeft() * scale, available.size() * scale);
    QImage pixels = surface->copy(source).convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < pixels.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(pixels.scanLine(row));
        for (int column = 0; column < pixels.width(); ++column) {
            if (line[column] == mask)
                line[column] = qRgba(0, 0, 0, 0);
        }
    }
    const QPointF at(x + available.x() - frameRect.x(), y + available.y() - frameRect.y());
    const QSize devicePixels = (QSizeF(available.size()) * m_ratio).toSize();
    pixels.setDevicePixelRatio(1);
    if (pixels.size() != devicePixels)
        pixels = pixels.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixels.setDevicePixelRatio(m_ratio);
    painter.drawImage(QPointF((at * m_ratio).toPoint()) / m_ratio, pixels);
}

// One line, vertically centred and aligned by TextAlign, clipped to rect; "&" underlines the
// next character, "&&" shows one "&", and what does not fit ends in an ellipsis.
void PButton::drawCaption(QPainter &painter, PixelRect rect, OleColor color)
{
    QString line = m_Caption;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    const QRect bounds = rect.toRect();
    const Qt::Alignment horizontal = m_TextAlign & TextCentred ? Qt::AlignHCenter
        : m_TextAlign & TextRight                              ? Qt::AlignRight
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
