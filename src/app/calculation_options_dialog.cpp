#include "app/calculation_options_dialog.h"

#include "app/parameter_dialog.h"
#include "app/qt_settings_store.h"
#include "generate/procedural.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

const char* const TypeTexts[] = {"Recursive Subdivision (plasma)",
                                 "Math Function",
                                 "Fractional Brownian Motion (fBm)",
                                 "Multifractal",
                                 "Hetero Terrain",
                                 "Hybrid Multifractal",
                                 "Ridged Multifractal"};

} // namespace

CalculationOptionsDialog::CalculationOptionsDialog(Workspace& ws, SettingsStore& history,
                                                   QWidget* parent)
    : QDialog(parent), Ws(ws), History(history), Copy(ws.TheSurface.Generation),
      ScaleBefore(ws.MapScale), Stored(ReadExpressionHistory(history)), Type(new QComboBox(this)),
      Expression(new QComboBox(this)) {
    setWindowTitle("Surface Calculation Options");
    Type->setObjectName("Type");
    for (const char* text : TypeTexts)
        Type->addItem(text);
    Type->setCurrentIndex(Copy.Type >= SurfaceTypeFirst && Copy.Type <= SurfaceTypeLast ? Copy.Type
                                                                                        : 0);
    Expression->setObjectName("Func");
    Expression->setEditable(true);
    Expression->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& e : Stored)
        Expression->addItem(QString::fromStdString(e));
    // An expression set elsewhere (a definition file, the command line) is shown even when the
    // history lacks it, so that OK does not swap it for another.
    const int at = Expression->findText(QString::fromStdString(Copy.Func),
                                        Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0)
        Expression->setCurrentIndex(at);
    else
        Expression->setEditText(QString::fromStdString(Copy.Func));

    auto* top = new QFormLayout;
    top->addRow("Type", Type);
    top->addRow("Expression", Expression);

    Procedural = new QGroupBox("Pr&ocedural Parameters", this);
    auto* procedural = new QFormLayout(Procedural);
    procedural->addRow("H:", Fields.Number("H:", Copy.H, "H", Procedural));
    procedural->addRow("Lacunarity:",
                       Fields.Number("Lacunarity:", Copy.lacunarity, "lacunarity", Procedural));
    Octaves = Fields.Number("Octaves:", Copy.octaves, "octaves", Procedural);
    QPushButton* bandLimit = ActionButton("BL", "BL", Procedural);
    connect(bandLimit, &QPushButton::clicked, this, [this] {
        Octaves->setText(NumberText(BandLimitOctaves(Ws.TheSurface.XSize, Ws.TheSurface.YSize)));
    });
    auto* octavesRow = new QHBoxLayout;
    octavesRow->addWidget(Octaves);
    octavesRow->addWidget(bandLimit);
    procedural->addRow("Octaves:", octavesRow);
    procedural->addRow("Offset:", Fields.Number("Offset:", Copy.offset, "offset", Procedural));
    procedural->addRow("fgain:", Fields.Number("fgain:", Copy.fgain, "fgain", Procedural));

    auto* plasma = new QGroupBox("Plas&ma Parameters", this);
    auto* plasmaForm = new QFormLayout(plasma);
    Rf = Fields.Number("rf:", Copy.rf, "rf", plasma);
    Irf = Fields.Number("irf:", Copy.irf, "irf", plasma);
    Seed = Fields.Whole("RandSeed:", Copy.Seed, "Seed", plasma);
    plasmaForm->addRow("rf:", Rf);
    plasmaForm->addRow("irf:", Irf);
    plasmaForm->addRow("RandSeed:", Seed);

    Position = Triple("&Position", "pos", Copy.xpos, Copy.ypos, Copy.zpos);
    Size = Triple("&Size", "range", Copy.xrange, Copy.yrange, Copy.zrange);
    Spherical = Fields.Check("Spherical E&valuation", Copy.TexSphere, "TexSphere", this);
    connect(Spherical, &QCheckBox::toggled, this, &CalculationOptionsDialog::ApplyEnabling);
    connect(Type, &QComboBox::currentIndexChanged, this, &CalculationOptionsDialog::ApplyEnabling);

    Area = new QGroupBox("Spherical &Area (degrees)", this);
    auto* area = new QFormLayout(Area);
    area->addRow("Top", Fields.Number("Area Top", Copy.Top, "Top", Area));
    area->addRow("Left", Fields.Number("Area Left", Copy.Left, "Left", Area));
    area->addRow("Right", Fields.Number("Area Right", Copy.Right, "Right", Area));
    area->addRow("Bottom", Fields.Number("Area Bottom", Copy.Bottom, "Bottom", Area));
    auto* axis = new QGroupBox("Sphere Axis", this);
    auto* axisForm = new QFormLayout(axis);
    axisForm->addRow("Az", Fields.Number("Sphere Axis Az", Copy.Az, "Az", axis));
    axisForm->addRow("El", Fields.Number("Sphere Axis El", Copy.El, "El", axis));

    QPushButton* scaling = ActionButton("Scaling...", "Scaling", this);
    connect(scaling, &QPushButton::clicked, this, [this] {
        ParameterDialog scale("Surface Scaling", DialogRowsOf("scale", nullptr, Ws), this);
        scale.exec();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalculationOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalculationOptionsDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(Procedural);
    left->addWidget(plasma);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(Position);
    right->addWidget(Size);
    right->addWidget(Spherical);
    right->addWidget(Area);
    right->addWidget(axis);
    right->addWidget(scaling);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    ApplyEnabling();
}

QGroupBox* CalculationOptionsDialog::Triple(const char* title, const char* name, double& x,
                                            double& y, double& z) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QString(name) == "pos" ? "Position" : "Size");
    auto* grid = new QGridLayout(group);
    const char* axes[] = {"X", "Y", "Z"};
    double* values[] = {&x, &y, &z};
    for (int i = 0; i < 3; ++i) {
        // Object names as the record's fields: xpos, yrange...
        const QByteArray field = (QString(axes[i]).toLower() + name).toLatin1();
        grid->addWidget(new QLabel(axes[i], group), 0, i * 2);
        grid->addWidget(Fields.Number(QString("%1 %2").arg(group->objectName(), axes[i]),
                                      *values[i], field.constData(), group),
                        0, i * 2 + 1);
    }
    return group;
}

