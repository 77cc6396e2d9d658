#include "app/kernel_dialog.h"

#include "app/kernel_symmetry.h"
#include "core/workspace.h"
#include "formats/krn.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr const char* KernelFilter = "Kernel Files (*.krn);;All Files (*)";

QString Number(float v) {
    // The fewest digits that read back as the same float: 0.1 stays 0.1, 1/9 keeps nine.
    QString text;
    for (int digits = 6; digits <= 9; ++digits) {
        text = QString::number(static_cast<double>(v), 'g', digits);
        if (text.toFloat() == v)
            break;
    }
    return text;
}

bool ParseFloat(const QString& text, float& out) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return false;
    out = static_cast<float>(v);
    return true;
}

QPushButton* Button(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

KernelDialog::KernelDialog(const Kernel& kernel, QWidget* parent)
    : QDialog(parent), Working(kernel), Symmetry(new QComboBox(this)), Size(new QComboBox(this)),
      Scale(new QLineEdit(this)), UnitKind(new QComboBox(this)) {
    setWindowTitle("Convolution Kernel");
    auto* grid = new QGridLayout;
    for (int k = 0; k < Side; ++k) {
        grid->addWidget(new QLabel(QString("i%1").arg(k), this), k + 1, 0);
        grid->addWidget(new QLabel(QString("j%1").arg(k), this), 0, k + 1, Qt::AlignHCenter);
    }
    for (int i = 0; i < Side; ++i)
        for (int j = 0; j < Side; ++j) {
            auto* cell = new QLineEdit(this);
            cell->setObjectName(QString("w%1%2").arg(i).arg(j));
            cell->setFixedWidth(64);
            connect(cell, &QLineEdit::textEdited, this, [this, i, j] { Mirror(i, j); });
            Cells[i][j] = cell;
            grid->addWidget(cell, i + 1, j + 1);
        }

    Symmetry->setObjectName("symmetry");
    Symmetry->addItems({"None", "Horizontal", "Vertical", "4-way", "8-way"});
    connect(Symmetry, &QComboBox::activated, this, [this](int index) { Working.Symmetry = index; });
    Size->setObjectName("size");
    connect(Size, &QComboBox::activated, this, &KernelDialog::ChooseSize);
    Scale->setObjectName("scale");
    UnitKind->setObjectName("unitKind");
    UnitKind->addItems({"Blur", "Highpass", "Unit"});

    auto* options = new QFormLayout;
    options->addRow("Sy&mmetry", Symmetry);
    options->addRow("Si&ze", Size);
    options->addRow("S&cale", Scale);

    auto* load = Button("&Load...", this);
    auto* save = Button("&Save...", this);
    auto* clear = Button("&Clear", this);
    auto* unit = Button("Set &Unit", this);
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Load Kernel", {}, KernelFilter);
        if (!path.isEmpty())
            LoadFile(path);
    });
    connect(save, &QPushButton::clicked, this, [this] {
        if (!ReadFields())
            return;
        QFileDialog chooser(this, "Save Kernel", {}, KernelFilter);
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        chooser.setDefaultSuffix("krn");
        if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
            SaveFile(chooser.selectedFiles().first());
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        Working.ClearBlock();
        ShowKernel();
    });
    connect(unit, &QPushButton::clicked, this, [this] { SetUnit(UnitKind->currentIndex()); });
    auto* files = new QHBoxLayout;
    for (QPushButton* b : {load, save, clear})
        files->addWidget(b);
    files->addStretch(1);
    files->addWidget(unit);
    files->addWidget(UnitKind);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &KernelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &KernelDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addLayout(files);
    layout->addWidget(buttons);
    ShowKernel();
}

void KernelDialog::ShowKernel() {
    const int n = Working.Size();
    for (int i = 0; i < Side; ++i)
        for (int j = 0; j < Side; ++j) {
            const bool inBlock = i < n && j < n;
            Cells[i][j]->setEnabled(inBlock);
            Cells[i][j]->setText(inBlock ? Number(Working.Weight(i, j)) : QString());
        }
    Size->clear();
    Size->addItems({"3 sample", "5 sample", "7 sample"});
    // A kernel read by korvel-cli may be of another size; it is offered as it is.
    if (n != 3 && n != 5 && n != 7)
        Size->addItem(QString("%1 sample").arg(n));
    Size->setCurrentIndex(n == 3 ? 0 : n == 5 ? 1 : n == 7 ? 2 : 3);
    Symmetry->setCurrentIndex(std::clamp(Working.Symmetry, 0, 4));
    Scale->setText(Number(Working.Scale));
}

