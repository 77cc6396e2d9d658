#include "app/lighting_sheet_dialog.h"

#include "app/color_list_dialog.h"
#include "app/fbm_texture_dialog.h"
#include "app/light_direction_picture.h"
#include "core/workspace.h"
#include "shading/lighting_sheet.h"
#include "shading/palette.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace korvel {

namespace {

// The page the sheet opens on next.
int LastLightingPage = 0;

// Sliders move in hundredths of a degree.
constexpr double SliderSteps = 100.0;

int SliderValue(double degrees) {
    return static_cast<int>(std::lround(degrees * SliderSteps));
}

} // namespace

LightingSheet::LightingSheet(Workspace& ws, int firstPage, QWidget* parent)
    : QDialog(parent), Ws(ws), Copy(ws.TheSurface.Lighting), ShownGammaValue(ShownGamma(Copy)),
      Sheet(new QTabWidget(this)) {
    setWindowTitle("Lighting Settings");
    // All eight page names in view.
    Sheet->setUsesScrollButtons(false);
    Sheet->addTab(GeneralPage(), "General");
    Sheet->addTab(PalettePage(), "Palette");
    Sheet->addTab(IntensityPage(), "Intensity");
    Sheet->addTab(AltitudePage(), "Altitude");
    Sheet->addTab(LatitudePage(), "Latitude");
    Sheet->addTab(SlopePage(), "Slope");
    Sheet->addTab(FacingPage(), "Facing");
    Sheet->addTab(BlendingPage(), "Blending");
    Sheet->setCurrentIndex(firstPage >= 0 && firstPage < Sheet->count() ? firstPage : 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LightingSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LightingSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Sheet);
    layout->addWidget(buttons);
}

QWidget* LightingSheet::GeneralPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    DisplayType = new QComboBox(page);
    DisplayType->setObjectName("Type");
    DisplayType->addItems({"Lighted", "Height Code"});
    DisplayType->setCurrentIndex(Copy.Type == 1 ? 1 : 0);
    ColorDepth = new QComboBox(page);
    ColorDepth->setObjectName("BitDepth");
    ColorDepth->addItems({"8 bit", "24 bit"});
    ColorDepth->setCurrentIndex(Copy.BitDepth == 24 ? 1 : 0);
    form->addRow("Display Type:", DisplayType);
    form->addRow("Color Depth:", ColorDepth);
    return page;
}

QWidget* LightingSheet::PalettePage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    Colors = new QSpinBox(page);
    Colors->setObjectName("Colors");
    Colors->setRange(2, 234);
    Colors->setValue(Copy.Colors);
    Levels = new QSpinBox(page);
    Levels->setObjectName("Levels");
    Levels->setRange(1, 234);
    Levels->setValue(Copy.Levels);
    form->addRow("Colors:", Colors);
    form->addRow("Levels:", Levels);
    QPushButton* update = ActionButton("&Update Palette", "UpdatePalette", page);
    connect(update, &QPushButton::clicked, this, &LightingSheet::UpdatePalette);
    form->addRow(update);
    PaletteStrip = new QLabel(page);
    PaletteStrip->setObjectName("PaletteStrip");
    form->addRow(PaletteStrip);
    UpdatePalette();
    return page;
}

void LightingSheet::UpdatePalette() {
    LightParms trial = Copy;
    trial.Colors = Colors->value();
    trial.Levels = Levels->value();
    const Surface& s = Ws.TheSurface;
    const PaletteLayout palette = BuildPalette(trial, s.Min, s.Max);
    Colors->setValue(trial.Colors);
    Levels->setValue(trial.Levels);
    // The 256 entries left to right, two pixels each.
    QImage strip(512, 16, QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x) {
        const PackedColor c = palette.Entries[static_cast<size_t>(x / 2)];
        for (int y = 0; y < strip.height(); ++y)
            strip.setPixel(x, y, ToQColor(c).rgb());
    }
    PaletteStrip->setPixmap(QPixmap::fromImage(strip));
}

