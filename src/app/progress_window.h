#pragma once
// The window a long operation shows: its label, a bar with the percentage and Cancel. Escape and
// Cancel both ask the operation to stop; the window stays until the operation ends.

#include <QDialog>

#include <atomic>
#include <cstdint>

class QLabel;
class QProgressBar;

namespace korvel {

class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    ProgressWindow(const QString& operation, std::atomic<int32_t>& cancelFlag, QWidget* parent);

    void SetPosition(int percent);
    void SetPercentText(const QString& text);
    QString Operation() const;
    bool Cancelled() const { return WasCancelled; }

public slots:
    // Escape and the Cancel button: the operation stops at its next row, not the window.
    void reject() override;

private:
    std::atomic<int32_t>& CancelFlag;
    QLabel* OperationLabel;
    QProgressBar* Bar;
    QLabel* Percent;
    bool WasCancelled = false;
};

} // namespace korvel
