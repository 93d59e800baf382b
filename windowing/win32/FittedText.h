#pragma once

#include "windowing/CaptionFit.h"
#include "windowing/win32/Window.h"

#include <string>

namespace q7n::win32 {

// Sets Text in the font selected into Context as Fit says, at At when given, and answers its size.
// GDI places letters on whole pixels: the spacing is spread over them, each letter ending where
// its share of it rounds to. The condensing squeezes the world about the caption's left edge.
SIZE SetFittedText(HDC Context, const std::wstring& Text, const TCaptionFit& Fit,
                   const POINT* At = nullptr);

// The least change that brings Text, in the font selected into Context, within Room pixels.
TCaptionFit FitText(HDC Context, const std::wstring& Text, int Room);

// Gives a label the size of its text, at least its given height, keeping its place: a fallback
// face for a font the system lacks must not cut a caption off.
void SizeToText(TWindow Label, SIZE Size);

} // namespace q7n::win32
