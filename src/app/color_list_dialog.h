#pragma once
// "Edit Color List": the entries of one colour list with a live preview of the ramp they make,
// edited on a copy that replaces the list on OK.

#include "core/color_list.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QWidget>

#include <optional>

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace korvel {

class Workspace;

// A packed colour (red in the low byte) as Qt's, and back.
QColor ToQColor(PackedColor c);
PackedColor ToPacked(const QColor& c);

// The ramp of list from t = 0 at the left edge to t = 1 at the right, the same in every row.
QImage ColorListStrip(const ColorList& list, int width, int height);

// The preview beside the entries.
class ColorListPreview : public QWidget {
    Q_OBJECT
public:
    ColorListPreview(const ColorList& list, QWidget* parent);
    QSize sizeHint() const override { return {256, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ColorList& List;
};

class ColorListDialog : public QDialog {
    Q_OBJECT
public:
    ColorListDialog(const ColorList& list, Workspace& ws, QWidget* parent);

    // The edited copy.
    const ColorList& List() const { return Edited; }
    ColorListPreview* Preview() const { return Strip; }
    int SelectedRow() const;
    void SelectRow(int row);

    // What "&Load..." and "&Save..." do once a name is chosen; false after saying why.
    bool LoadFrom(const QString& path);
    bool SaveTo(const QString& path);

public slots:
    // Takes the typed gamma first.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The system colour chooser seeded with the last colour; nothing when cancelled.
    std::optional<PackedColor> ChooseColor(PackedColor seed);
    void Add();
    void InsertBeforeSelected();
    void EditSelected();
    // With Shift, Ctrl or Alt held: every entry, after asking.
    void RemoveSelected(Qt::KeyboardModifiers modifiers);
    void MoveSelected(int step);
    void ApplyTypedGamma();
    void AskTerrainRamp();
    // Refills the entries, selects row and redraws the preview.
    void Changed(int row);

    Workspace& Ws;
    ColorList Edited;
    QTreeWidget* Entries;
    ColorListPreview* Strip;
    QComboBox* Blending;
    QLineEdit* GammaEdit;
};

// Gamma from the typed value g: 1/g, with g below 0.00001 giving 100000 and above 100000
// giving 0.00001.
double ListGammaFromShown(double g);

} // namespace korvel
