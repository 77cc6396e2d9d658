#include "app/altitude_key_window.h"

#include "app/texture_view.h"
#include "core/workspace.h"
#include "shading/altitude_key.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korvel {

namespace {

constexpr int BandWidth = 8;

} // namespace

AltitudeKeyWindow::AltitudeKeyWindow(const Workspace& ws, QWidget* parent)
    : QDialog(parent), Ws(ws), Band(new QLabel(this)), Labels(new QLabel(this)) {
    setWindowTitle("Altitude Key");
    setModal(false);
    Band->setObjectName("band");
    Band->setScaledContents(true);
    Band->setMinimumSize(24, 240);
    Band->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    Labels->setObjectName("labels");
    Labels->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* close = new QPushButton("&Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* key = new QHBoxLayout;
    key->addWidget(Band);
    key->addWidget(Labels, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(key, 1);
    layout->addWidget(close, 0, Qt::AlignHCenter);
}

void AltitudeKeyWindow::Repaint() {
    const Surface& s = Ws.TheSurface;
    // BuildPalette clamps the lighting it is given; the display palette leaves the Surface's as
    // it is.
    LightParms lp = s.Lighting;
    const PaletteLayout layout = BuildPalette(lp, s.Min, s.Max);
    const int rows = std::max(1, Band->height());
    const AltitudeKey key = BuildAltitudeKey(lp, layout, s.Min, s.Max, rows);
    QImage band(BandWidth, rows, QImage::Format_Indexed8);
    band.setColorTable(ColourTable(layout.Entries));
    for (int y = 0; y < rows; ++y)
        std::fill_n(band.scanLine(y), BandWidth,
                    static_cast<uchar>(key.Band[static_cast<size_t>(y)]));
    Band->setPixmap(QPixmap::fromImage(band));
    Labels->setText(QString::fromStdString(key.Labels));
}

void AltitudeKeyWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible())
        Repaint();
}

} // namespace korvel
