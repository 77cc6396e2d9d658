#pragma once
// "Convolution Kernel": the weights of the program-wide kernel in a 7 x 7 grid, its symmetry
// (an entry aid), size and scale, read from and written to .krn files. The dialog edits a copy;
// OK hands it back, Cancel leaves the kernel as it was.

#include "core/kernel.h"

#include <QDialog>

#include <array>
#include <string>

class QComboBox;
class QLineEdit;

namespace korvel {

class Workspace;

class KernelDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int Side = 7;

    KernelDialog(const Kernel& kernel, QWidget* parent);

    // The kernel as the fields show it.
    const Kernel& Edited() const { return Working; }
    // "&Load..." and "&Save..." once a file is chosen; false after saying why it failed.
    bool LoadFile(const QString& path);
    bool SaveFile(const QString& path);
    // "Set &Unit" with its choice: 0 Blur, 1 Highpass, 2 Unit.
    void SetUnit(int choice);

public slots:
    // Hands the kernel back when every field is a number.
    void accept() override;

private:
    // The typed weights and scale into the copy; false (after saying which) when one is not a
    // number.
    bool ReadFields();
    void ShowKernel();
    void ChooseSize(int index);
    void Mirror(int i, int j);

    Kernel Working;
    std::array<std::array<QLineEdit*, Side>, Side> Cells{};
    QComboBox* Symmetry;
    QComboBox* Size;
    QLineEdit* Scale;
    QComboBox* UnitKind;
};

// The .krn text of kernel when a kernel file holds it exactly (size, symmetry, scale and weights
// read back bit for bit); false when the file's six decimals would change it.
bool ExactKernelFileText(const Kernel& kernel, std::string& text);

// Runs the dialog over ws.GeneralKernel; true when OK stored the edited kernel.
bool RunKernelDialog(Workspace& ws, QWidget* parent);

} // namespace korvel
