#pragma once
// "Lighting Definition" files (.lgt): a LightParms block as text.

#include "generate/block_values.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Loads the file's LightParms block into the Surface's lighting record; the caller recomputes
// the TextureMap. 0 (also when the file has no such block), -105 when the file cannot be read
// or a block has no end; message is then set and the fields read so far stay changed.
int32_t ReadLightingDefinitionFile(const std::string& path, Workspace& ws, std::string& message);
// 0, or -2 when the file cannot be written (message set; the old file is kept). RoundTrip
// digits let a reader restore the record exactly (the autosave).
int32_t WriteLightingDefinitionFile(const std::string& path, Workspace& ws, std::string& message,
                                    RealDigits digits = RealDigits::Five);

} // namespace korvel