void KernelDialog::ChooseSize(int index) {
    const int size = Size->itemText(index).section(' ', 0, 0).toInt();
    if (size == Working.Size())
        return;
    float scale = Working.Scale;
    ParseFloat(Scale->text(), scale);
    // A new size starts from the identity kernel, as the kernel itself does.
    Working.SetSize(size, scale, Working.Symmetry, Working.Mode);
    ShowKernel();
}

void KernelDialog::Mirror(int i, int j) {
    const int n = std::min(Working.Size(), Side);
    if (i >= n || j >= n)
        return;
    const QString text = Cells[i][j]->text();
    for (const auto& [r, c] : MirroredCells(i, j, n, Working.Symmetry))
        if (r != i || c != j)
            Cells[r][c]->setText(text);
}

bool KernelDialog::ReadFields() {
    Kernel read = Working;
    const int n = std::min(Working.Size(), Side);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            float w = 0.0f;
            if (!ParseFloat(Cells[i][j]->text(), w)) {
                QMessageBox::warning(this, "Convolution Kernel",
                                     QString("The weight at i%1, j%2, \"%3\", is not a number")
                                         .arg(i)
                                         .arg(j)
                                         .arg(Cells[i][j]->text()));
                Cells[i][j]->setFocus();
                return false;
            }
            read.SetWeight(i, j, w);
        }
    if (!ParseFloat(Scale->text(), read.Scale)) {
        QMessageBox::warning(this, "Convolution Kernel",
                             QString("Scale: \"%1\" is not a number").arg(Scale->text()));
        Scale->setFocus();
        return false;
    }
    Working = read;
    return true;
}

bool KernelDialog::LoadFile(const QString& path) {
    const int32_t code = LoadKernelFile(Working, path.toStdString());
    if (code != 0) {
        QMessageBox::warning(
            this, "Convolution Kernel",
            QString("Cannot load the kernel from \"%1\": %2")
                .arg(path, QString::fromStdString(DescribeStatus(KernelFileTexts, code))));
        return false;
    }
    ShowKernel();
    return true;
}

bool KernelDialog::SaveFile(const QString& path) {
    if (!ReadFields())
        return false;
    const int32_t code = SaveKernelFile(Working, path.toStdString());
    if (code != 0) {
        QMessageBox::warning(
            this, "Convolution Kernel",
            QString("Cannot save the kernel to \"%1\": %2")
                .arg(path, QString::fromStdString(DescribeStatus(KernelFileTexts, code))));
        return false;
    }
    return true;
}

void KernelDialog::SetUnit(int choice) {
    if (choice == 2) {
        // The weights stay; the scale makes them sum to 1.
        if (!ReadFields())
            return;
        Working.Scale = Working.UnitScale();
    } else if (choice == 1) {
        Working.MakeSharpen();
    } else {
        Working.MakeBox();
    }
    ShowKernel();
}

void KernelDialog::accept() {
    if (ReadFields())
        QDialog::accept();
}

bool ExactKernelFileText(const Kernel& kernel, std::string& text) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("kernel.krn").toStdString();
    Kernel back;
    if (!dir.isValid() || SaveKernelFile(kernel, path) != 0 || LoadKernelFile(back, path) != 0)
        return false;
    if (back.Size() != kernel.Size() || back.Scale != kernel.Scale ||
        back.Symmetry != kernel.Symmetry)
        return false;
    for (int32_t i = 0; i < kernel.Size(); ++i)
        for (int32_t j = 0; j < kernel.Size(); ++j)
            if (back.Weight(i, j) != kernel.Weight(i, j))
                return false;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = file.readAll().toStdString();
    return true;
}

bool RunKernelDialog(Workspace& ws, QWidget* parent) {
    KernelDialog dialog(ws.GeneralKernel, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ws.GeneralKernel = dialog.Edited();
    return true;
}

} // namespace korvel
