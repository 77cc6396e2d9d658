#pragma once
// "&Brush Wizard...": a five-page wizard with a preview strip. It is a frame only: finishing or
// cancelling it changes no brush (the brush is edited in "Brush Setup").
#include <QWidget>
#include <QWizard>

namespace korvel {

// The preview in the strip beside the pages: a blue ellipse filling it.
class BrushPreview : public QWidget {
    Q_OBJECT
public:
    explicit BrushPreview(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class BrushWizard : public QWizard {
    Q_OBJECT
public:
    // The width the preview strip adds to the sheet.
    static constexpr int PreviewWidth = 100;
    explicit BrushWizard(QWidget* parent = nullptr);
};

// Runs the wizard modally.
void RunBrushWizard(QWidget* parent);

} // namespace korvel
