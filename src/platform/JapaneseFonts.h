#pragma once

#include <QFont>

// The program names its Japanese faces by their Windows names; fontconfig here knows only the
// IPA faces, so the Windows names are mapped onto them once at start-up.
namespace JapaneseFonts {

void registerSubstitutions();

// The face of a Windows name, asked for by the IPA name it maps to: asked for by the Windows
// name, Qt first misses it and searches fontconfig's whole fallback list before taking the
// substitute, for every size and script.
QFont face(const QString& windowsName);

} // namespace JapaneseFonts
