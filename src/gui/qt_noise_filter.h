#pragma once

class QString;

namespace quort {

// Qt says two things on every run without a display that tell the user nothing: that
// XDG_RUNTIME_DIR is not set (it then uses a directory of its own) and that the offscreen
// platform cannot pass size hints on. Every other message is written to standard error as
// Qt writes it, so real warnings still show.
void installQtNoiseFilter();

// Whether a Qt message is one of those.
bool isQtNoise(const QString& message);

}  // namespace quort