QWidget* LightingSheet::IntensityPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    form->addRow(Fields.Check("Unit Lighting", Copy.Unit, "Unit", page));
    form->addRow("Vertical Exaggeration:",
                 Fields.Number("Vertical Exaggeration:", Copy.VertExag, "VertExag", page));
    form->addRow("Corner:", Fields.Number("Corner:", Copy.Corner, "Corner", page));
    form->addRow("Ambient:", Fields.Number("Ambient:", Copy.Ambient, "Ambient", page));
    GammaEdit = Fields.Number("Gamma:", ShownGammaValue, "Gamma", page);
    // Gamma is stored with six decimals, so its reciprocal is shown to six digits: 1.5, not
    // 1.49999925.
    GammaEdit->setText(QString::number(ShownGammaValue, 'g', 6));
    GammaShownText = GammaEdit->text();
    form->addRow("Gamma:", GammaEdit);
    layout->addLayout(form);

    auto* direction = new QGroupBox("Light Direction", page);
    auto* grid = new QGridLayout(direction);
    AzimuthEdit = Fields.Number("Azimuth", Copy.Az, "Az", direction);
    ElevationEdit = Fields.Number("Elevation", Copy.El, "El", direction);
    AzimuthSlider = new QSlider(Qt::Horizontal, direction);
    AzimuthSlider->setObjectName("AzSlider");
    AzimuthSlider->setRange(0, SliderValue(359.99));
    AzimuthSlider->setValue(SliderValue(LimitAzimuth(Copy.Az)));
    ElevationSlider = new QSlider(Qt::Horizontal, direction);
    ElevationSlider->setObjectName("ElSlider");
    ElevationSlider->setRange(SliderValue(-90.0), SliderValue(90.0));
    ElevationSlider->setValue(SliderValue(LimitElevation(Copy.El)));
    Picture = new LightDirectionPicture(direction);
    Picture->SetDirection(LimitAzimuth(Copy.Az), LimitElevation(Copy.El));
    grid->addWidget(new QLabel("Azimuth:", direction), 0, 0);
    grid->addWidget(AzimuthSlider, 0, 1);
    grid->addWidget(AzimuthEdit, 0, 2);
    grid->addWidget(new QLabel("Elevation:", direction), 1, 0);
    grid->addWidget(ElevationSlider, 1, 1);
    grid->addWidget(ElevationEdit, 1, 2);
    grid->addWidget(Picture, 0, 3, 2, 1);
    layout->addWidget(direction);
    layout->addStretch();

    connect(AzimuthSlider, &QSlider::valueChanged, this, [this](int v) {
        AzimuthEdit->setText(NumberText(v / SliderSteps));
        Picture->SetDirection(v / SliderSteps, ElevationSlider->value() / SliderSteps);
    });
    connect(ElevationSlider, &QSlider::valueChanged, this, [this](int v) {
        ElevationEdit->setText(NumberText(v / SliderSteps));
        Picture->SetDirection(AzimuthSlider->value() / SliderSteps, v / SliderSteps);
    });
    connect(AzimuthEdit, &QLineEdit::editingFinished, this,
            [this] { DirectionTyped(AzimuthEdit, AzimuthSlider, LimitAzimuth); });
    connect(ElevationEdit, &QLineEdit::editingFinished, this,
            [this] { DirectionTyped(ElevationEdit, ElevationSlider, LimitElevation); });
    return page;
}

void LightingSheet::DirectionTyped(QLineEdit* edit, QSlider* slider, double (*limit)(double)) {
    bool number = false;
    const double typed = edit->text().trimmed().toDouble(&number);
    if (!number)
        return;
    const double limited = limit(typed);
    edit->setText(NumberText(limited));
    {
        const QSignalBlocker quiet(slider);
        slider->setValue(SliderValue(limited));
    }
    Picture->SetDirection(AzimuthSlider->value() / SliderSteps,
                          ElevationSlider->value() / SliderSteps);
}

