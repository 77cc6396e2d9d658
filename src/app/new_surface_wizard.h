#pragma once
// "New File": the two-page wizard of "&New...", "Surface Size" and then "Surface Edges",
// filled from the current Surface.

#include "app/bound_fields.h"
#include "core/dialog_fields.h"

#include <QWizard>

class QSpinBox;

namespace korvel {

class Workspace;

class NewSurfaceWizard : public QWizard {
    Q_OBJECT
public:
    NewSurfaceWizard(const SurfaceSizeFields& size, const SurfaceEdgeFields& edges,
                     QWidget* parent);

    const SurfaceSizeFields& Size() const { return NewSize; }
    const SurfaceEdgeFields& Edges() const { return NewEdges; }

    // The edges page takes its numbers here, so that Finish with a bad one stays open.
    bool validateCurrentPage() override;

private:
    SurfaceSizeFields NewSize;
    SurfaceEdgeFields NewEdges;
    BoundFields EdgeFields;
    QSpinBox* Width;
    QSpinBox* Height;
    int EdgesPage = -1;
};

// Runs the wizard over the new-surface fields the command filled; on Finish they hold the
// size and edges. True when finished.
bool RunNewSurfaceWizard(Workspace& ws, QWidget* parent);

} // namespace korvel
