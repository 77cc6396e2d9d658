#pragma once
// Opening and saving through the file type table: a type chosen by the person, or the one the
// name's extension finds.

#include "core/status.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

// Reading codes besides the readers' own.
enum DispatchStatus : int32_t {
    DispatchNoExtension = -100,
    DispatchUnknownExtension = -101,
    DispatchNotReadable = -102, // the type is one that is only written
    DispatchMuseFailed = -103,
    DispatchDtedFailed = -104,
    DispatchDefinitionFailed = -105,
    DispatchMuseCancelled = -106, // the read-information dialog of MUSE DTED
    DispatchDtedCancelled = -107, // the read-information dialog of DTED cells
    DispatchNoDefinition = -108,  // a definition file holds no block of its kind
    DispatchNoReader = -110,      // the type code is outside the table or has no reader entry
};
extern const StatusTable DispatchTexts;

// Surfaces read are shaded into the TextureMap; surfaces and pictures read successfully go to
// the recent-file list. refresh asks for the view to be redrawn afterwards. reason, when given,
// receives why a read failed.
int32_t ReadFileByType(Workspace& ws, const std::string& path, bool refresh, int32_t type = -1,
                       std::string* reason = nullptr);
// What the Open command shows for a reading code, on one line: the documented text where there
// is one, with the reason ReadFileByType gave; empty for 0. type as given to ReadFileByType.
std::string OpenFailureMessage(int32_t code, const std::string& path, int32_t type = -1,
                               const std::string& reason = std::string());

// Writes the Surface or the TextureMap as type (negative: from the extension). 0 when written;
// otherwise the writer's code with message set to what the person is shown, one line naming the
// file and the reason (it may stay empty: an extension the table does not know, under "All
// Files", fails without one).
int32_t WriteFileByType(Workspace& ws, const std::string& path, int32_t type, std::string& message);

// What the operations that save picture sequences are handed: WriteFileByType with the type
// from the name's extension.
std::function<int32_t(const std::string& path, std::string& message)>
PictureSaverFor(Workspace& ws);

// A tile written by the texture batch, and the input it came from.
struct TextureTile {
    std::string Name;
    std::string Input;
};

// Two inputs of one batch whose corners give the same tile name.
constexpr int32_t TextureTileClash = -120;

// The batch of the "M&ONSYS Textures..." command: each file is read; a ".dem" file is also
// written as ".dte"; then the picture is written as the tile name of the map's corner and added
// to tiles. Stops at the first failing read or write, or at a tile this batch has already
// written (TextureTileClash), and returns its code; message says what failed.
int32_t RunTextureBatch(Workspace& ws, const std::vector<std::string>& paths, std::string& message,
                        std::vector<TextureTile>& tiles);
// "w120n45.bmp" for a left edge of -120.5 and a bottom edge of 45.2.
std::string TextureTileName(double left, double bottom);

} // namespace korvel
