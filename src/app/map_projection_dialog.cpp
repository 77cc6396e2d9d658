#include "app/map_projection_dialog.h"

#include "commands/projection_commands.h"
#include "core/workspace.h"
#include "geo/angles.h"
#include "geo/projected_bmp.h"
#include "geo/projection_view.h"
#include "shading/texture.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

ProjectionPreview::ProjectionPreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(MapProjectionDialog::PreviewWidth, MapProjectionDialog::PreviewHeight);
    setMouseTracking(true);
}

void ProjectionPreview::Show(const Image* picture) {
    Picture = picture;
    update();
}

void ProjectionPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!Picture || Picture->IsEmpty())
        return;
    // The picture's rows are stored from the bottom.
    const QImage image(Picture->Data(), Picture->Width(), Picture->Height(), Picture->Stride(),
                       QImage::Format_BGR888);
    p.drawImage(0, 0, image.mirrored());
}

void ProjectionPreview::mousePressEvent(QMouseEvent* event) {
    Dragging = event->button() == Qt::LeftButton;
    Last = event->position().toPoint();
}

void ProjectionPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (Dragging && at != Last) {
        emit Dragged(at.x() - Last.x(), at.y() - Last.y());
        Last = at;
    }
    emit Hovered(at.x(), at.y());
}

void ProjectionPreview::mouseReleaseEvent(QMouseEvent*) {
    Dragging = false;
}

namespace {

QDoubleSpinBox* AngleBox(double lo, double hi) {
    auto* box = new QDoubleSpinBox;
    box->setRange(lo, hi);
    box->setDecimals(4);
    return box;
}

} // namespace

MapProjectionDialog::MapProjectionDialog(Workspace& ws, QWidget* parent)
    : QDialog(parent), Ws(ws), View(ws.MapProjection) {
    setWindowTitle("Map Projection");
    Area = new ProjectionPreview(this);
    List = new QListWidget(this);
    for (int32_t i = 0; i < ProjectionCount; ++i)
        List->addItem(ProjectionName(i));
    Latitude = AngleBox(-90, 90);
    Longitude = AngleBox(-180, 180);
    Top = AngleBox(-90, 90);
    Bottom = AngleBox(-90, 90);
    Zoom = new QDoubleSpinBox;
    Zoom->setRange(MinimumZoom, 1e6);
    Zoom->setDecimals(5);
    Resolution = new QDoubleSpinBox;
    Resolution->setRange(0, 100);
    Fast = new QCheckBox("&f");
    Status = new QLabel(this);

    auto* form = new QFormLayout;
    form->addRow("Latitude:", Latitude);
    form->addRow("Longitude", Longitude);
    form->addRow("Top:", Top);
    form->addRow("Bottom:", Bottom);
    form->addRow("&Zoom", Zoom);
    form->addRow("Res&olution", Resolution);
    form->addRow(Fast);
    auto* exportBmp = new QPushButton("&Export BMP");
    auto* reproject = new QPushButton("Reproject &Terrain Data");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* side = new QVBoxLayout;
    side->addWidget(List);
    side->addLayout(form);
    side->addWidget(exportBmp);
    side->addWidget(reproject);
    auto* left = new QVBoxLayout;
    left->addWidget(Area);
    left->addWidget(Status);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(side);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(buttons);

    WriteFields();
    connect(List, &QListWidget::currentRowChanged, this, [this] {
        Drawn = false;
        Redraw();
    });
    for (QDoubleSpinBox* box : {Latitude, Longitude, Top, Bottom, Zoom, Resolution})
        connect(box, &QDoubleSpinBox::editingFinished, this, [this] {
            Drawn = false;
            Redraw();
        });
    connect(exportBmp, &QPushButton::clicked, this, &MapProjectionDialog::AskExport);
    connect(reproject, &QPushButton::clicked, this, [this] { ReprojectTerrainData(Ws); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        ReadFields();
        reject();
    });
    connect(Area, &ProjectionPreview::Dragged, this, &MapProjectionDialog::Drag);
    connect(Area, &ProjectionPreview::Hovered, this,
            [this](int x, int y) { Status->setText(ReadOut(x, y)); });
    Preview.Create(PreviewWidth, PreviewHeight, 24);
    Redraw();
}

