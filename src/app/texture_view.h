#pragma once
// The view of the TextureMap at its zoom ratio, scrolled; only the part in the window is drawn.
// It reports the Surface point under the mouse and carries out the Pan and Zoom tools.

#include "app/grid_overlay_layer.h"
#include "app/position_readout.h"
#include "app/view_painting.h"
#include "core/image.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPainter>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QRubberBand;

namespace korvel {

class Workspace;

// An 8-bit picture's palette as Qt's colour table.
QList<QRgb> ColourTable(const std::array<PackedColor, 256>& palette);

// The picture's pixels as a QImage without copying them; its rows are upside down (the
// picture's row 0 is the bottom line).
QImage WrapPicture(const Image& picture);

class TextureView : public QAbstractScrollArea {
    Q_OBJECT

public:
    TextureView(Workspace& ws, QWidget* parent);

    // Brings a stale picture up to date (with the progress window) and repaints.
    void Refresh();
    // The scroll range of the picture at its zoom ratio.
    void UpdateScrollRanges();
    void SetZoom(int32_t numerator, int32_t denominator);
    int32_t ZoomNumerator() const;
    int32_t ZoomDenominator() const;

    // The current tool's command id, 0 for none; choosing the current one again selects none.
    void ChooseTool(int32_t id);
    int32_t Tool() const { return ToolId; }

    // The pen's pressure for the tools, 0..255; -1 with a mouse or with "UseTablet" off.
    int32_t Pressure() const { return PenPressure; }
    // The cursor of the current tool, in its precise (cross-hair) form when "PreciseCursor" is
    // on; called again after the Options change.
    void UpdateCursor();

    SurfacePoint PointAt(QPoint client) const;
    // Called with the point under the mouse whenever it moves over the view.
    void SetMouseObserver(std::function<void(const SurfacePoint&)> observer) {
        MouseMoved = std::move(observer);
    }
    // After a paint command: the paint or clone tool the command chose is the view's tool (shown
    // by id), or none when the command switched its preset off.
    void FollowPaintTool(int32_t id);
    // Called with the korvel-cli words of each stroke and clone source.
    void SetStrokeObserver(std::function<void(std::vector<std::string>)> observer) {
        Painting.Recorded = std::move(observer);
    }
    // Called after a selection tool changed the mask.
    void SetSelectionObserver(std::function<void()> observer) {
        SelectionChanged = std::move(observer);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // A mouse (not a pen through Qt's synthesised mouse events) has no pressure.
    void NotePointer(const QMouseEvent& event);
    void DrawSelection(QPainter& painter, const QRect& part, int height);
    // Carries out the selection tool's drag or click ending at client point at.
    void FinishSelection(QPoint at, Qt::KeyboardModifiers modifiers);

    bool PaintToolChosen() const;
    void SetShift(bool held);
    // Repaints the view over samples the paint tools changed.
    void RedrawSamples(const SampleRect& samples);
    Workspace& Ws;
    ViewPainting Painting{Ws};
    GridOverlayLayer Grids;
    int32_t ToolId = 0;
    int32_t PenPressure = -1;
    // The Zoom tool shows its zoom-out form while Shift is held.
    bool ShiftHeld = false;
    std::function<void(const SurfacePoint&)> MouseMoved;
    // The Pan tool: the press position and the scroll position then.
    QPoint PanFrom;
    QPoint PanScroll;
    bool Panning = false;
    // The selection tools: where the drag started, the lasso's outline so far.
    QPoint DragFrom;
    std::vector<QPoint> Outline;
    QRubberBand* Band = nullptr;
    bool Dragging = false;
    std::function<void()> SelectionChanged;
};

// A pen's pressure (0..1 from Qt) as the tools take it: 0..255.
int32_t PressureFromPen(double pressure);

// The sample under a point of the view: the column and the row (counted up from the bottom).
QPoint SampleUnder(const SurfacePoint& p);

} // namespace korvel
