#pragma once

// The windows name the fonts they were drawn with; these map them onto fonts a Linux desktop has,
// choosing narrow faces where a caption must fit a fixed box.
void installFontSubstitutes();
