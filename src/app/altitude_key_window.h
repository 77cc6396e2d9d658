#pragma once
// The modeless "Altitude Key" window: a band of the display palette's colours from the top of
// the altitude range down to its bottom, the elevations beside it, and Close.

#include <QDialog>

class QLabel;

namespace korvel {

class Workspace;

class AltitudeKeyWindow : public QDialog {
    Q_OBJECT

public:
    AltitudeKeyWindow(const Workspace& ws, QWidget* parent);

    // Paints the band and the labels for the Surface and lighting as they are now.
    void Repaint();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const Workspace& Ws;
    QLabel* Band;
    QLabel* Labels;
};

} // namespace korvel
