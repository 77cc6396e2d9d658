#pragma once
// "Map Projection": the TextureMap re-drawn in the chosen projection, in a preview the user pans
// by dragging (which moves the centre) and reads the latitude, longitude and height under the
// mouse; "&Export BMP" writes the view as a picture file.

#include "core/image.h"
#include "core/projection_fields.h"

#include <QDialog>
#include <QWidget>

#include <string>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace korvel {

class Workspace;

class ProjectionPreview : public QWidget {
    Q_OBJECT
public:
    explicit ProjectionPreview(QWidget* parent = nullptr);
    void Show(const Image* picture);

signals:
    void Dragged(int dx, int dy);
    void Hovered(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Image* Picture = nullptr;
    bool Dragging = false;
    QPoint Last;
};

class MapProjectionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PreviewWidth = 320;
    static constexpr int PreviewHeight = 240;

    MapProjectionDialog(Workspace& ws, QWidget* parent = nullptr);

    // The preview drawn again from the fields (or only repainted when "&f" is on and nothing
    // changed).
    void Redraw();
    // The status read-out for the preview pixel (x from the left, y from the top).
    QString ReadOut(int x, int y) const;
    // Moves the centre as a drag of dx, dy preview pixels does.
    void Drag(int dx, int dy);
    // Writes the view at the fields' export size; false (after saying why) on failure.
    bool ExportTo(const QString& path);

    const Image& Picture() const { return Preview; }
    QListWidget* Projections() const { return List; }

private:
    void ReadFields();
    void WriteFields();
    void AskExport();

    Workspace& Ws;
    MapProjectionFields& View;
    Image Preview;
    bool Drawn = false;
    ProjectionPreview* Area;
    QListWidget* List;
    QDoubleSpinBox* Latitude;
    QDoubleSpinBox* Longitude;
    QDoubleSpinBox* Top;
    QDoubleSpinBox* Bottom;
    QDoubleSpinBox* Zoom;
    QDoubleSpinBox* Resolution;
    QCheckBox* Fast;
    QLabel* Status;
};

// Shows the dialog modally; the fields stay in the workspace for the next time.
void RunMapProjectionDialog(Workspace& ws, QWidget* parent);

} // namespace korvel
