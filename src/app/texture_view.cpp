#include "app/texture_view.h"

#include "commands/command.h"
#include "core/workspace.h"
#include "edit/selection_tools.h"
#include "shading/texture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

Image& ZoomHolder(Workspace& ws) {
    // The zoom ratio lives with the picture; reading it needs no up-to-date pixels.
    return ws.TheSurface.Texture.AsIs();
}

bool IsSelectionTool(int32_t id) {
    return id == CmdToolRectangularSelection || id == CmdToolLassoSelection ||
           id == CmdToolMagicWand;
}

// Shift adds to the selection, Ctrl takes away from it, neither replaces it.
int32_t OperationFor(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier)
        return SelectionAdd;
    if (modifiers & Qt::ControlModifier)
        return SelectionSubtract;
    return SelectionReplace;
}

} // namespace

QPoint SampleUnder(const SurfacePoint& p) {
    // Row r covers the readout's y in (r - 1, r].
    return {static_cast<int>(std::floor(p.X)), static_cast<int>(std::ceil(p.Y))};
}

QImage WrapPicture(const Image& picture) {
    // The non-const constructor: QImage copies read-only buffers when their metadata changes
    // (as setColorTable does), and the view never writes through it.
    auto* bits = const_cast<uchar*>(picture.Data());
    if (picture.BitsPerPixel() == 8) {
        QImage image(bits, picture.Width(), picture.Height(), picture.Stride(),
                     QImage::Format_Indexed8);
        QList<QRgb> colours(256);
        for (int i = 0; i < 256; ++i) {
            const PackedColor c = picture.Palette[static_cast<size_t>(i)];
            colours[i] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                              static_cast<int>((c >> 16) & 0xFF));
        }
        image.setColorTable(colours);
        return image;
    }
    return QImage(bits, picture.Width(), picture.Height(), picture.Stride(), QImage::Format_BGR888);
}

TextureView::TextureView(Workspace& ws, QWidget* parent) : QAbstractScrollArea(parent), Ws(ws) {
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
}

void TextureView::Refresh() {
    // While an operation (or the shading itself) runs, its progress window lets paints through:
    // the picture is brought up to date after it, not in the middle of it.
    if (Ws.TheProgress.WindowOpen())
        return;
    if (Ws.TheSurface.Texture.Stale())
        UpdateTexture(Ws);
    UpdateScrollRanges();
    viewport()->update();
}

void TextureView::UpdateScrollRanges() {
    const Image& picture = ZoomHolder(Ws);
    const double f = picture.ZoomFactor();
    const int w = static_cast<int>(std::trunc(Ws.TheSurface.XSize * f));
    const int h = static_cast<int>(std::trunc(Ws.TheSurface.YSize * f));
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, w - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, h - page.height()));
    verticalScrollBar()->setPageStep(page.height());
}

void TextureView::SetZoom(int32_t numerator, int32_t denominator) {
    ZoomHolder(Ws).SetZoom(numerator, denominator);
    UpdateScrollRanges();
    viewport()->update();
}

int32_t TextureView::ZoomNumerator() const {
    return Ws.TheSurface.Texture.AsIs().ZoomNumerator();
}

int32_t TextureView::ZoomDenominator() const {
    return Ws.TheSurface.Texture.AsIs().ZoomDenominator();
}

void TextureView::ChooseTool(int32_t id) {
    ToolId = ToolId == id ? 0 : id;
    viewport()->setCursor(ToolId == CmdToolPan                               ? Qt::OpenHandCursor
                          : ToolId == CmdToolZoom || IsSelectionTool(ToolId) ? Qt::CrossCursor
                                                                             : Qt::ArrowCursor);
}

SurfacePoint TextureView::PointAt(QPoint client) const {
    return ClientToSurface(Ws.TheSurface, Ws.TheSurface.Texture.AsIs().ZoomFactor(),
                           horizontalScrollBar()->value(), verticalScrollBar()->value(), client.x(),
                           client.y());
}

