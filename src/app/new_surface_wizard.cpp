#include "app/new_surface_wizard.h"

#include "core/workspace.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QWizardPage>

namespace korvel {

NewSurfaceWizard::NewSurfaceWizard(const SurfaceSizeFields& size, const SurfaceEdgeFields& edges,
                                   QWidget* parent)
    : QWizard(parent), NewSize(size), NewEdges(edges) {
    setWindowTitle("New File");
    // The same look on every platform, and Finish only on the last page.
    setWizardStyle(QWizard::ClassicStyle);

    auto* sizePage = new QWizardPage(this);
    sizePage->setTitle("Surface Size");
    auto* sizeForm = new QFormLayout(sizePage);
    // The width is rounded down to a multiple of 4 and must stay above 0; a Surface is smaller
    // than SizeLimit either way.
    Width = new QSpinBox(sizePage);
    Width->setObjectName("Width");
    Width->setRange(4, Surface::SizeLimit - 1);
    Width->setValue(size.Width);
    Height = new QSpinBox(sizePage);
    Height->setObjectName("Height");
    Height->setRange(1, Surface::SizeLimit - 1);
    Height->setValue(size.Height);
    sizeForm->addRow("Width", Width);
    sizeForm->addRow("Height", Height);
    addPage(sizePage);

    auto* edgesPage = new QWizardPage(this);
    edgesPage->setTitle("Surface Edges");
    auto* edgesForm = new QFormLayout(edgesPage);
    edgesForm->addRow("Top", EdgeFields.Number("Top", NewEdges.Top, "Top", edgesPage));
    edgesForm->addRow("Left", EdgeFields.Number("Left", NewEdges.Left, "Left", edgesPage));
    edgesForm->addRow("Right", EdgeFields.Number("Right", NewEdges.Right, "Right", edgesPage));
    edgesForm->addRow("Bottom", EdgeFields.Number("Bottom", NewEdges.Bottom, "Bottom", edgesPage));
    EdgesPage = addPage(edgesPage);
}

bool NewSurfaceWizard::validateCurrentPage() {
    if (currentId() == EdgesPage && !EdgeFields.Store(this))
        return false;
    NewSize = {Width->value(), Height->value()};
    return QWizard::validateCurrentPage();
}

bool RunNewSurfaceWizard(Workspace& ws, QWidget* parent) {
    NewSurfaceWizard wizard(ws.NewSize, ws.NewEdges, parent);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    ws.NewSize = wizard.Size();
    ws.NewEdges = wizard.Edges();
    return true;
}

} // namespace korvel
