#include "app/color_list_dialog.h"

#include "shading/color_list_file.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace korvel {

namespace {

// "Enter Terrain Default Color List Parameters", remembered while the program runs.
struct TerrainRampRequest {
    int Entries = 32;
    double Start = 0.0;
    double End = 1.0;
};
TerrainRampRequest LastTerrainRamp;

bool AskTerrainRampParameters(TerrainRampRequest& request, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Enter Terrain Default Color List Parameters");
    auto* form = new QFormLayout(&dialog);
    auto* entries = new QSpinBox(&dialog);
    entries->setObjectName("entries");
    entries->setRange(1, 4096);
    entries->setValue(request.Entries);
    const auto makeT = [&dialog](const char* name, double value) {
        auto* edit = new QDoubleSpinBox(&dialog);
        edit->setObjectName(name);
        edit->setRange(0.0, 1.0);
        edit->setDecimals(4);
        edit->setSingleStep(0.05);
        edit->setValue(value);
        return edit;
    };
    QDoubleSpinBox* start = makeT("start", request.Start);
    QDoubleSpinBox* end = makeT("end", request.End);
    form->addRow("Entries:", entries);
    form->addRow("Start:", start);
    form->addRow("End:", end);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request = {entries->value(), start->value(), end->value()};
    return true;
}

} // namespace

QColor ToQColor(PackedColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

PackedColor ToPacked(const QColor& c) {
    return PackColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                     static_cast<uint8_t>(c.blue()));
}

double ListGammaFromShown(double g) {
    // NaN falls to the first case, as a value below the limit.
    if (!(g >= ColorList::GammaLow))
        return ColorList::GammaHigh;
    if (g > ColorList::GammaHigh)
        return ColorList::GammaLow;
    return 1.0 / g;
}

QImage ColorListStrip(const ColorList& list, int width, int height) {
    QImage strip(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x) {
        const float t = strip.width() == 1
                            ? 0.0f
                            : static_cast<float>(x) / static_cast<float>(strip.width() - 1);
        const QRgb rgb = ToQColor(list.ColorAt(t)).rgb();
        for (int y = 0; y < strip.height(); ++y)
            strip.setPixel(x, y, rgb);
    }
    return strip;
}

ColorListPreview::ColorListPreview(const ColorList& list, QWidget* parent)
    : QWidget(parent), List(list) {
    setMinimumSize(128, 24);
}

void ColorListPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), ColorListStrip(List, width(), height()));
}

ColorListDialog::ColorListDialog(const ColorList& list, Workspace& ws, QWidget* parent)
    : QDialog(parent), Ws(ws), Edited(list), Entries(new QTreeWidget(this)),
      Strip(new ColorListPreview(Edited, this)), Blending(new QComboBox(this)),
      GammaEdit(new QLineEdit(this)) {
    setWindowTitle("Edit Color List");
    Entries->setObjectName("entries");
    Entries->setRootIsDecorated(false);
    Entries->setHeaderLabels({"Red", "Green", "Blue", "Value"});
    for (int column = 0; column < 3; ++column)
        Entries->setColumnWidth(column, 50);
    Entries->setColumnWidth(3, 75);
    Entries->setMinimumWidth(240);
    Strip->setObjectName("preview");

    Blending->setObjectName("blending");
    Blending->addItems({"None", "Linear", "Cubic"});
    // Mode 3 blends as 2.
    Blending->setCurrentIndex(std::min(Edited.Mode, 2));
    connect(Blending, &QComboBox::currentIndexChanged, this, [this](int mode) {
        Edited.Mode = mode;
        Changed(SelectedRow());
    });
    GammaEdit->setObjectName("gamma");
    GammaEdit->setText(QString::asprintf("%f", 1.0 / Edited.Gamma));
    connect(GammaEdit, &QLineEdit::editingFinished, this, &ColorListDialog::ApplyTypedGamma);

    auto* side = new QVBoxLayout;
    const auto button = [this, side](const char* text, const char* name, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        side->addWidget(b);
        return b;
    };
    button("&Add...", "Add", [this] { Add(); });
    button("&Insert...", "Insert", [this] { InsertBeforeSelected(); });
    button("&Edit...", "Edit", [this] { EditSelected(); });
    button("&Remove", "Remove", [this] { RemoveSelected(QApplication::keyboardModifiers()); });
    button("Move &Up", "MoveUp", [this] { MoveSelected(-1); });
    button("Move &Down", "MoveDown", [this] { MoveSelected(1); });
    auto* options = new QFormLayout;
    options->addRow("Blending", Blending);
    options->addRow("Gamma", GammaEdit);
    side->addLayout(options);
    button("&Load...", "Load", [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Load Color List");
        if (!path.isEmpty())
            LoadFrom(path);
    });
    button("&Save...", "Save", [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save Color List");
        if (!path.isEmpty())
            SaveTo(path);
    });
    button("&Terrain...", "Terrain", [this] { AskTerrainRamp(); });
    side->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ColorListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColorListDialog::reject);
    side->addWidget(buttons);

    auto* left = new QVBoxLayout;
    left->addWidget(Entries, 1);
    left->addWidget(Strip);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);
    Changed(0);
}