void CalculationOptionsDialog::ApplyEnabling() {
    const int type = Type->currentIndex();
    const bool plasma = type == 0;
    const bool function = type == 1;
    Expression->setEnabled(function);
    Procedural->setEnabled(!plasma);
    Rf->setEnabled(plasma);
    Irf->setEnabled(plasma);
    Seed->setEnabled(!function);
    Position->setEnabled(!plasma);
    Size->setEnabled(!plasma);
    Spherical->setEnabled(!plasma);
    const bool spherical = Spherical->isChecked();
    Area->setEnabled(!plasma && spherical);
    Position->setTitle(spherical ? "S&phere Center" : "&Position");
    Size->setTitle(spherical ? "&Sphere Radii" : "&Size");
}

QStringList CalculationOptionsDialog::Expressions() const {
    QStringList texts;
    for (int i = 0; i < Expression->count(); ++i)
        texts << Expression->itemText(i);
    return texts;
}

void CalculationOptionsDialog::accept() {
    if (!Fields.Store(this))
        return;
    Copy.Type = Type->currentIndex();
    Copy.Func = Expression->currentText().toStdString();
    WriteExpressionHistory(History, Stored, Copy.Func);
    History.Flush();
    QDialog::accept();
}

void CalculationOptionsDialog::reject() {
    Ws.MapScale = ScaleBefore;
    QDialog::reject();
}

bool RunCalculationOptions(Workspace& ws, QWidget* parent) {
    QtSettingsStore history;
    CalculationOptionsDialog dialog(ws, history, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ws.TheSurface.Generation = dialog.Edited();
    return true;
}

} // namespace korvel
