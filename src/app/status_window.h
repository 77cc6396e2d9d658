#pragma once
// The modeless window that follows a run of many steps (the journey's frame counter and the
// values of the frame) with a Stop button; the run asks it whether Stop was pressed.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;

namespace korvel {

class StatusWindow : public QDialog {
    Q_OBJECT

public:
    StatusWindow(const QString& title, QWidget* parent);

    void SetLines(const std::vector<std::string>& lines);
    QString Text() const;
    bool Stopped() const { return WasStopped; }

public slots:
    // Stop, Escape and closing the window all ask the run to stop; the run closes the window.
    void reject() override;

private:
    QLabel* Lines;
    bool WasStopped = false;
};

} // namespace korvel
