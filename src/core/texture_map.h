#pragma once
// The TextureMap of a Surface and whether it still shows the Surface. Computing it costs as much
// as most edits, so an edit only marks it stale and the shading layer computes it when something
// reads it: read and draw through shading/texture.h (CurrentTexture, TextureToDrawOn), never
// through AsIs, and no stale picture is seen.

#include "core/image.h"

#include <cstdint>
#include <utility>

namespace korvel {

class TextureMap {
public:
    bool Stale() const { return IsStale; }
    // The elevations or the lighting changed: the next reader computes the picture again.
    void MarkStale() { IsStale = true; }
    // Computed, or drawn on after it was brought up to date: the pixels are the picture.
    void MarkFresh() { IsStale = false; }

    // The pixels as they stand, stale or not: for the computation that brings them up to date and
    // for those that replace or draw on them right after it.
    Image& AsIs() { return Picture; }
    const Image& AsIs() const { return Picture; }

    // A blank picture, stale until computed; the Image::Create code.
    int32_t Create(int32_t width, int32_t height, int32_t bitsPerPixel) {
        IsStale = true;
        return Picture.Create(width, height, bitsPerPixel);
    }
    void Release() {
        IsStale = true;
        Picture.Release();
    }
    void Adopt(Image&& blank) {
        IsStale = true;
        Picture = std::move(blank);
    }
    // Takes other's state; a stale picture's pixels are left behind, since they show nothing.
    // 0, or the Image::Create code when a picture of other's shape could not be had.
    int32_t CopyFrom(const TextureMap& other) {
        IsStale = other.IsStale;
        if (IsStale || Picture.CopyPixelsFrom(other.Picture) || other.Picture.IsEmpty())
            return 0;
        // The source picture may have been re-created at the other depth.
        const Image& from = other.Picture;
        if (const int32_t code = Picture.Create(from.Width(), from.Height(), from.BitsPerPixel());
            code != 0)
            return code;
        Picture.CopyPixelsFrom(from);
        return 0;
    }

private:
    Image Picture;
    bool IsStale = true;
};

} // namespace korvel
