// The plug-in's version, written once: the version resource, the about box and the
// distribution archive all take it from here.
#pragma once
#define CURSORWAKE_VERSION_TEXT "0.1.0.8"
#define CURSORWAKE_VERSION_NUMBERS 0, 1, 0, 8
