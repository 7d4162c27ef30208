#pragma once

// The program names its Japanese faces by their Windows names; fontconfig here knows only the
// IPA faces, so the Windows names are mapped onto them once at start-up.
namespace JapaneseFonts {

void registerSubstitutions();

} // namespace JapaneseFonts
