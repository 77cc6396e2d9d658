#include "app/fbm_texture_dialog.h"

#include "app/bound_fields.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace korvel {

namespace {

// A group of three edits in a row, X Y Z.
QGroupBox* Triple(const char* title, const char* label, double& x, double& y, double& z,
                  BoundFields& fields, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    const char* axes[] = {"X", "Y", "Z"};
    double* values[] = {&x, &y, &z};
    for (int i = 0; i < 3; ++i) {
        const QString name = QString("%1%2").arg(label, axes[i]);
        grid->addWidget(new QLabel(axes[i], group), 0, i * 2);
        grid->addWidget(fields.Number(QString("%1 %2").arg(label, axes[i]), *values[i],
                                      name.toLatin1().constData(), group),
                        0, i * 2 + 1);
    }
    return group;
}

} // namespace

bool EditFbmTexture(FracParms& params, QWidget* parent) {
    FracParms edited = params;
    BoundFields fields;
    QDialog dialog(parent);
    dialog.setWindowTitle("fBm Latitude Texture");
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    form->addRow("H:", fields.Number("H:", edited.H, "H", &dialog));
    form->addRow("Lacunarity:",
                 fields.Number("Lacunarity:", edited.lacunarity, "lacunarity", &dialog));
    form->addRow("RandSeed:", fields.Whole("RandSeed:", edited.Seed, "Seed", &dialog));
    form->addRow("Octaves:", fields.Number("Octaves:", edited.octaves, "octaves", &dialog));
    form->addRow(fields.Check("Spherical E&valuation", edited.TexSphere, "TexSphere", &dialog));
    layout->addLayout(form);
    layout->addWidget(
        Triple("Position", "Position", edited.xpos, edited.ypos, edited.zpos, fields, &dialog));
    layout->addWidget(
        Triple("Size", "Size", edited.xrange, edited.yrange, edited.zrange, fields, &dialog));
    auto* area = new QGroupBox("Spherical &Area (degrees)", &dialog);
    auto* areaForm = new QFormLayout(area);
    areaForm->addRow("Top", fields.Number("Top", edited.Top, "Top", area));
    areaForm->addRow("Left", fields.Number("Left", edited.Left, "Left", area));
    areaForm->addRow("Right", fields.Number("Right", edited.Right, "Right", area));
    areaForm->addRow("Bottom", fields.Number("Bottom", edited.Bottom, "Bottom", area));
    layout->addWidget(area);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (fields.Store(&dialog))
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    params = edited;
    return true;
}

} // namespace korvel
