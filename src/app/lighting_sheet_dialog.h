#pragma once
// "Lighting Settings": the lighting record of the Surface on eight pages (General, Palette,
// Intensity, Altitude, Latitude, Slope, Facing, Blending), edited on a copy and written back
// by the sheet's OK rules.

#include "app/bound_fields.h"
#include "core/light_parms.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace korvel {

class LightDirectionPicture;
class Workspace;

class LightingSheet : public QDialog {
    Q_OBJECT
public:
    // Opens on page firstPage (0 = General).
    LightingSheet(Workspace& ws, int firstPage, QWidget* parent);

    // The edited copy; after OK, as it was written back.
    const LightParms& Edited() const { return Copy; }
    QTabWidget* Pages() const { return Sheet; }
    LightDirectionPicture* DirectionPicture() const { return Picture; }

public slots:
    // Stores the pages and applies the OK rules; a value that is not a number keeps it open.
    void accept() override;

private:
    QWidget* GeneralPage();
    QWidget* PalettePage();
    QWidget* IntensityPage();
    QWidget* AltitudePage();
    QWidget* LatitudePage();
    QWidget* SlopePage();
    QWidget* FacingPage();
    QWidget* BlendingPage();
    // A "Color List..." button editing list; name is the list's field name.
    QWidget* ColorListButton(ColorList& list, const char* name, QWidget* parent);
    // Rebuilds the palette strip from the page's Colors and Levels, showing them clamped.
    void UpdatePalette();
    // The edits follow the sliders and the sliders the edits; the picture follows both.
    // A typed azimuth or elevation, limited, shown and handed to its slider.
    void DirectionTyped(QLineEdit* edit, QSlider* slider, double (*limit)(double));
    void ShowIceColor();

    Workspace& Ws;
    LightParms Copy;
    // The Intensity page shows 1/Gamma.
    double ShownGammaValue = 0.0;
    BoundFields Fields;
    QTabWidget* Sheet;
    QComboBox* DisplayType = nullptr;
    QComboBox* ColorDepth = nullptr;
    QComboBox* FacingRelate = nullptr;
    QSpinBox* Colors = nullptr;
    QSpinBox* Levels = nullptr;
    QLabel* PaletteStrip = nullptr;
    QLineEdit* GammaEdit = nullptr;
    QString GammaShownText;
    QLineEdit* AzimuthEdit = nullptr;
    QLineEdit* ElevationEdit = nullptr;
    QSlider* AzimuthSlider = nullptr;
    QSlider* ElevationSlider = nullptr;
    LightDirectionPicture* Picture = nullptr;
    QLabel* IceSwatch = nullptr;
};

// The "&Lighting..." dialog: runs the sheet on the page last shown and writes the record back on
// OK. True when accepted.
bool RunLightingSheet(Workspace& ws, QWidget* parent);

} // namespace korvel