QWidget* LightingSheet::ColorListButton(ColorList& list, const char* name, QWidget* parent) {
    QPushButton* button = ActionButton("Color List...", name, parent);
    connect(button, &QPushButton::clicked, this, [this, &list] {
        ColorListDialog editor(list, Ws, this);
        if (editor.exec() == QDialog::Accepted)
            list = editor.List();
    });
    return button;
}

QWidget* LightingSheet::AltitudePage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* land = new QGroupBox("Land", page);
    auto* landForm = new QFormLayout(land);
    landForm->addRow(Fields.Check("Absolute Coloring", Copy.AbsColor, "AbsColor", land));
    landForm->addRow("Max:", Fields.Number("Max:", Copy.AbsMax, "AbsMax", land));
    landForm->addRow("Min:", Fields.Number("Min:", Copy.AbsMin, "AbsMin", land));
    landForm->addRow(ColorListButton(Copy.AltColor, "AltColor", land));
    landForm->addRow("Opacity:",
                     Fields.Number("Land Opacity:", Copy.LandOpacity, "LandOpacity", land));
    auto* sea = new QGroupBox("Sea", page);
    auto* seaForm = new QFormLayout(sea);
    seaForm->addRow("Sea Level:", Fields.Number("Sea Level:", Copy.SeaLevel, "SeaLevel", sea));
    seaForm->addRow(Fields.Check("Equal", Copy.SeaEqual, "SeaEqual", sea));
    seaForm->addRow(Fields.Check("Floating", Copy.SeaFloat, "SeaFloat", sea));
    seaForm->addRow("Abs Min:", Fields.Number("Abs Min:", Copy.SeaLowest, "SeaLowest", sea));
    auto* lightness = new QGroupBox("Lightness", sea);
    auto* lightnessForm = new QFormLayout(lightness);
    lightnessForm->addRow("Max:",
                          Fields.Number("Lightness Max:", Copy.SeaSatMax, "SeaSatMax", lightness));
    lightnessForm->addRow("Min:",
                          Fields.Number("Lightness Min:", Copy.SeaSatMin, "SeaSatMin", lightness));
    seaForm->addRow(lightness);
    seaForm->addRow(ColorListButton(Copy.SeaColor, "SeaColor", sea));
    seaForm->addRow("Opacity:", Fields.Number("Sea Opacity:", Copy.SeaOpacity, "SeaOpacity", sea));
    layout->addWidget(land);
    layout->addWidget(sea);
    return page;
}

QWidget* LightingSheet::LatitudePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* adjustment = new QGroupBox("Latitude Adjustment", page);
    (new QVBoxLayout(adjustment))
        ->addWidget(ColorListButton(Copy.LatColor, "LatColor", adjustment));
    auto* fbm = new QGroupBox("fBm Texture", page);
    auto* fbmForm = new QFormLayout(fbm);
    fbmForm->addRow("Strength:", Fields.Number("Strength:", Copy.FbmStrength, "FbmStrength", fbm));
    QPushButton* setup = ActionButton("Setup...", "FbmSetup", fbm);
    connect(setup, &QPushButton::clicked, this, [this] { EditFbmTexture(Copy.FbmParms, this); });
    fbmForm->addRow(setup);
    auto* ice = new QGroupBox("Ice Caps", page);
    auto* iceForm = new QFormLayout(ice);
    iceForm->addRow("North:", Fields.Number("North:", Copy.IceNorth, "IceNorth", ice));
    iceForm->addRow("South:", Fields.Number("South:", Copy.IceSouth, "IceSouth", ice));
    iceForm->addRow("Opacity:", Fields.Number("Ice Opacity:", Copy.IceOpacity, "IceOpacity", ice));
    QPushButton* color = ActionButton("Color...", "IceColor", ice);
    IceSwatch = new QLabel(ice);
    IceSwatch->setObjectName("IceSwatch");
    IceSwatch->setFixedSize(32, 16);
    connect(color, &QPushButton::clicked, this, [this] {
        QColorDialog chooser(ToQColor(static_cast<PackedColor>(Copy.IceColor)), this);
        chooser.setOption(QColorDialog::DontUseNativeDialog);
        if (chooser.exec() != QDialog::Accepted)
            return;
        Copy.IceColor = static_cast<int32_t>(ToPacked(chooser.selectedColor()));
        ShowIceColor();
    });
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(color);
    colorRow->addWidget(IceSwatch);
    iceForm->addRow(colorRow);
    ShowIceColor();
    layout->addWidget(adjustment);
    layout->addWidget(fbm);
    layout->addWidget(ice);
    layout->addStretch();
    return page;
}