void MapProjectionDialog::WriteFields() {
    List->setCurrentRow(View.Index);
    Latitude->setValue(View.Latitude);
    Longitude->setValue(View.Longitude);
    Top->setValue(View.Top);
    Bottom->setValue(View.Bottom);
    Zoom->setValue(View.Zoom);
    Resolution->setValue(View.Resolution);
    Fast->setChecked(View.Fast);
}

void MapProjectionDialog::ReadFields() {
    View.Index = List->currentRow();
    View.Latitude = Latitude->value();
    View.Longitude = Longitude->value();
    View.Top = Top->value();
    View.Bottom = Bottom->value();
    View.Zoom = Zoom->value();
    View.Resolution = Resolution->value();
    View.Fast = Fast->isChecked();
}

void MapProjectionDialog::Redraw() {
    ReadFields();
    if (!(View.Fast && Drawn)) {
        std::string reason;
        const int32_t code = RenderProjectionPreview(View, CurrentTexture(Ws), Ws.TheSurface,
                                                     Preview, Ws.TheProgress, reason);
        Status->setText(code == PreviewRefused ? QString::fromStdString(reason) : QString());
        Drawn = code == PreviewDone;
    }
    Area->Show(&Preview);
}

QString MapProjectionDialog::ReadOut(int x, int y) const {
    std::string reason;
    const std::unique_ptr<Projection> projection = ProjectionForView(View, reason);
    if (!projection)
        return {};
    const PlaneFrame frame(PreviewWidth, PreviewHeight, View.Zoom);
    double lat = 0.0;
    double lon = 0.0;
    if (projection->Inverse(frame.X(x), frame.Y(PreviewHeight - 1 - y), lat, lon) !=
        ProjectionInside)
        return {};
    lat *= RadiansToDegrees;
    lon *= RadiansToDegrees;
    const Surface& s = Ws.TheSurface;
    const TextureSampler sampler(s.Texture.AsIs(), s);
    int32_t column = 0;
    int32_t row = 0;
    const double height = sampler.NodeAt(lat, lon, column, row) && s.HasGrid()
                              ? static_cast<double>(s.Rows[row][column])
                              : 0.0;
    return QString::asprintf("%0.4f, %0.4f : %0.2f", lat, lon, height);
}

void MapProjectionDialog::Drag(int dx, int dy) {
    ReadFields();
    // One plane unit is about one radian of the sphere near the centre.
    const double degrees =
        PlaneFrame(PreviewWidth, PreviewHeight, View.Zoom).Scale * RadiansToDegrees;
    SetCenter(View, View.Longitude - dx * degrees, View.Latitude + dy * degrees);
    Latitude->setValue(View.Latitude);
    Longitude->setValue(View.Longitude);
    Drawn = false;
    Redraw();
}

bool MapProjectionDialog::ExportTo(const QString& path) {
    ReadFields();
    View.Path = path.toStdString();
    return RunMapProjectionExport(Ws) == ProjectedBmpDone;
}

void MapProjectionDialog::AskExport() {
    bool ok = false;
    const int width = QInputDialog::getInt(this, "Export BMP", "Width:", View.Width,
                                           MinProjectedSide, MaxProjectedSide, 1, &ok);
    if (!ok)
        return;
    const int height = QInputDialog::getInt(this, "Export BMP", "Height:", View.Height,
                                            MinProjectedSide, MaxProjectedSide, 1, &ok);
    if (!ok)
        return;
    const QString path = QFileDialog::getSaveFileName(this, "Export BMP", QString(),
                                                      "24-bit BMP files (*.bmp);;All Files (*.*)");
    if (path.isEmpty())
        return;
    View.Width = width;
    View.Height = height;
    ExportTo(path.endsWith(".bmp", Qt::CaseInsensitive) ? path : path + ".bmp");
}

void RunMapProjectionDialog(Workspace& ws, QWidget* parent) {
    MapProjectionDialog dialog(ws, parent);
    dialog.exec();
}

} // namespace korvel
