#pragma once
// "Surface Calculation Options": the generation record of the Surface, edited on a copy with the
// fields each surface type uses enabled, the expression history, "BL" and "Scaling...".

#include "app/bound_fields.h"
#include "core/frac_parms.h"
#include "core/workspace.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace korvel {

class SettingsStore;

class CalculationOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // history: where the expressions used before are kept (section "Expressions").
    CalculationOptionsDialog(Workspace& ws, SettingsStore& history, QWidget* parent);

    const FracParms& Edited() const { return Copy; }
    // The expressions offered, most recent first.
    QStringList Expressions() const;

public slots:
    // Stores the fields and the chosen expression at the top of the history.
    void accept() override;
    // Puts back the map-scale settings "Scaling..." changed.
    void reject() override;

private:
    QGroupBox* Triple(const char* title, const char* name, double& x, double& y, double& z);
    void ApplyEnabling();

    Workspace& Ws;
    SettingsStore& History;
    FracParms Copy;
    MapScaleSettings ScaleBefore;
    std::vector<std::string> Stored;
    BoundFields Fields;
    QComboBox* Type;
    QComboBox* Expression;
    QCheckBox* Spherical = nullptr;
    QGroupBox* Procedural = nullptr;
    QLineEdit* Octaves = nullptr;
    QLineEdit* Seed = nullptr;
    QLineEdit* Rf = nullptr;
    QLineEdit* Irf = nullptr;
    QGroupBox* Position = nullptr;
    QGroupBox* Size = nullptr;
    QGroupBox* Area = nullptr;
};

// "Calculate &Height Field..."'s dialog over the user's own expression history; true when
// accepted and written back.
bool RunCalculationOptions(Workspace& ws, QWidget* parent);

} // namespace korvel
