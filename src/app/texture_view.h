#pragma once
// The view of the TextureMap at its zoom ratio, scrolled; only the part in the window is drawn.
// It reports the Surface point under the mouse and carries out the Pan and Zoom tools.

#include "app/position_readout.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <functional>

namespace korvel {

class Image;
class Workspace;

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

    SurfacePoint PointAt(QPoint client) const;
    // Called with the point under the mouse whenever it moves over the view.
    void SetMouseObserver(std::function<void(const SurfacePoint&)> observer) {
        MouseMoved = std::move(observer);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Workspace& Ws;
    int32_t ToolId = 0;
    std::function<void(const SurfacePoint&)> MouseMoved;
    // The Pan tool: the press position and the scroll position then.
    QPoint PanFrom;
    QPoint PanScroll;
    bool Panning = false;
};

} // namespace korvel