int ColorListDialog::SelectedRow() const {
    const QModelIndex at = Entries->currentIndex();
    return at.isValid() ? at.row() : -1;
}

void ColorListDialog::SelectRow(int row) {
    if (row >= 0 && row < Entries->topLevelItemCount())
        Entries->setCurrentItem(Entries->topLevelItem(row));
}

void ColorListDialog::Changed(int row) {
    Entries->clear();
    const int n = Edited.Count();
    for (int i = 0; i < n; ++i) {
        const PackedColor c = Edited.Entry(i);
        const double value = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        auto* item = new QTreeWidgetItem(
            {QString::number(c & 0xFF), QString::number((c >> 8) & 0xFF),
             QString::number((c >> 16) & 0xFF), QString::asprintf("%0.4f", value)});
        Entries->addTopLevelItem(item);
    }
    SelectRow(std::min(row, n - 1));
    Strip->update();
}

std::optional<PackedColor> ColorListDialog::ChooseColor(PackedColor seed) {
    QColorDialog chooser(ToQColor(seed), this);
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    Edited.LastColor = ToPacked(chooser.selectedColor());
    return Edited.LastColor;
}

void ColorListDialog::Add() {
    if (const auto color = ChooseColor(Edited.LastColor)) {
        Edited.Append(*color);
        Changed(Edited.Count() - 1);
    }
}

void ColorListDialog::InsertBeforeSelected() {
    // With nothing selected the colour goes first.
    const int row = std::max(SelectedRow(), 0);
    if (const auto color = ChooseColor(Edited.LastColor)) {
        Edited.Insert(row, *color);
        Changed(row);
    }
}

void ColorListDialog::EditSelected() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (const auto color = ChooseColor(Edited.Entry(row))) {
        Edited.Replace(row, *color);
        Changed(row);
    }
}

void ColorListDialog::RemoveSelected(Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        if (QMessageBox::question(this, windowTitle(), "Remove all entries?",
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            Edited.Clear();
            Changed(0);
        }
        return;
    }
    const int row = SelectedRow();
    if (row < 0)
        return;
    Edited.Remove(row);
    Changed(row);
}

void ColorListDialog::MoveSelected(int step) {
    const int row = SelectedRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= Edited.Count())
        return;
    std::swap(Edited.Entries[static_cast<size_t>(row)], Edited.Entries[static_cast<size_t>(to)]);
    Changed(to);
}

void ColorListDialog::ApplyTypedGamma() {
    bool number = false;
    const double g = GammaEdit->text().trimmed().toDouble(&number);
    if (number)
        Edited.Gamma = ListGammaFromShown(g);
    GammaEdit->setText(QString::asprintf("%f", 1.0 / Edited.Gamma));
    Strip->update();
}

void ColorListDialog::AskTerrainRamp() {
    if (!AskTerrainRampParameters(LastTerrainRamp, this))
        return;
    Edited.FillTerrainRamp(LastTerrainRamp.Start, LastTerrainRamp.End, LastTerrainRamp.Entries);
    Changed(0);
}

bool ColorListDialog::LoadFrom(const QString& path) {
    std::string message;
    if (ReadColorListFile(path.toStdString(), Ws, Edited, message) != 0) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
        return false;
    }
    Blending->setCurrentIndex(std::min(Edited.Mode, 2));
    GammaEdit->setText(QString::asprintf("%f", 1.0 / Edited.Gamma));
    Changed(0);
    return true;
}

bool ColorListDialog::SaveTo(const QString& path) {
    std::string message;
    if (WriteColorListFile(path.toStdString(), Edited, message) != 0) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
        return false;
    }
    return true;
}

void ColorListDialog::accept() {
    ApplyTypedGamma();
    QDialog::accept();
}

void ColorListDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert)
        InsertBeforeSelected();
    else if (event->key() == Qt::Key_Delete)
        RemoveSelected(event->modifiers());
    else
        QDialog::keyPressEvent(event);
}

} // namespace korvel
