#pragma once
// The controls ask for fonts by their Windows names ("MS Sans Serif", "Tahoma"). Where a
// name is missing, fontconfig's default pick is wider than the original, and fixed-width
// captions get clipped; these substitutes keep the original widths closer.
namespace quarrix {

// Registers the substitutes with the toolkit; call once after the application object
// exists. Fonts that are installed under their own names are not affected.
void InstallFontSubstitutes();

}  // namespace quarrix