void LightingSheet::ShowIceColor() {
    QPixmap swatch(IceSwatch->size());
    swatch.fill(ToQColor(static_cast<PackedColor>(Copy.IceColor)));
    IceSwatch->setPixmap(swatch);
}

QWidget* LightingSheet::SlopePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ColorListButton(Copy.SlopeColor, "SlopeColor", page));
    layout->addStretch();
    return page;
}

QWidget* LightingSheet::FacingPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* north = new QGroupBox("Northern Hemisphere", page);
    (new QVBoxLayout(north))->addWidget(ColorListButton(Copy.NorthColor, "NorthColor", north));
    auto* south = new QGroupBox("Southern Hemisphere", page);
    auto* southLayout = new QVBoxLayout(south);
    FacingRelate = new QComboBox(south);
    FacingRelate->setObjectName("FacingRelate");
    FacingRelate->addItems({"Same As North", "Opposite North", "Independent"});
    FacingRelate->setCurrentIndex(
        Copy.FacingRelate >= 0 && Copy.FacingRelate <= 2 ? Copy.FacingRelate : 0);
    southLayout->addWidget(FacingRelate);
    southLayout->addWidget(ColorListButton(Copy.SouthColor, "SouthColor", south));
    layout->addWidget(north);
    layout->addWidget(south);
    layout->addStretch();
    return page;
}

QWidget* LightingSheet::BlendingPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    struct Blend {
        const char* Text;
        int32_t& On;
        double& Weight;
        const char* OnName;
        const char* WeightName;
    };
    const Blend blends[] = {
        {"Latitude", Copy.BlendLat, Copy.BlendLatVal, "BlendLat", "BlendLatVal"},
        {"Altitude", Copy.BlendAlt, Copy.BlendAltVal, "BlendAlt", "BlendAltVal"},
        {"Slope", Copy.BlendSlope, Copy.BlendSlopeVal, "BlendSlope", "BlendSlopeVal"},
        {"Facing", Copy.BlendFacing, Copy.BlendFacingVal, "BlendFacing", "BlendFacingVal"},
    };
    int row = 0;
    for (const Blend& b : blends) {
        grid->addWidget(Fields.Check(b.Text, b.On, b.OnName, page), row, 0);
        grid->addWidget(
            Fields.Number(QString("%1 weight").arg(b.Text), b.Weight, b.WeightName, page), row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    return page;
}

void LightingSheet::accept() {
    if (!Fields.Store(this))
        return;
    // Untouched, the shown value stands for the exact one.
    if (GammaEdit->text() == GammaShownText)
        ShownGammaValue = ShownGamma(Ws.TheSurface.Lighting);
    Copy.Type = DisplayType->currentIndex();
    Copy.BitDepth = ColorDepth->currentIndex() == 1 ? 24 : 8;
    Copy.Colors = Colors->value();
    Copy.Levels = Levels->value();
    Copy.FacingRelate = FacingRelate->currentIndex();
    Copy.Az = LimitAzimuth(Copy.Az);
    Copy.El = LimitElevation(Copy.El);
    ApplyLightingSheet(Copy, ShownGammaValue, Ws.TheSurface.Min);
    QDialog::accept();
}

bool RunLightingSheet(Workspace& ws, QWidget* parent) {
    LightingSheet sheet(ws, LastLightingPage, parent);
    const bool accepted = sheet.exec() == QDialog::Accepted;
    LastLightingPage = sheet.Pages()->currentIndex();
    if (accepted)
        ws.TheSurface.Lighting = sheet.Edited();
    return accepted;
}

} // namespace korvel
