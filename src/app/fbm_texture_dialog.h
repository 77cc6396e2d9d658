#pragma once
// "fBm Latitude Texture": the noise that roughens the latitude colours, opened by the Latitude
// page's "Setup...".

#include "core/frac_parms.h"

class QWidget;

namespace korvel {

// Edits a copy of params and writes it back on OK; true when accepted.
bool EditFbmTexture(FracParms& params, QWidget* parent);

} // namespace korvel