void TextureView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    const bool stale = Ws.TheSurface.Texture.Stale();
    // Shading opens the progress window: not from inside a paint. Until then the last picture
    // stands.
    if (stale)
        QTimer::singleShot(0, this, &TextureView::Refresh);
    const Image& picture = stale ? Ws.TheSurface.Texture.AsIs() : CurrentTexture(Ws);
    if (picture.IsEmpty())
        return;
    const double f = picture.ZoomFactor();
    const int w = picture.Width();
    const int h = picture.Height();
    const int sx = horizontalScrollBar()->value();
    const int sy = verticalScrollBar()->value();
    // The visible part in picture columns and rows counted from the top.
    const int x0 = std::clamp(static_cast<int>(std::floor(sx / f)), 0, w);
    const int x1 = std::clamp(static_cast<int>(std::ceil((sx + viewport()->width()) / f)), 0, w);
    const int y0 = std::clamp(static_cast<int>(std::floor(sy / f)), 0, h);
    const int y1 = std::clamp(static_cast<int>(std::ceil((sy + viewport()->height()) / f)), 0, h);
    if (x0 >= x1 || y0 >= y1)
        return;
    const QImage wrapped = WrapPicture(picture);
    painter.translate(-sx, -sy);
    painter.scale(f, f);
    // Buffer row r is picture row h - 1 - r from the top.
    painter.translate(0, h);
    painter.scale(1, -1);
    const QRect part(x0, h - y1, x1 - x0, y1 - y0);
    painter.drawImage(part, wrapped, part);
    DrawSelection(painter, part, h);
    if (Dragging && Outline.size() > 1) {
        painter.resetTransform();
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawPolyline(Outline.data(), static_cast<int>(Outline.size()));
    }
}

void TextureView::DrawSelection(QPainter& painter, const QRect& part, int height) {
    const SelectionMask& mask = Ws.TheSurface.Mask;
    if (!mask.Exists() || !(Ws.TheSurface.Flags & Surface::SurfaceHasSelection))
        return;
    // The mask's rows follow the picture's; it may be wider and taller (rounded up to 4).
    const int w = std::min(mask.Width(), Ws.TheSurface.XSize);
    const int h = std::min(mask.Height(), height);
    QImage tint(const_cast<uchar*>(mask.RowPointer(0, 0)), w, h, mask.Width(),
                QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgba(255, 80, 0, i * 110 / 255);
    tint.setColorTable(colours);
    painter.drawImage(part, tint, part);
}

void TextureView::FinishSelection(QPoint at, Qt::KeyboardModifiers modifiers) {
    Surface& s = Ws.TheSurface;
    const int32_t operation = OperationFor(modifiers);
    const QPoint end = SampleUnder(PointAt(at));
    if (ToolId == CmdToolMagicWand) {
        SelectConnected(s, end.x(), end.y(), Ws.WandTolerance, operation);
    } else if (ToolId == CmdToolRectangularSelection) {
        const QPoint start = SampleUnder(PointAt(DragFrom));
        SelectRectangle(s, start.x(), start.y(), end.x(), end.y(), operation);
    } else {
        std::vector<OutlinePoint> outline;
        for (const QPoint& c : Outline) {
            const SurfacePoint p = PointAt(c);
            // The readout's y of a row's top edge is the row itself; the outline counts from
            // the bottom edge of row 0.
            outline.push_back({p.X, p.Y + 1.0});
        }
        SelectLasso(s, outline, operation);
    }
    viewport()->update();
    if (SelectionChanged)
        SelectionChanged();
}

void TextureView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void TextureView::mousePressEvent(QMouseEvent* event) {
    if (IsSelectionTool(ToolId) && event->button() == Qt::LeftButton) {
        Dragging = true;
        DragFrom = event->position().toPoint();
        Outline = {DragFrom};
        if (ToolId == CmdToolRectangularSelection) {
            if (!Band)
                Band = new QRubberBand(QRubberBand::Rectangle, viewport());
            Band->setGeometry(QRect(DragFrom, QSize()));
            Band->show();
        }
        return;
    }
    if (ToolId == CmdToolPan && event->button() == Qt::LeftButton) {
        Panning = true;
        PanFrom = event->position().toPoint();
        PanScroll = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
}

void TextureView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (Dragging && ToolId == CmdToolRectangularSelection) {
        Band->setGeometry(QRect(DragFrom, at).normalized());
    } else if (Dragging && ToolId == CmdToolLassoSelection) {
        Outline.push_back(at);
        viewport()->update();
    }
    if (Panning) {
        const QPoint moved = at - PanFrom;
        horizontalScrollBar()->setValue(PanScroll.x() - moved.x());
        verticalScrollBar()->setValue(PanScroll.y() - moved.y());
    }
    if (MouseMoved)
        MouseMoved(PointAt(at));
}

void TextureView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (Dragging) {
        Dragging = false;
        if (Band)
            Band->hide();
        Outline.push_back(event->position().toPoint());
        FinishSelection(event->position().toPoint(), event->modifiers());
        Outline.clear();
    } else if (Panning) {
        Panning = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    } else if (ToolId == CmdToolZoom) {
        const Image& picture = ZoomHolder(Ws);
        if (event->modifiers() & Qt::ShiftModifier)
            SetZoom(picture.ZoomNumerator(), 2 * picture.ZoomDenominator());
        else
            SetZoom(2 * picture.ZoomNumerator(), picture.ZoomDenominator());
    }
}

} // namespace korvel
