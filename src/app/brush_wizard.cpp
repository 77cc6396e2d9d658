#include "app/brush_wizard.h"

#include <QPainter>
#include <QWizardPage>

namespace korvel {

BrushPreview::BrushPreview(QWidget* parent) : QWidget(parent) {
    setFixedWidth(BrushWizard::PreviewWidth);
}

void BrushPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QPen(QColor(0, 0, 255)));
    p.drawEllipse(rect().adjusted(0, 0, -1, -1));
}

BrushWizard::BrushWizard(QWidget* parent) : QWizard(parent) {
    setWindowTitle("Brush Wizard");
    for (const char* title : {"General", "Kernel", "Simple Shape", "Advanced Shape", "Apply"}) {
        auto* page = new QWizardPage(this);
        page->setTitle(title);
        addPage(page);
    }
    setSideWidget(new BrushPreview(this));
}

void RunBrushWizard(QWidget* parent) {
    BrushWizard wizard(parent);
    wizard.exec();
}

} // namespace korvel
