#include "app/texture_view.h"

#include "commands/command.h"
#include "core/workspace.h"
#include "edit/selection_tools.h"
#include "shading/texture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRubberBand>
#include <QScrollBar>
#include <QTabletEvent>
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

// A magnifying glass with a plus, or with a minus for zooming out; the hot spot is the lens's
// centre.
QCursor ZoomCursor(bool out) {
    QPixmap glass(32, 32);
    glass.fill(Qt::transparent);
    QPainter p(&glass);
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& [colour, width] : {std::pair{Qt::white, 4}, std::pair{Qt::black, 2}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(QPointF(12, 12), 8, 8);
        p.drawLine(QPointF(18, 18), QPointF(28, 28));
        p.drawLine(QPointF(8, 12), QPointF(16, 12));
        if (!out)
            p.drawLine(QPointF(12, 8), QPointF(12, 16));
    }
    p.end();
    return QCursor(glass, 12, 12);
}

} // namespace

int32_t PressureFromPen(double pressure) {
    return static_cast<int32_t>(std::lround(std::clamp(pressure, 0.0, 1.0) * 255.0));
}

QPoint SampleUnder(const SurfacePoint& p) {
    // Row r covers the readout's y in (r - 1, r].
    return {static_cast<int>(std::floor(p.X)), static_cast<int>(std::ceil(p.Y))};
}

QList<QRgb> ColourTable(const std::array<PackedColor, 256>& palette) {
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        const PackedColor c = palette[static_cast<size_t>(i)];
        colours[i] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>((c >> 16) & 0xFF));
    }
    return colours;
}

QImage WrapPicture(const Image& picture) {
    // The non-const constructor: QImage copies read-only buffers when their metadata changes
    // (as setColorTable does), and the view never writes through it.
    auto* bits = const_cast<uchar*>(picture.Data());
    if (picture.BitsPerPixel() == 8) {
        QImage image(bits, picture.Width(), picture.Height(), picture.Stride(),
                     QImage::Format_Indexed8);
        image.setColorTable(ColourTable(picture.Palette));
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
    if (ViewPainting::IsPaintCommand(ToolId))
        Painting.Leave();
    ToolId = ToolId == id ? 0 : id;
    UpdateCursor();
}

void TextureView::FollowPaintTool(int32_t id) {
    ToolId = Painting.Current() ? id : 0;
    UpdateCursor();
}

bool TextureView::PaintToolChosen() const {
    return ViewPainting::IsPaintCommand(ToolId) && Painting.Current();
}

void TextureView::SetShift(bool held) {
    ShiftHeld = held;
    if (PaintToolChosen())
        Painting.Shift(held);
    UpdateCursor();
}

void TextureView::RedrawSamples(const SampleRect& samples) {
    // A stroke that widened the height range made the whole picture stale.
    if (Ws.TheSurface.Texture.Stale()) {
        viewport()->update();
        return;
    }
    if (samples.Empty())
        return;
    const double f = ZoomHolder(Ws).ZoomFactor();
    const int h = Ws.TheSurface.YSize;
    const int sx = horizontalScrollBar()->value();
    const int sy = verticalScrollBar()->value();
    // Picture rows count from the top in the view.
    const QRect area(static_cast<int>(std::floor(samples.X0 * f)) - sx,
                     static_cast<int>(std::floor((h - 1 - samples.Y1) * f)) - sy,
                     static_cast<int>(std::ceil((samples.X1 - samples.X0 + 1) * f)),
                     static_cast<int>(std::ceil((samples.Y1 - samples.Y0 + 1) * f)));
    viewport()->update(area.adjusted(-1, -1, 1, 1));
}

void TextureView::UpdateCursor() {
    if (Ws.General.PreciseCursor)
        viewport()->setCursor(Qt::CrossCursor);
    else if (ToolId == CmdToolPan)
        viewport()->setCursor(Panning ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else if (ToolId == CmdToolZoom)
        viewport()->setCursor(ZoomCursor(ShiftHeld));
    else if (PaintToolChosen())
        viewport()->setCursor(Painting.Cursor(ZoomHolder(Ws).ZoomFactor()));
    else
        viewport()->setCursor(IsSelectionTool(ToolId) ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TextureView::NotePointer(const QMouseEvent& event) {
    // Qt marks the mouse events it makes of a pen's (and a touch's) as its own.
    if (event.source() != Qt::MouseEventSynthesizedByQt || !Ws.General.UseTablet)
        PenPressure = -1;
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    if (shift != ShiftHeld)
        SetShift(shift);
}

bool TextureView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        PenPressure = Ws.General.UseTablet
                          ? PressureFromPen(static_cast<QTabletEvent*>(event)->pressure())
                          : -1;
        // Left unaccepted, so that Qt sends the mouse events the tools act on.
        event->ignore();
        return false;
    default:
        return QAbstractScrollArea::viewportEvent(event);
    }
}

void TextureView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift && !ShiftHeld)
        SetShift(true);
    QAbstractScrollArea::keyPressEvent(event);
}

void TextureView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift && ShiftHeld)
        SetShift(false);
    QAbstractScrollArea::keyReleaseEvent(event);
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
    if (const QImage& grids = Grids.For(Ws, w, h); !grids.isNull())
        painter.drawImage(part, grids, part);
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
    NotePointer(*event);
    if (PaintToolChosen() && event->button() == Qt::LeftButton) {
        RedrawSamples(
            Painting.Press(SampleUnder(PointAt(event->position().toPoint())), PenPressure));
        UpdateCursor();
        return;
    }
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
        UpdateCursor();
    }
}

void TextureView::mouseMoveEvent(QMouseEvent* event) {
    NotePointer(*event);
    const QPoint at = event->position().toPoint();
    if (Painting.Stroking())
        RedrawSamples(Painting.Move(SampleUnder(PointAt(at)), PenPressure));
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
    NotePointer(*event);
    if (event->button() != Qt::LeftButton)
        return;
    if (PaintToolChosen()) {
        RedrawSamples(
            Painting.Release(SampleUnder(PointAt(event->position().toPoint())), PenPressure));
        return;
    }
    if (Dragging) {
        Dragging = false;
        if (Band)
            Band->hide();
        Outline.push_back(event->position().toPoint());
        FinishSelection(event->position().toPoint(), event->modifiers());
        Outline.clear();
    } else if (Panning) {
        Panning = false;
        UpdateCursor();
    } else if (ToolId == CmdToolZoom) {
        const Image& picture = ZoomHolder(Ws);
        if (event->modifiers() & Qt::ShiftModifier)
            SetZoom(picture.ZoomNumerator(), 2 * picture.ZoomDenominator());
        else
            SetZoom(2 * picture.ZoomNumerator(), picture.ZoomDenominator());
    }
}

} // namespace korvel
